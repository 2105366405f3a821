// The platform's decoder alone, the limit the show is measured against: the file opened once and
// read in order, frames delivered as the decoder gives them, nothing converted and nothing drawn.
#pragma once

#include <cstdint>
#include <string>

namespace kineloop::bench {

struct Figures {
    uint64_t frames = 0;
    double seconds = 0;     // wall time
    double cpuSeconds = 0;  // of this process, every thread
};

// Reads `frames` frames of `path` (from the start again at its end): an .avi through
// AVIStreamGetFrame in the 24-bit format the show asks for, anything else through the Media
// Foundation Source Reader in the decoder's own layout (NV12 where the stream does not say). False
// when the file cannot be read so.
bool DecodeAlone(const std::wstring& path, uint64_t frames, Figures& figures);

// CPU time of this process, in seconds.
double ProcessCpuSeconds();

}  // namespace kineloop::bench
