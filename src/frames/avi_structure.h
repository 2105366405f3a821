// A look at an AVI file's chunk layout before the platform parses it. The platform's parser
// (Wine's, at least) reads through a missing stream when the main header declares more streams
// than the header list describes or when a chunk names the stream one past the last, and it
// allocates header chunks and frame indexes at whatever size the file states.
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

// False for a RIFF AVI file whose layout would have the platform read through a missing stream
// or allocate far more than the file holds; true for every other file, including files that are
// no AVI at all, which the platform refuses on its own.
bool AviLayoutIsSafe(ByteSource& file);

}  // namespace kineloop
