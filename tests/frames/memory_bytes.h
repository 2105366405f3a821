// A file's bytes held in memory, for the native tests of the checks that look into files.
#pragma once

#include <cstring>
#include <string>

#include "video/byte_source.h"

namespace kineloop::test {

class MemoryBytes final : public ByteSource {
  public:
    explicit MemoryBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool Read(uint64_t offset, void* into, size_t bytes) override {
        if (offset > bytes_.size() || bytes > bytes_.size() - offset)
            return false;
        std::memcpy(into, bytes_.data() + offset, bytes);
        return true;
    }

  private:
    std::string bytes_;
};

}  // namespace kineloop::test
