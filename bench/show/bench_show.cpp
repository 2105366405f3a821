// Measures the show: frames per second of the playback loop (Fast 0) against decoding alone, memory
// and GDI objects over 20,000 frames, and the CPU use of a real show at the default pause.
// Usage: bench_show VIDEO_320x240 VIDEO_640x480 [cpu]   (prints; asserts nothing)
#include <cstdio>
#include <string>

#include <windows.h>
#include <psapi.h>

#include "driver/driver.h"
#include "frames/avi_frame_reader_win32.h"
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

// Decoding alone: ReadFrame over the stream, round and round.
double DecodeRate(const std::wstring& video, int frames) {
    AviFrameReader reader;
    reader.Open(video);
    if (!reader.OpenedFully() || !reader.HasDecoder() || reader.FrameCount() <= 0)
        return 0;
    const double start = Seconds();
    for (int i = 0; i < frames; ++i)
        reader.ReadFrame(reader.FirstFrame() + i % reader.FrameCount());
    return frames / (Seconds() - start);
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
    SaverSettings settings;
    settings.AVI_File = Narrow(video);
    settings.Pic_Width = tileWidth;
    settings.Pic_Height = tileHeight;
    settings.Flame_Skip = 1;
    settings.Fast = 0;
    BenchShow show(settings);
    PlayFrames(show.session, 20);  // warm-up: files, caches and surfaces in place
    const double start = Seconds();
    PlayFrames(show.session, static_cast<uint64_t>(frames));
    return frames / (Seconds() - start);
}

struct Footprint {
    SIZE_T privateBytes = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
};

Footprint FootprintOf(HANDLE process) {
    Footprint f;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters))
        f.privateBytes = counters.PrivateUsage;
    f.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    f.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    return f;
}

void LongRun(const std::wstring& video) {
    SaverSettings settings;
    settings.AVI_File = Narrow(video);
    settings.Pic_Width = 160;
    settings.Pic_Height = 120;
    settings.Flame_Skip = 1;
    settings.Fast = 0;
    BenchShow show(settings);
    PlayFrames(show.session, 100);
    const Footprint before = FootprintOf(GetCurrentProcess());
    const double start = Seconds();
    PlayFrames(show.session, 20000);
    const double elapsed = Seconds() - start;
    const Footprint after = FootprintOf(GetCurrentProcess());
    std::printf(
        "long run: 20000 frames in %.1f s; private memory %.1f MiB -> %.1f MiB; "
        "GDI objects %lu -> %lu; USER objects %lu -> %lu%s\n",
        elapsed, before.privateBytes / 1048576.0, after.privateBytes / 1048576.0, before.gdiObjects,
        after.gdiObjects, before.userObjects, after.userObjects,
        before.gdiObjects == 0 ? " (the platform reports no GDI counts)" : "");
}

ULONGLONG CpuTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

void ShowCpu(const std::wstring& video) {
    using namespace test;
    TempFolder folder;
    const std::wstring installed = InstallScreenSaver(folder);
    const std::wstring ini = folder / L"Kineloop.ini";
    WriteSetting(ini, "AVI_File", Narrow(video));
    WriteSetting(ini, "Pic_Width", "320");
    WriteSetting(ini, "Pic_Height", "240");
    SaverProcess saver(installed, L"/s", folder.Path());
    if (!WaitForTopWindow(saver.Id(), L"Kine_Main")) {
        std::printf("cpu: the show did not start\n");
        return;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, saver.Id());
    Sleep(3000);
    const Footprint before = FootprintOf(process);
    const ULONGLONG cpuBefore = CpuTime(process);
    const double start = Seconds();
    Sleep(60000);
    const double wall = Seconds() - start;
    const double cpu = (CpuTime(process) - cpuBefore) / 1e7;
    const Footprint after = FootprintOf(process);
    std::printf(
        "show at Fast 10, 320 x 240 tiles, 60 s: CPU %.1f%% of one core; private memory "
        "%.1f MiB -> %.1f MiB\n",
        100.0 * cpu / wall, before.privateBytes / 1048576.0, after.privateBytes / 1048576.0);
    CloseHandle(process);
    PressKey(VK_SPACE);
    saver.WaitForExit();
}

}  // namespace
}  // namespace kineloop

int wmain(int argc, wchar_t** argv) {
    using namespace kineloop;
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_show VIDEO_320x240 VIDEO_640x480 [cpu]\n");
        return 2;
    }
    const struct {
        const wchar_t* video;
        int16_t width, height;
        int frames;
    } sizes[] = {{argv[1], 320, 240, 600}, {argv[2], 640, 480, 300}};
    for (const auto& size : sizes) {
        const double decode = DecodeRate(size.video, size.frames);
        const double loop = LoopRate(size.video, size.width, size.height, size.frames);
        std::printf(
            "%d x %d: ReadFrame alone %.0f frames/s, show loop (Fast 0) %.0f frames/s, "
            "ratio %.2f\n",
            size.width, size.height, decode, loop, decode > 0 ? loop / decode : 0.0);
    }
    LongRun(argv[1]);
    if (argc > 3 && std::wstring(argv[3]) == L"cpu")
        ShowCpu(argv[1]);
    return 0;
}
