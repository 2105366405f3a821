// Measures the show: frames per second of the playback loop (Fast 0) against decoding alone, before
// and after in one run, the microseconds of each step, the CPU use of the loop at the default
// pause, and memory and GDI objects over 20,000 frames.
// Usage: bench_show VIDEO_320x240 VIDEO_640x480 VIDEO_1280x720 [LONG_RUN_VIDEO [H264_1280x720]]
// (prints; asserts nothing)
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <psapi.h>

#include "bench/bench_clock.h"
#include "video/open_video_win32.h"
#include "platform/text_win32.h"
#include "timed_loop.h"
#include "show/play_frames_win32.h"

namespace kineloop {
namespace {

using bench::Seconds;

SaverSettings BenchSettings(const std::wstring& video, int16_t tileWidth, int16_t tileHeight,
                            int16_t fast) {
    SaverSettings settings;
    settings.AVI_File = Narrow(video);
    settings.Pic_Width = tileWidth;
    settings.Pic_Height = tileHeight;
    settings.Flame_Skip = 1;
    settings.Fast = fast;
    return settings;
}

RetainedSurface* g_displayImage = nullptr;

LRESULT CALLBACK BenchDisplayProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_PAINT && g_displayImage) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const RECT& r = paint.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g_displayImage->Dc(), r.left,
               r.top, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

// A full-screen window standing for the show window, with the playback loop's surfaces.
struct BenchShow {
    explicit BenchShow(SaverSettings& settings) : session(settings) {
        WNDCLASSW windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = BenchDisplayProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KineloopBenchDisplay";
        RegisterClassW(&windowClass);
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        session.window = session.display = CreateWindowExW(
            WS_EX_TOPMOST, windowClass.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, width,
            height, nullptr, nullptr, windowClass.hInstance, nullptr);
        session.displayImage.Resize(width, height);
        session.displayDc = WindowDc(session.display);
        g_displayImage = &session.displayImage;
        session.grid = LayOutGrid(width, height, settings.Pic_Width, settings.Pic_Height);
        session.tile = {session.grid.GridLeft, session.grid.GridTop};
    }
    ~BenchShow() {
        g_displayImage = nullptr;
        DestroyWindow(session.window);
    }
    ShowSession session;
};

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Rate(uint64_t frames, double seconds) {
    return seconds > 0 ? static_cast<double>(frames) / seconds : 0;
}

ULONGLONG CpuTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

void PrintSteps(const char* what, const bench::StepTimes& times) {
    std::printf("  %s, microseconds a frame:", what);
    for (int i = 0; i < times.steps; ++i)
        std::printf(" %s %.0f%s", times.names[i],
                    times.frames ? 1e6 * times.seconds[i] / static_cast<double>(times.frames) : 0.0,
                    i + 1 < times.steps ? "," : "\n");
}

// The two ways of the loop compared: one handle a frame without reading ahead, as the loop ran
// before it read ahead (the file created over with CREATE_ALWAYS), and PlayFrames.
enum Way { kOneHandle, kNow, kWays };
const char* const kWayNames[kWays] = {"one handle", "now"};

void Play(Way way, ShowSession& session, uint64_t frames) {
    bench::StepTimes ignored;
    switch (way) {
        case kOneHandle:
            bench::PlayFramesTimed(session, frames, ignored, true);
            break;
        default:
            PlayFrames(session, frames);
    }
}

// One row: decoding alone and the two ways of the loop (Fast 0), in rounds that alternate so
// that a busy machine slows all of them alike; medians of the rounds.
void MeasureRow(const std::wstring& video, int16_t tileWidth, int16_t tileHeight,
                uint64_t framesPerRound) {
    constexpr int kRounds = 5;
    SaverSettings settings = BenchSettings(video, tileWidth, tileHeight, 0);
    BenchShow show(settings);
    const std::unique_ptr<FrameSource> source = OpenFrameSource(video, WaitStyle::AllMessages);
    FrameSource& reader = *source;
    if (!reader.OpenedFully() || !reader.HasDecoder() || reader.FrameCount() <= 0) {
        std::printf("%s: cannot be decoded\n", Narrow(video).c_str());
        return;
    }
    // Warm-up: files, caches and surfaces in place.
    for (int way = 0; way < kWays; ++way)
        Play(static_cast<Way>(way), show.session, 20);
    // Decoding alone does what the loop does but the show: a source opened for the round, the
    // frames read in the loop's order, the source closed.
    std::vector<double> decode, rates[kWays];
    double decodeCpu = 0, decodeWall = 0, nowCpu = 0, nowWall = 0;
    for (int round = 0; round < kRounds; ++round) {
        ULONGLONG cpuStart = CpuTime(GetCurrentProcess());
        double start = Seconds();
        {
            const std::unique_ptr<FrameSource> alone =
                OpenFrameSource(video, WaitStyle::AllMessages);
            for (uint64_t i = 0; i < framesPerRound; ++i)
                alone->ReadFrame(
                    alone->FirstFrame() +
                    static_cast<int32_t>(i % static_cast<uint64_t>(alone->FrameCount())));
            alone->Close();
        }
        decodeWall += Seconds() - start;
        decodeCpu += static_cast<double>(CpuTime(GetCurrentProcess()) - cpuStart) / 1e7;
        decode.push_back(Rate(framesPerRound, Seconds() - start));
        for (int way = 0; way < kWays; ++way) {
            cpuStart = CpuTime(GetCurrentProcess());
            start = Seconds();
            Play(static_cast<Way>(way), show.session, framesPerRound);
            rates[way].push_back(Rate(framesPerRound, Seconds() - start));
            if (way == kNow) {
                nowWall += Seconds() - start;
                nowCpu += static_cast<double>(CpuTime(GetCurrentProcess()) - cpuStart) / 1e7;
            }
        }
    }
    const double d = Median(decode);
    std::printf("%ld x %ld into %d x %d tiles: ReadFrame alone %.0f frames/s; show loop (Fast 0)",
                static_cast<long>(reader.FrameWidth()), static_cast<long>(reader.FrameHeight()),
                tileWidth, tileHeight, d);
    // Also the median of each round's own ratio: a machine whose load drifts between rounds
    // moves both sides of a round alike.
    for (int way = 0; way < kWays; ++way) {
        const double r = Median(rates[way]);
        std::vector<double> roundRatios;
        for (size_t i = 0; i < decode.size(); ++i)
            roundRatios.push_back(decode[i] > 0 ? rates[way][i] / decode[i] : 0.0);
        std::printf("%s %s %.0f frames/s, ratio %.2f (of rounds %.2f)", way ? ";" : "",
                    kWayNames[way], r, d > 0 ? r / d : 0.0, Median(roundRatios));
    }
    std::printf("\n  rounds (frames/s), ReadFrame alone:");
    for (double r : decode)
        std::printf(" %.0f", r);
    for (int way = 0; way < kWays; ++way) {
        std::printf("; %s:", kWayNames[way]);
        for (double r : rates[way])
            std::printf(" %.0f", r);
    }
    std::printf("\n");
    // The loop can only hide decoding behind its own work where a second core is free: when
    // its wall time a frame is its CPU time (both threads), the two never ran at once.
    const double frames = static_cast<double>(kRounds * framesPerRound) / 1e3;
    std::printf(
        "  ms a frame, wall / CPU of this process: ReadFrame alone %.2f / %.2f; now %.2f / "
        "%.2f\n",
        decodeWall / frames, decodeCpu / frames, nowWall / frames, nowCpu / frames);
    reader.Close();

    // The steps, in short stretches that alternate, so that every way meets the same load. The
    // steps of "now" are taken without reading ahead: the decoding it hides is not among them.
    bench::StepTimes oneHandle, now;
    for (int round = 0; round < 2 * kRounds; ++round) {
        bench::PlayFramesTimed(show.session, framesPerRound / 4, oneHandle, true);
        bench::PlayFramesTimed(show.session, framesPerRound / 4, now);
    }
    PrintSteps(kWayNames[kOneHandle], oneHandle);
    PrintSteps(kWayNames[kNow], now);
}

struct Footprint {
    SIZE_T committedBytes = 0;
    SIZE_T workingSetBytes = 0;
    DWORD gdiObjects = 0;
    uintptr_t gdiSlot = 0;
};

// Where the system puts a new GDI object. Where GetGuiResources reports nothing (Wine), a slot
// that keeps rising over a run shows objects that were never freed, since freed slots are reused.
uintptr_t NewGdiSlot() {
    HGDIOBJ probe = CreateSolidBrush(RGB(1, 2, 3));
    const uintptr_t slot = reinterpret_cast<uintptr_t>(probe) & 0xFFFF;
    DeleteObject(probe);
    return slot;
}

Footprint FootprintOf(HANDLE process) {
    Footprint f;
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        f.committedBytes = counters.PagefileUsage;
        f.workingSetBytes = counters.WorkingSetSize;
    }
    f.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    if (process == GetCurrentProcess())
        f.gdiSlot = NewGdiSlot();
    return f;
}

void PrintFootprints(const Footprint& before, const Footprint& after) {
    std::printf("  committed memory %.1f MiB -> %.1f MiB, working set %.1f MiB -> %.1f MiB\n",
                before.committedBytes / 1048576.0, after.committedBytes / 1048576.0,
                before.workingSetBytes / 1048576.0, after.workingSetBytes / 1048576.0);
    if (before.gdiObjects != 0 || after.gdiObjects != 0)
        std::printf("  GDI objects %lu -> %lu\n", before.gdiObjects, after.gdiObjects);
    if (before.gdiSlot != 0)
        std::printf("  slot of a new GDI object %u -> %u\n", static_cast<unsigned>(before.gdiSlot),
                    static_cast<unsigned>(after.gdiSlot));
}

void LongRun(const std::wstring& video) {
    SaverSettings settings = BenchSettings(video, 160, 120, 0);
    BenchShow show(settings);
    PlayFrames(show.session, 100);
    const Footprint before = FootprintOf(GetCurrentProcess());
    const double start = Seconds();
    PlayFrames(show.session, 20000);
    const double elapsed = Seconds() - start;
    const Footprint after = FootprintOf(GetCurrentProcess());
    std::printf("long run: 20000 frames at 160 x 120 tiles in %.1f s (after 100 to warm up)\n",
                elapsed);
    PrintFootprints(before, after);
}

// The playback loop as the show runs it by default (Fast 10): the share of one core it takes,
// from this process's own times, for each way, in alternating stretches of ten seconds.
void LoopCpu(const std::wstring& video, int16_t tileWidth, int16_t tileHeight, double seconds) {
    SaverSettings settings = BenchSettings(video, tileWidth, tileHeight, 10);
    BenchShow show(settings);
    for (int way = 0; way < kWays; ++way)
        Play(static_cast<Way>(way), show.session, 20);
    double cpu[kWays] = {}, wall[kWays] = {};
    uint64_t frames[kWays] = {};
    for (double spent = 0; spent < seconds; spent += 10 * kWays) {
        for (int way = 0; way < kWays; ++way) {
            const ULONGLONG cpuBefore = CpuTime(GetCurrentProcess());
            const double start = Seconds();
            while (Seconds() - start < 10) {
                Play(static_cast<Way>(way), show.session, 50);
                frames[way] += 50;
            }
            wall[way] += Seconds() - start;
            cpu[way] += static_cast<double>(CpuTime(GetCurrentProcess()) - cpuBefore) / 1e7;
        }
    }
    // Under Wine the file calls' own work is done by the wineserver, another process, which
    // this process's times leave out: a faster loop shows more frames and so more CPU here.
    std::printf("  at Fast 10:");
    for (int way = 0; way < kWays; ++way)
        std::printf("%s %s %.0f frames/s, CPU %.1f%% of one core (%.2f ms a frame)", way ? ";" : "",
                    kWayNames[way], Rate(frames[way], wall[way]), 100.0 * cpu[way] / wall[way],
                    frames[way] ? 1e3 * cpu[way] / static_cast<double>(frames[way]) : 0.0);
    std::printf("; over %.0f s each\n", wall[kNow]);
}

}  // namespace
}  // namespace kineloop

int wmain(int argc, wchar_t** argv) {
    using namespace kineloop;
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: bench_show VIDEO_320x240 VIDEO_640x480 VIDEO_1280x720 "
                     "[LONG_RUN_VIDEO [H264_1280x720]]\n");
        return 2;
    }
    // Full Windows paths: the screen saver of the CPU measurement runs in a folder of its own.
    std::wstring videos[3];
    for (int i = 0; i < 3; ++i) {
        wchar_t full[MAX_PATH * 4];
        videos[i] = GetFullPathNameW(argv[i + 1], MAX_PATH * 4, full, nullptr) ? full : argv[i + 1];
    }
    // The earlier loops are kept in the benchmark (timed_loop.cpp); "now" is PlayFrames.
    const struct {
        const std::wstring& video;
        int16_t width, height;
        uint64_t frames;
    } rows[] = {{videos[0], 320, 240, 300}, {videos[1], 640, 480, 150}, {videos[2], 320, 240, 60}};
    for (const auto& row : rows) {
        MeasureRow(row.video, row.width, row.height, row.frames);
        LoopCpu(row.video, row.width, row.height, 20);
    }
    // A phone's kind of video through Media Foundation, when run_bench.sh made one.
    if (argc > 5) {
        wchar_t full[MAX_PATH * 4];
        const std::wstring h264 =
            GetFullPathNameW(argv[5], MAX_PATH * 4, full, nullptr) ? full : argv[5];
        MeasureRow(h264, 320, 240, 60);
        LoopCpu(h264, 320, 240, 20);
    }
    // The long run uses the fourth clip when there is one (see run_bench.sh).
    LongRun(argc > 4 ? std::wstring(argv[4]) : videos[0]);
    EndVideo(INFINITE);
    return 0;
}
