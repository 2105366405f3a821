// Measures the show against the platform's decoder alone (opened once, read in order, nothing
// converted): frames per second and CPU a frame of each, before and after in one run, the
// microseconds of each step, the CPU use of the loop at the default pause, and memory and GDI
// objects over 20,000 frames.
// Usage: bench_show LONG_RUN_VIDEO VIDEO... (320 x 240 tiles for each video; prints, asserts
// nothing)
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <psapi.h>

#include "bench/bench_clock.h"
#include "before_loop.h"
#include "decoder_alone.h"
#include "helper_cpu.h"
#include "video/open_video_win32.h"
#include "platform/text_win32.h"
#include "timed_loop.h"
#include "show/play_frames_win32.h"

namespace kineloop {
namespace {

using bench::HelperCpu;
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

void PrintSteps(const char* what, const bench::StepTimes& times) {
    std::printf("  %s, microseconds a frame:", what);
    for (int i = 0; i < times.steps; ++i)
        std::printf(" %s %.0f%s", times.names[i],
                    times.frames ? 1e6 * times.seconds[i] / static_cast<double>(times.frames) : 0.0,
                    i + 1 < times.steps ? "," : "");
    std::printf(
        "; of which sampling %.0f\n",
        times.frames ? 1e6 * times.samplingSeconds / static_cast<double>(times.frames) : 0.0);
}

// The two ways of the loop compared: each frame converted whole and stretched by GDI, as the
// show ran before, and PlayFrames, which samples the tile straight from the decoder's buffer.
enum Way { kBefore, kNow, kWays };
const char* const kWayNames[kWays] = {"before", "now"};

void Play(Way way, ShowSession& session, uint64_t frames) {
    if (way == kBefore)
        bench::PlayFramesBefore(session, frames);
    else
        PlayFrames(session, frames);
}

// Rates and CPU of one side of a row over its rounds.
struct Side {
    std::vector<double> rates;
    double seconds = 0, cpuSeconds = 0;
    HelperCpu::Seconds helpers;  // wineserver and X server over the rounds
    uint64_t frames = 0;
    double committedMiB = 0;  // what the rounds left committed: each opens the file once

    void Add(uint64_t count, double wall, double cpu, const HelperCpu::Seconds& before,
             const HelperCpu::Seconds& after) {
        rates.push_back(Rate(count, wall));
        seconds += wall;
        cpuSeconds += cpu;
        helpers.wineserver += after.wineserver - before.wineserver;
        helpers.xServer += after.xServer - before.xServer;
        frames += count;
    }
    double PerFrameMs(double total) const {
        return frames ? 1e3 * total / static_cast<double>(frames) : 0.0;
    }
    double CpuMs() const { return PerFrameMs(cpuSeconds); }
    // What the other processes did for it, a frame, and the share of the wall time all of it took.
    void PrintHelpers() const {
        std::printf(
            "; wineserver %.2f, X server %.2f ms a frame; all three %.2f cores; left committed "
            "%+.0f MiB",
            PerFrameMs(helpers.wineserver), PerFrameMs(helpers.xServer),
            seconds > 0 ? (cpuSeconds + helpers.wineserver + helpers.xServer) / seconds : 0.0,
            committedMiB);
    }
};

double CommittedMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? static_cast<double>(counters.PagefileUsage) / 1048576.0
               : 0.0;
}

const HelperCpu& Helpers() {
    static const HelperCpu helpers;
    return helpers;
}

// A show opens its file once and then plays pass after pass; each round opens it once too, so
// rounds last this long at the decoder's own rate, in whole passes, for the open to weigh little.
constexpr double kRoundSeconds = 2.0;

// Frames a round plays: whole passes of `clipFrames`, at least kRoundSeconds at `decoderRate`.
uint64_t FramesPerRound(int32_t clipFrames, double decoderRate) {
    const auto clip = static_cast<uint64_t>(std::max(clipFrames, 1));
    const auto wanted = static_cast<uint64_t>(kRoundSeconds * decoderRate);
    return std::max<uint64_t>(1, (wanted + clip - 1) / clip) * clip;
}

// One row: the decoder alone and the two ways of the loop (Fast 0), in rounds that alternate so
// that a busy machine slows all of them alike; medians of the rounds' frame rates, CPU over all.
void MeasureRow(const std::wstring& video, const char* codec) {
    constexpr int kRounds = 5;  // odd, for a median; a shared machine drifts by 10% and more
    constexpr int16_t kTileWidth = 320, kTileHeight = 240;
    SaverSettings settings = BenchSettings(video, kTileWidth, kTileHeight, 0);
    BenchShow show(settings);
    int32_t width = 0, height = 0, clipFrames = 0;
    {
        const std::unique_ptr<FrameSource> source = OpenFrameSource(video, WaitStyle::AllMessages);
        if (!source->OpenedFully() || !source->HasDecoder() || source->FrameCount() <= 0) {
            std::printf("%s: cannot be decoded\n", Narrow(video).c_str());
            return;
        }
        width = source->FrameWidth();
        height = source->FrameHeight();
        clipFrames = source->FrameCount();
        source->Close();
    }
    // Warm-up: files, caches and surfaces in place, and the decoder's rate for the rounds' length.
    bench::Figures warm;
    if (!bench::DecodeAlone(video, static_cast<uint64_t>(clipFrames), warm)) {
        std::printf("%s: the decoder alone cannot read it\n", Narrow(video).c_str());
        return;
    }
    const uint64_t framesPerRound = FramesPerRound(clipFrames, Rate(warm.frames, warm.seconds));
    for (int way = 0; way < kWays; ++way)
        Play(static_cast<Way>(way), show.session, 20);
    Side alone, ways[kWays];
    for (int round = 0; round < kRounds; ++round) {
        bench::Figures figures;
        HelperCpu::Seconds before = Helpers().Now();
        double committed = CommittedMiB();
        if (!bench::DecodeAlone(video, framesPerRound, figures)) {
            std::printf("%s: the decoder alone cannot read it\n", Narrow(video).c_str());
            return;
        }
        alone.Add(figures.frames, figures.seconds, figures.cpuSeconds, before, Helpers().Now());
        alone.committedMiB += CommittedMiB() - committed;
        for (int way = 0; way < kWays; ++way) {
            before = Helpers().Now();
            committed = CommittedMiB();
            const double cpu = bench::ProcessCpuSeconds(), start = Seconds();
            Play(static_cast<Way>(way), show.session, framesPerRound);
            const double wall = Seconds() - start, used = bench::ProcessCpuSeconds() - cpu;
            ways[way].Add(framesPerRound, wall, used, before, Helpers().Now());
            ways[way].committedMiB += CommittedMiB() - committed;
        }
    }
    const double d = Median(alone.rates);
    std::printf(
        "%s %ld x %ld into %d x %d tiles, rounds of %llu frames: decoder alone %.0f frames/s, CPU "
        "%.2f ms a frame",
        codec, static_cast<long>(width), static_cast<long>(height), kTileWidth, kTileHeight,
        static_cast<unsigned long long>(framesPerRound), d, alone.CpuMs());
    alone.PrintHelpers();
    std::printf("\n");
    for (int way = 0; way < kWays; ++way) {
        const Side& w = ways[way];
        const double r = Median(w.rates);
        // Also the median of each round's own ratio: a machine whose load drifts between rounds
        // moves both sides of a round alike.
        std::vector<double> roundRatios;
        for (size_t i = 0; i < alone.rates.size() && i < w.rates.size(); ++i)
            roundRatios.push_back(alone.rates[i] > 0 ? w.rates[i] / alone.rates[i] : 0.0);
        std::printf(
            "  show %-6s %.0f frames/s, show/raw %.2f (of rounds %.2f); CPU %.2f ms a "
            "frame, %.2f times the decoder's",
            kWayNames[way], r, d > 0 ? r / d : 0.0, Median(roundRatios), w.CpuMs(),
            alone.CpuMs() > 0 ? w.CpuMs() / alone.CpuMs() : 0.0);
        w.PrintHelpers();
        std::printf("\n");
    }
    std::printf("  rounds (frames/s), decoder alone:");
    for (double r : alone.rates)
        std::printf(" %.0f", r);
    for (int way = 0; way < kWays; ++way) {
        std::printf("; %s:", kWayNames[way]);
        for (double r : ways[way].rates)
            std::printf(" %.0f", r);
    }
    std::printf("\n");
    // The steps of the show now, without reading ahead: where a frame's time goes besides
    // decoding (which the loop hides behind them on a second core).
    bench::StepTimes now;
    for (int round = 0; round < kRounds; ++round)
        bench::PlayFramesTimed(show.session, framesPerRound / 4, now);
    PrintSteps("now without reading ahead", now);
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
// from this process's own times, for each way, in alternating stretches of about ten seconds,
// each of which opens the file once, as a show does.
void LoopCpu(const std::wstring& video, const char* what, int16_t tileWidth, int16_t tileHeight,
             double seconds) {
    constexpr uint64_t kWarmUpFrames = 100;
    SaverSettings settings = BenchSettings(video, tileWidth, tileHeight, 10);
    BenchShow show(settings);
    uint64_t stretchFrames[kWays] = {};
    for (int way = 0; way < kWays; ++way) {
        const double start = Seconds();
        Play(static_cast<Way>(way), show.session, kWarmUpFrames);
        stretchFrames[way] = std::max<uint64_t>(
            kWarmUpFrames, static_cast<uint64_t>(10 * Rate(kWarmUpFrames, Seconds() - start)));
    }
    double cpu[kWays] = {}, wall[kWays] = {}, helpers[kWays] = {};
    uint64_t frames[kWays] = {};
    for (double spent = 0; spent < seconds; spent += 10 * kWays) {
        for (int way = 0; way < kWays; ++way) {
            const double cpuBefore = bench::ProcessCpuSeconds();
            const HelperCpu::Seconds helpersBefore = Helpers().Now();
            const double start = Seconds();
            Play(static_cast<Way>(way), show.session, stretchFrames[way]);
            frames[way] += stretchFrames[way];
            wall[way] += Seconds() - start;
            cpu[way] += bench::ProcessCpuSeconds() - cpuBefore;
            const HelperCpu::Seconds helpersAfter = Helpers().Now();
            helpers[way] += helpersAfter.wineserver - helpersBefore.wineserver +
                            helpersAfter.xServer - helpersBefore.xServer;
        }
    }
    // Under Wine the file calls' own work is done by the wineserver, another process, which
    // this process's times leave out: a faster loop shows more frames and so more CPU here.
    std::printf("%s at Fast 10:", what);
    for (int way = 0; way < kWays; ++way)
        std::printf(
            "%s %s %.0f frames/s, CPU %.1f%% of one core (%.2f ms a frame), with wineserver and "
            "X server %.1f%%",
            way ? ";" : "", kWayNames[way], Rate(frames[way], wall[way]),
            100.0 * cpu[way] / wall[way],
            frames[way] ? 1e3 * cpu[way] / static_cast<double>(frames[way]) : 0.0,
            100.0 * (cpu[way] + helpers[way]) / wall[way]);
    std::printf("; over %.0f s each\n", wall[kNow]);
}

}  // namespace
}  // namespace kineloop

int wmain(int argc, wchar_t** argv) {
    using namespace kineloop;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_show LONG_RUN_VIDEO VIDEO...\n");
        return 2;
    }
    // Full Windows paths: the screen saver of the CPU measurement runs in a folder of its own.
    std::vector<std::wstring> videos;
    for (int i = 2; i < argc; ++i) {
        wchar_t full[MAX_PATH * 4];
        videos.push_back(GetFullPathNameW(argv[i], MAX_PATH * 4, full, nullptr) ? full : argv[i]);
    }
    const auto isAvi = [](const std::wstring& path) {
        return path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".avi") == 0;
    };
    // The CPU at the default pause for the smallest AVI and the 1080p video, when given.
    const std::wstring* smallAvi = nullptr;
    const std::wstring* fullHd = nullptr;
    std::printf("%s\n", Helpers().Found().c_str());
    // KINELOOP_BENCH_ONLY=TEXT: only the rows whose file names hold TEXT, nothing else.
    wchar_t only[64] = {};
    GetEnvironmentVariableW(L"KINELOOP_BENCH_ONLY", only, 64);
    for (const std::wstring& video : videos) {
        if (*only) {
            if (video.find(only) != std::wstring::npos)
                MeasureRow(video, isAvi(video) ? "AVIFile" : "Media Foundation");
            continue;
        }
        MeasureRow(video, isAvi(video) ? "AVIFile" : "Media Foundation");
        if (isAvi(video) && !smallAvi)
            smallAvi = &video;
        if (video.find(L"1920x1080") != std::wstring::npos)
            fullHd = &video;
    }
    if (*only) {
        EndVideo(INFINITE);
        return 0;
    }
    if (smallAvi)
        LoopCpu(*smallAvi, Narrow(*smallAvi).c_str(), 320, 240, 20);
    if (fullHd)
        LoopCpu(*fullHd, Narrow(*fullHd).c_str(), 320, 240, 20);
    LongRun(argv[1]);
    EndVideo(INFINITE);
    return 0;
}
