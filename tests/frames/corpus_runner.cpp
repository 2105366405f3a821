// Runs damaged video files, one after another, through the frame source the show opens (every
// frame from the first, two past the end, Close) and through the show's playback loop with a key
// waiting, and appends one line per file to results.txt beside them:
//   <line number> <frames copied> <failed open> <has decoder> <tiles drawn> <reports> <gave up>
//   <milliseconds through the source> <milliseconds in the show loop>
// Once a file hung the platform, the runner stops after that file and ends the way the program
// does (the platform's own ending would crash beside the stuck thread); the corpus test starts a
// new runner from the next file.
//   kineloop_corpus_runner FOLDER FIRST
// FOLDER holds the files and cases.txt, their names one a line; FIRST is the line to start at.
#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#include "driver/driver.h"
#include "frames/corpus_runner.h"
#include "bitmap/packed_frame.h"
#include "frames/frames_test_support.h"
#include "frames/loop_host.h"
#include "video/open_video_win32.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

struct Outcome {
    int framesCopied = 0;
    bool failedOpen = false;
    bool hasDecoder = false;
};

Outcome Exercise(const std::wstring& path) {
    Outcome outcome;
    const auto source = OpenFrameSource(path, WaitStyle::AllMessages);
    if (source->HasDecoder()) {
        outcome.hasDecoder = true;
        // The files hold 12 frames; a damaged length stops here.
        const int64_t first = source->FirstFrame();
        const int64_t count = std::clamp<int64_t>(source->FrameCount(), 0, 40);
        for (int64_t n = first; n < first + count + 2 && n <= INT32_MAX; ++n) {
            const void* frame = source->ReadFrame(static_cast<int32_t>(n));
            if (AcceptPackedFrame(frame, source->FrameBytes()))
                ++outcome.framesCopied;
        }
    }
    outcome.failedOpen = source->Close();
    return outcome;
}

int Run(const std::wstring& folder, size_t first) {
    std::vector<std::string> names;
    std::istringstream list(test::ReadFileBytes(folder + L"\\cases.txt"));
    for (std::string name; std::getline(list, name);)
        names.push_back(name);
    FILE* results = _wfopen((folder + L"\\results.txt").c_str(), L"ab");
    if (!results)
        return 2;
    {
        test::MessageBoxWatcher boxes;
        test::LoopHost loop;
        for (size_t i = first; i < names.size(); ++i) {
            const std::wstring path = folder + L"\\" + Widen(names[i]);
            const ULONGLONG started = GetTickCount64();
            const Outcome read = Exercise(path);
            const ULONGLONG played = GetTickCount64();
            const size_t seen = boxes.Boxes().size();
            const int tiles = loop.PlayUntilTheKey(path);
            const ULONGLONG ended = GetTickCount64();
            const size_t reports = boxes.Boxes().size() - seen;
            const bool gaveUp = VideoThreadGaveUp();
            std::fprintf(results, "%zu %d %d %d %d %zu %d %llu %llu\n", i, read.framesCopied,
                         read.failedOpen ? 1 : 0, read.hasDecoder ? 1 : 0, tiles, reports,
                         gaveUp ? 1 : 0, played - started, ended - played);
            std::fflush(results);
            if (gaveUp)
                break;
        }
    }
    std::fclose(results);
    // The program's own way out.
    if (!EndVideo(kEndVideoWaitMs))
        TerminateProcess(GetCurrentProcess(), test::kRunnerTerminated);
    return 0;
}

}  // namespace
}  // namespace kineloop

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return 2;
    return kineloop::Run(argv[1], static_cast<size_t>(std::wcstoul(argv[2], nullptr, 10)));
}
