// The playback loop that builds the mosaic, frame by frame, pass after pass.
#include "show/play_frames_win32.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "scratch/frame_route_win32.h"
#include "video/open_video_win32.h"
#include "platform/message_box_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/text_win32.h"
#include "show/frame_pass.h"
#include "show/frames_ahead_win32.h"

namespace kineloop {

namespace {

// A stretch of time without a shown frame (refused frames, an empty pass) still pauses at least
// this long and lets the window system run, so the show can always be ended and stays idle.
constexpr DWORD kIdlePauseMs = 10;
constexpr ULONGLONG kLongestWithoutYieldMs = 50;

// The tile size, kept within the screen: a larger tile is cut at the screen's edge anyway, and
// the clipped stretch gives the same visible pixels.
TileShape ShapeOf(const ShowSession& s) {
    RECT screen{};
    GetClientRect(s.display, &screen);
    return {s.settings.Pic_Width, s.settings.Pic_Height, screen.right, screen.bottom};
}

// Takes the stretched frame through the scratch file and puts the picture into Pic_S.
FrameRoute::Result TakeIntoPicS(ShowSession& s, FrameRoute& route, const StretchedFrame& frame) {
    const FrameRoute::Result result = route.Pass(frame);
    // Otherwise Pic_S keeps the previous picture, which is drawn again.
    if (result == FrameRoute::Result::kReadBack) {
        const Picture& picture = *route.LastPicture();
        if (s.picS.Resize(picture.header.biWidth, std::abs(picture.header.biHeight)))
            route.DrawLast(s.picS.Dc(), 0, 0);
    }
    return result;
}

DWORD PauseOf(const SaverSettings& settings) {
    return settings.Fast > 0 ? static_cast<DWORD>(settings.Fast) : 0;
}

}  // namespace

void PlaceTile(ShowSession& s) {
    const int16_t width = s.settings.Pic_Width, height = s.settings.Pic_Height;
    if (s.picS.Ready()) {
        // The persistent image keeps the tile for repaints; the screen gets the same tile
        // straight away, without a round trip through WM_PAINT.
        BitBlt(s.displayImage.Dc(), s.tile.TileX, s.tile.TileY, width, height, s.picS.Dc(), 0, 0,
               SRCCOPY);
        if (s.displayDc.Get()) {
            BitBlt(s.displayDc.Get(), s.tile.TileX, s.tile.TileY, width, height, s.picS.Dc(), 0, 0,
                   SRCCOPY);
        }
    }
    const ScreenRect area = s.gridArea.Empty()
                                ? ScreenRect{0, 0, s.displayImage.Width(), s.displayImage.Height()}
                                : s.gridArea;
    s.tile = NextTileOn(area, s.grid, s.tile, width, height);
}

// Opens the show's video on the video thread, where a click or key ends the show meanwhile. Null,
// with the file reported once, when it cannot show a frame.
std::unique_ptr<FrameSource> OpenForShow(ShowSession& s) {
    std::unique_ptr<FrameSource> source =
        OpenFrameSource(Widen(s.settings.AVI_File), WaitStyle::AllMessages);
    s.StreamStart = source->FirstFrame();
    s.StreamLength = source->FrameCount();
    bool report = false;
    if (!source->OpenedFully())
        report = source->Close();
    // A stream of no frames (or none the platform can count, as an MPEG-1 elementary stream
    // under Wine) can never show one either: a black screen would say nothing.
    else if (!source->HasDecoder() || source->FrameCount() < 1)
        report = (source->Close(), true);
    else
        return source;
    if (report)
        ShowInfoMessage(UnreadableVideoMessage(source->Path()), s.window);
    return nullptr;
}

void PlayFrames(ShowSession& s, uint64_t stopAfterFrames) {
    // Set before the open, which lets input run: a stop asked for meanwhile holds at the first
    // yield.
    s.KeepPlaying = true;
    std::unique_ptr<FrameSource> source = OpenForShow(s);
    if (!source)
        return;
    // A video that can never show a frame is reported as one that cannot be opened, once, and
    // the screen stays black until a click or key (the window's own message loop is idle).
    auto reportUnshowable = [&] {
        source->Close();
        ShowInfoMessage(UnreadableVideoMessage(source->Path()), s.window);
    };

    FrameRoute route;
    auto ahead = std::make_unique<FramesAhead>(*source);
    uint64_t shown = 0;
    ULONGLONG lastYield = GetTickCount64();
    const DWORD idlePause = std::max(PauseOf(s.settings), kIdlePauseMs);

    for (;;) {
        if (source->GivenUp()) {
            // Stuck in the platform: the next pass opens the file afresh, and the tiles shown
            // stay. Where that fails too, the file is reported and the mosaic stays as it is.
            ahead.reset();
            source = OpenForShow(s);
            if (!source)
                return;
            ahead = std::make_unique<FramesAhead>(*source);
        }
        FramePass pass(s.StreamStart, s.StreamLength, s.settings.Flame_Skip);
        bool shownInPass = false;
        // Frames of this pass that were read, and those the reader or the copy refused (a frame
        // that no scratch place took is neither: the video is not at fault).
        uint64_t readInPass = 0, refusedInPass = 0;
        int32_t number = 0;
        while (pass.Next(number)) {
            ++readInPass;
            // The video thread reads and stretches the frames that follow while this one goes
            // through the scratch file, onto the screen and through the pause.
            const StretchedFrame& frame = ahead->Take(
                number, ShapeOf(s),
                FrameSequence(pass, s.StreamStart, s.StreamLength, s.settings.Flame_Skip));
            const FrameRoute::Result result = TakeIntoPicS(s, route, frame);
            ahead->Release();
            if (source->GivenUp())
                break;
            const bool taken = result != FrameRoute::Result::kRefused;
            if (!taken)
                ++refusedInPass;
            if (!taken || result == FrameRoute::Result::kNoPlace) {
                if (GetTickCount64() - lastYield >= kLongestWithoutYieldMs) {
                    PauseWhile(s.KeepPlaying, idlePause);
                    lastYield = GetTickCount64();
                    if (!s.KeepPlaying)
                        return;
                }
                continue;
            }
            PlaceTile(s);
            shownInPass = true;
            ++shown;
            if (stopAfterFrames != 0 && shown >= stopAfterFrames)
                return;

            PauseWhile(s.KeepPlaying, PauseOf(s.settings));
            lastYield = GetTickCount64();
            if (!s.KeepPlaying)
                return;
        }
        // A whole pass of frames, every one refused, before any frame was shown: the video
        // cannot be shown at all. (A pass that read nothing, by a negative step, says nothing.)
        if (shown == 0 && readInPass > 0 && refusedInPass == readInPass) {
            reportUnshowable();
            return;
        }
        if (!shownInPass) {
            PauseWhile(s.KeepPlaying, idlePause);
            lastYield = GetTickCount64();
            if (!s.KeepPlaying)
                return;
        }
    }
}

}  // namespace kineloop
