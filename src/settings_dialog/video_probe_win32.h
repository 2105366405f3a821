// Everything the settings dialog learns from a video file in one reading: its numbers, whether a
// frame of it can be shown, the first frame itself, and whether its frames are of few colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings_dialog/dialog_rules.h"

namespace kineloop {

struct VideoProbe {
    VideoFacts facts;
    bool openFailed = false;          // a status call of the opening failed: "Error : " is due
    std::vector<uint8_t> firstFrame;  // the frame as a packed 24-bit bitmap; empty when none came
};

// Opens, reads and closes the file; no reader outlives the call.
VideoProbe ProbeVideo(const std::wstring& path);

}  // namespace kineloop
