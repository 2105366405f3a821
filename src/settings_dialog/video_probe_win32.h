// Everything the settings dialog learns from a video file in one reading: its numbers, whether a
// frame of it can be shown, the thumbnail of its first frame, and whether its frames are of few
// colours.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "scratch/stretched_frame_win32.h"
#include "settings_dialog/dialog_rules.h"

namespace kineloop {

struct VideoProbe {
    VideoFacts facts;
    bool openFailed = false;  // a status call of the opening failed: "Error : " is due
    // The first frame sampled to the thumbnail's size (ThumbnailBoxFor) where it was decoded, the
    // way the show makes its tiles; null when no frame came.
    std::shared_ptr<const StretchedFrame> thumbnail;
    std::optional<ThumbnailBox> box;
};

// Opens, reads and closes the file; no reader outlives the call.
VideoProbe ProbeVideo(const std::wstring& path);

}  // namespace kineloop
