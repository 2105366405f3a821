// A look at an AVI file's chunk layout before the platform parses it, to keep from the platform
// the files its parser would crash, hang or allocate gigabytes on.
#pragma once

#include "video/byte_source.h"

namespace kineloop {

// The platform's parser (Wine's, at least) reads through a missing stream when the main header
// declares more streams than the header list describes or a chunk names the stream one past the
// last, stops the program on video of fixed sample size that is not whole samples from 0, hangs
// on index sizes beyond the file, and allocates header chunks and frame indexes at whatever size
// the file states. False for an AVI file that would do any of that; true for every other file,
// including files that are no AVI at all, which the platform refuses on its own.
bool AviLayoutIsSafe(ByteSource& file);

}  // namespace kineloop
