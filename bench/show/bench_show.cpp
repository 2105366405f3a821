// Measures the show: frames per second of the playback loop (Fast 0) against decoding alone, memory
// and GDI objects over 20,000 frames, and the CPU use of the loop at the default pause.
// Usage: bench_show VIDEO_320x240 VIDEO_640x480 [LONG_RUN_VIDEO [H264_1280x720]]
// (prints; asserts nothing)
#include <cstdio>
#include <string>

#include <windows.h>
#include <psapi.h>

#include "frames/open_video_win32.h"
#include "platform/text_win32.h"
#include "show/play_frames_win32.h"

namespace kineloop {
namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Decoding alone: ReadFrame over the stream, round and round, through the frame source the show
// opens (on the video thread).
double DecodeRate(const std::wstring& video, int frames) {
    const auto source = OpenFrameSource(video, WaitStyle::AllMessages);
    FrameSource& reader = *source;
    if (!reader.OpenedFully() || !reader.HasDecoder() || reader.FrameCount() <= 0)
        return 0;
    reader.ReadFrame(reader.FirstFrame());
    const double start = Seconds();
    for (int i = 0; i < frames; ++i)
        reader.ReadFrame(reader.FirstFrame() + i % reader.FrameCount());
    return frames / (Seconds() - start);
}

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
        session.displayDc = GetDC(session.display);
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

double LoopRate(const std::wstring& video, int16_t tileWidth, int16_t tileHeight, int frames) {
    SaverSettings settings = BenchSettings(video, tileWidth, tileHeight, 0);
    BenchShow show(settings);
    PlayFrames(show.session, 20);  // warm-up: files, caches and surfaces in place
    const double start = Seconds();
    PlayFrames(show.session, static_cast<uint64_t>(frames));
    return frames / (Seconds() - start);
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

ULONGLONG CpuTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

// The playback loop as the show runs it by default (Fast 10), for about a minute: the share of
// one core it takes, from this process's own times.
void LoopCpu(const std::wstring& video) {
    SaverSettings settings = BenchSettings(video, 320, 240, 10);
    BenchShow show(settings);
    PlayFrames(show.session, 20);
    const ULONGLONG cpuBefore = CpuTime(GetCurrentProcess());
    const double start = Seconds();
    uint64_t frames = 0;
    while (Seconds() - start < 60) {
        PlayFrames(show.session, 100);
        frames += 100;
    }
    const double wall = Seconds() - start;
    const double cpu = static_cast<double>(CpuTime(GetCurrentProcess()) - cpuBefore) / 1e7;
    std::printf(
        "show loop at Fast 10, 320 x 240 tiles: %.0f frames/s over %.0f s, CPU %.1f%% of "
        "one core\n",
        frames / wall, wall, 100.0 * cpu / wall);
}

}  // namespace
}  // namespace kineloop

int wmain(int argc, wchar_t** argv) {
    using namespace kineloop;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_show VIDEO_320x240 VIDEO_640x480 [LONG_RUN_VIDEO]\n");
        return 2;
    }
    // Full Windows paths: the screen saver of the CPU measurement runs in a folder of its own.
    std::wstring videos[2];
    for (int i = 0; i < 2; ++i) {
        wchar_t full[MAX_PATH * 4];
        videos[i] = GetFullPathNameW(argv[i + 1], MAX_PATH * 4, full, nullptr) ? full : argv[i + 1];
    }
    const struct {
        std::wstring video;
        int16_t width, height;
        int frames;
        const char* label;
    } sizes[] = {{videos[0], 320, 240, 600, ""},
                 {videos[1], 640, 480, 300, ""},
                 {argc > 4 ? std::wstring(argv[4]) : L"", 320, 240, 300, " (1280 x 720 H.264)"}};
    for (const auto& size : sizes) {
        if (size.video.empty())
            continue;
        const double decode = DecodeRate(size.video, size.frames);
        const double loop = LoopRate(size.video, size.width, size.height, size.frames);
        std::printf(
            "%d x %d%s: ReadFrame alone %.0f frames/s, show loop (Fast 0) %.0f frames/s, "
            "ratio %.2f\n",
            size.width, size.height, size.label, decode, loop, decode > 0 ? loop / decode : 0.0);
    }
    // The long runs use the third clip when there is one (see run_bench.sh).
    const std::wstring steady = argc > 3 ? std::wstring(argv[3]) : videos[0];
    LongRun(steady);
    LoopCpu(steady);
    EndVideo(INFINITE);
    return 0;
}
