// The boxes of an MP4, MOV or 3GP file as the portable checks read them: one box header at a time
// within the bytes really there, and what the first video track's own boxes say of its pictures.
#pragma once

#include <cstdint>
#include <vector>

#include "video/byte_source.h"

namespace kineloop {

// One box: its four-letter type and where its contents lie in the file.
struct MovieBox {
    char type[4] = {};
    uint64_t bodyStart = 0;  // just past the header (and the 64-bit size, where there is one)
    uint64_t end = 0;        // just past the box
    bool Is(const char* fourLetters) const;
};

// The box whose header starts at `at`, when it lies whole within [at, limit). A size of 0 runs to
// `limit` only where `zeroRunsToLimit` (a file's last top-level box); elsewhere it is refused.
bool ReadMovieBox(ByteSource& file, uint64_t at, uint64_t limit, bool zeroRunsToLimit,
                  MovieBox& box);

// What the first video track's boxes say; every field 0 where they say nothing.
struct MovieFacts {
    bool read = false;      // a movie header was found and walked without a fault
    uint32_t rotation = 0;  // tkhd: the clockwise turn that shows the picture upright (0-270)
    uint32_t aspectWidth = 0, aspectHeight = 0;  // pasp: the shape of one stored pixel
    uint32_t sampleCount = 0;                    // stsz, or stts without it: frames stored
    uint64_t duration = 0;                       // mdhd, in `timescale` units a second
    uint32_t timescale = 0;
    uint32_t sampleDelta = 0;  // stts: every sample's duration in timescale units; 0 when they vary
    bool keyTable = false;  // stss was read: only `keyFrames` are key frames, else every frame is
    std::vector<uint32_t> keyFrames;  // stss: the key frames' numbers from 0, in decoding order
};

// Boxes nested deeper than this, or more boxes than kMostMovieBoxes, make a file's facts unread.
inline constexpr int kMostMovieBoxDepth = 12;
inline constexpr int kMostMovieBoxes = 20000;

// The first video track's facts of an MP4, MOV or 3GP file. Unread (all 0) for any other file and
// for one whose header holds a box that runs past its container, a size of 0 or below 8, boxes
// nested too deep or too many of them: the platform's word alone then counts.
MovieFacts ReadMovieFacts(ByteSource& file);

// The clockwise turn in whole quarters that a tkhd matrix's top-left 2 x 2 part (a b / c d, in
// 16.16 fixed point) describes; 0 for a mirror, a shear or any other angle.
uint32_t RotationOfMatrix(int32_t a, int32_t b, int32_t c, int32_t d);

}  // namespace kineloop
