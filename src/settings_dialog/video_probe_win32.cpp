// Everything the settings dialog learns from a video file in one reading: its numbers, whether a
// frame of it can be shown, the thumbnail of its first frame, and whether its frames are of few
// colours.
#include "settings_dialog/video_probe_win32.h"

#include <memory>

#include <windows.h>

#include "video/open_video_win32.h"
#include "video/tile_sampler.h"

namespace kineloop {

namespace {

// The thumbnail as the video thread makes it, shared with a read that may be given up on.
struct Thumbnail {
    StretchedFrame picture;
    bool frameCame = false;
};

}  // namespace

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
        const std::optional<ThumbnailBox> box =
            ThumbnailBoxFor(facts.frameWidth, facts.frameHeight);
        const TileShape shape =
            box ? TileShape{box->width, box->height, box->width, box->height} : TileShape{};
        auto made = std::make_shared<Thumbnail>();
        const FrameSource::FrameWork work = [made, shape](const DecodedFrame& frame) {
            made->frameCame =
                frame.sample ? FrameSamplable(frame) : frame.packed != nullptr && frame.bytes > 0;
            made->picture.MakeWith(shape, FrameSamplable(frame),
                                   [&](TileImage& image, int width, int height) {
                                       return SampleFrameToTile(frame, width, height, image);
                                   });
        };
        // Frame 0 is the thumbnail; a stream that starts later may still show its own first.
        bool came = reader.ReadWith(0, work) && made->frameCame;
        if (!came && reader.FirstFrame() > 0)
            came = reader.ReadWith(reader.FirstFrame(), work) && made->frameCame;
        if (came) {
            facts.frameShown = true;
            probe.thumbnail = std::shared_ptr<const StretchedFrame>(made, &made->picture);
            probe.box = box;
        }
    }
    facts.fewColours = facts.informationRead && !facts.hasDecoder && reader.PaletteVideo();
    probe.openFailed = reader.Close();
    SetCursor(pointer);
    return probe;
}

}  // namespace kineloop
