// Random access to the bytes of a file on disk, for the portable checks that look into files
// before the platform does.
#pragma once

#include <string>

#include "video/byte_source.h"
#include "platform/handles_win32.h"

namespace kineloop {

class FileBytes final : public ByteSource {
  public:
    // Opens `path` for reading, letting others read, write and delete it meanwhile.
    explicit FileBytes(const std::wstring& path);
    bool Opened() const { return static_cast<bool>(file_); }
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, void* into, size_t bytes) override;

  private:
    UniqueHandle file_;
    uint64_t size_ = 0;
};

}  // namespace kineloop
