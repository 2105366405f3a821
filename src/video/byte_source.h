// Random access to a file's bytes, for the portable checks that look into AVI and MP4 files before
// the platform parses them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kineloop {

// Random access to the bytes of a file.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly `bytes` bytes at `offset`; false when they are not all there.
    virtual bool Read(uint64_t offset, void* into, size_t bytes) = 0;
};

}  // namespace kineloop
