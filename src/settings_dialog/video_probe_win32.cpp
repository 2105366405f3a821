// Everything the settings dialog learns from a video file in one reading: its numbers, whether a
// frame of it can be shown, the first frame itself, and whether its frames are of few colours.
#include "settings_dialog/video_probe_win32.h"

#include <memory>

#include <windows.h>

#include "video/open_video_win32.h"

namespace kineloop {

VideoProbe ProbeVideo(const std::wstring& path) {
    VideoProbe probe;
    // The dialog paints while it waits but takes no input: the pointer says so. (A disk may
    // take seconds to wake.)
    const HCURSOR pointer = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    // Read on the video thread: the dialog keeps painting whatever the platform does with the file.
    const std::unique_ptr<FrameSource> source = OpenFrameSource(path, WaitStyle::NoInput);
    FrameSource& reader = *source;
    VideoFacts& facts = probe.facts;
    facts.informationRead = reader.OpenedFully();
    facts.hasDecoder = reader.HasDecoder();
    facts.firstFrame = reader.FirstFrame();
    facts.frameCount = reader.FrameCount();
    facts.frameWidth = reader.FrameWidth();
    facts.frameHeight = reader.FrameHeight();
    if (reader.HasDecoder()) {
        // Frame 0 is the thumbnail; a stream that starts later may still show its own first.
        const void* frame = reader.ReadFrame(0);
        if (!frame && reader.FirstFrame() > 0)
            frame = reader.ReadFrame(reader.FirstFrame());
        if (frame && reader.FrameBytes() > 0) {
            const auto* bytes = static_cast<const uint8_t*>(frame);
            probe.firstFrame.assign(bytes, bytes + reader.FrameBytes());
            facts.frameShown = true;
        }
    }
    facts.fewColours = facts.informationRead && !facts.hasDecoder && reader.PaletteVideo();
    probe.openFailed = reader.Close();
    SetCursor(pointer);
    return probe;
}

}  // namespace kineloop
