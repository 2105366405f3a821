// Frames per second of ReadFrame alone and of ReadFrame plus the whole snapshot protocol (copy,
// write, load, delete), and with the tile drawn too, at 320 x 240 and 640 x 480, in one run.

// Usage: bench_frames.exe [video...]   (default: the Cinepak benchmark clips of tests/media)
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

#include "bench/bench_clock.h"
#include "frames/avi_frame_reader_win32.h"
#include "frames/snapshot_win32.h"
#include "media/test_media.h"
#include "platform/handles_win32.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

constexpr int kFramesPerRound = 300;
constexpr int kRounds = 5;
constexpr int kTileWidth = 160, kTileHeight = 120;

std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring path = Widen(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path.size() > 0 && path[0] == L'\\' ? L"Z:" + path : path;
}

using bench::Seconds;

// A memory bitmap of tile size, standing in for the show's working surface.
class Tile {
  public:
    Tile() {
        WindowDc screen(nullptr);
        dc_.Reset(CreateCompatibleDC(screen.Get()));
        bitmap_.Reset(CreateCompatibleBitmap(screen.Get(), kTileWidth, kTileHeight));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        SetStretchBltMode(dc_.Get(), COLORONCOLOR);
    }
    ~Tile() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }

  private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

struct Figures {
    double decode = 0, snapshot = 0, drawn = 0;  // frames per second, median of the rounds
    double steps[4] = {};                        // seconds spent in copy, write, load, delete
    int stepFrames = 0;
    int skipped = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Measure(const std::wstring& path, Figures& figures, int32_t& width, int32_t& height) {
    AviFrameReader reader;
    reader.Open(path);
    if (!reader.HasDecoder() || reader.FrameCount() < 1) {
        reader.Close();
        return false;
    }
    width = reader.FrameWidth();
    height = reader.FrameHeight();
    FDIBPointer dib;
    ScratchSnapshot scratch;
    Picture picture;
    Tile tile;
    int32_t next = 0;
    auto frameNumber = [&] {
        const int32_t number = reader.FirstFrame() + next;
        next = (next + 1) % reader.FrameCount();
        return number;
    };

    // One round of each kind after the other, so that a busy machine slows all of them alike.
    auto round = [&](int kind) {
        const double start = Seconds();
        for (int i = 0; i < kFramesPerRound; ++i) {
            const void* frame = reader.ReadFrame(frameNumber());
            if (kind == 0 || frame == nullptr)
                continue;
            // Each step timed apart too (the clock costs well under a microsecond).
            double t[5];
            t[0] = Seconds();
            bool ok = dib.CreateFromPackedDIBPointer(frame, reader.FrameBytes());
            t[1] = Seconds();
            ok = ok && scratch.Write(dib);
            t[2] = Seconds();
            ok = ok && scratch.Load(picture);
            t[3] = Seconds();
            if (!ok) {
                ++figures.skipped;
                continue;
            }
            if (kind == 2)
                StretchPicture(tile.Dc(), picture, 0, 0, kTileWidth, kTileHeight);
            const double beforeDelete = Seconds();
            scratch.Delete();
            t[4] = Seconds();
            if (kind == 1) {
                for (int s = 0; s < 3; ++s)
                    figures.steps[s] += t[s + 1] - t[s];
                figures.steps[3] += t[4] - beforeDelete;
                ++figures.stepFrames;
            }
        }
        if (kind == 2)
            GdiFlush();
        return kFramesPerRound / (Seconds() - start);
    };
    std::vector<double> decode, snapshot, drawn;
    round(0);  // warm up: file cache, decoder, scratch file
    round(1);
    for (int r = 0; r < kRounds; ++r) {
        decode.push_back(round(0));
        snapshot.push_back(round(1));
        drawn.push_back(round(2));
    }
    figures.decode = Median(decode);
    figures.snapshot = Median(snapshot);
    figures.drawn = Median(drawn);
    reader.Close();
    return true;
}

int Run(const std::vector<std::wstring>& videos) {
    std::printf(
        "Frames per second, median of %d rounds of %d frames each; ratio to ReadFrame alone.\n",
        kRounds, kFramesPerRound);
    std::printf("%-10s %10s %12s %7s %14s %7s\n", "size", "ReadFrame", "+ snapshot", "ratio",
                "+ draw tile", "ratio");
    int failures = 0;
    for (const std::wstring& video : videos) {
        Figures f;
        int32_t width = 0, height = 0;
        if (!Measure(video, f, width, height)) {
            std::printf("%s: cannot be decoded\n", Narrow(video).c_str());
            ++failures;
            continue;
        }
        char size[32];
        std::snprintf(size, sizeof size, "%dx%d", width, height);
        std::printf("%-10s %10.1f %12.1f %7.2f %14.1f %7.2f\n", size, f.decode, f.snapshot,
                    f.snapshot / f.decode, f.drawn, f.drawn / f.decode);
        const double perFrame = 1e6 / std::max(1, f.stepFrames);
        std::printf("  microseconds a frame: copy %.0f, write %.0f, load %.0f, delete %.0f\n",
                    f.steps[0] * perFrame, f.steps[1] * perFrame, f.steps[2] * perFrame,
                    f.steps[3] * perFrame);
        if (f.skipped)
            std::printf("  (%d frames skipped)\n", f.skipped);
    }
    std::printf("Scratch file: %s\n", Narrow(ScratchPath()).c_str());
    return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace kineloop

int main() {
    std::vector<std::wstring> videos;
    int count = 0;
    if (wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            videos.emplace_back(words[i]);
        LocalFree(words);
    }
    if (videos.empty()) {
        using namespace kineloop;
        videos = {WindowsPath(test_media::MediaPath(test_media::kBench320x240)),
                  WindowsPath(test_media::MediaPath(test_media::kBench640x480))};
    }
    return kineloop::Run(videos);
}
