// Damaged and hostile AVI files through the reader and the real AVIFile, and through the show's
// playback loop: no crash, no hang, no runaway memory, a key always ends the loop, and the
// "Error : " message exactly once for a file that can never show a frame.

// The files of every codec that decodes here are cut short at many points, have bytes flipped in
// the headers and the index, absurd sizes and counts, and random damage. Each goes through Open, a
// ReadFrame of every frame (at most kMaxFramesPerFile), the snapshot copy and Close, and then
// through PlayFrames with a key already waiting. Damaged MP4 and Motion JPEG AVI files go the same
// way through the frame source and Media Foundation, in runner processes (corpus_runner.cpp).
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "video/avi_frame_reader_win32.h"
#include "frames/corpus_runner.h"
#include "frames/frames_test_support.h"
#include "frames/loop_host.h"
#include "bitmap/packed_frame.h"
#include "scratch/frame_route_win32.h"
#include "video/open_video_win32.h"
#include "platform/text_win32.h"

#include <psapi.h>  // after <windows.h>

namespace kineloop {
namespace {

// Enough to pass every frame of the sources and to stop a damaged length of millions.
constexpr int32_t kMaxFramesPerFile = 300;
// A case that takes longer than this has hung: the test names it and ends the process.
constexpr DWORD kCaseDeadlineMs = 120000;
// The corpus' frames are tiny; memory in use (touched, not merely reserved) near half a gigabyte
// means a hostile size got through to an allocation.
constexpr SIZE_T kMaxPeakBytes = SIZE_T{512} << 20;

struct Case {
    std::string name;
    std::string bytes;
};

size_t Find(const std::string& file, const char* id, size_t from = 0) {
    const size_t at = file.find(id, from);
    EXPECT_NE(at, std::string::npos) << id;
    return at == std::string::npos ? 0 : at;
}

void Poke32(std::string& file, size_t offset, uint32_t value) {
    for (int i = 0; i < 4 && offset + i < file.size(); ++i)
        file[offset + i] = static_cast<char>(value >> (8 * i));
}

// The same set for every file: cuts, flipped bytes, absurd fields and random header damage.
std::vector<Case> CorpusOf(const std::string& label, const std::string& good) {
    std::vector<Case> cases;
    auto add = [&](const std::string& what, std::string bytes) {
        cases.push_back({label + " " + what, std::move(bytes)});
    };
    const size_t riffEnd = good.size();
    const size_t avih = Find(good, "avih"), strh = Find(good, "strh"), strf = Find(good, "strf");
    const size_t movi = Find(good, "movi"), idx1 = Find(good, "idx1");
    const size_t firstChunk = movi + 4;
    const size_t headersEnd = strf + 8 + 40;

    // Cut short: evenly through the headers, evenly through the frames and the index.
    const size_t headerCuts = 10, dataCuts = 40;
    for (size_t i = 0; i < headerCuts; ++i)
        add("cut at " + std::to_string(i * firstChunk / headerCuts),
            good.substr(0, i * firstChunk / headerCuts));
    for (size_t i = 0; i < dataCuts; ++i) {
        const size_t size = firstChunk + (i + 1) * (riffEnd - firstChunk) / (dataCuts + 1);
        add("cut at " + std::to_string(size), good.substr(0, size));
    }
    add("cut at " + std::to_string(riffEnd - 1), good.substr(0, riffEnd - 1));

    // One byte flipped: every byte of the stream header and format, the top byte of every chunk
    // size and one byte of every chunk id, and the first index entries and frame chunk.
    auto flip = [&](size_t at) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(~bytes[at]);
        add("flip " + std::to_string(at), std::move(bytes));
    };
    for (size_t at = strh + 8; at < strh + 8 + 56; ++at)
        flip(at);
    for (size_t at = strf + 8; at < headersEnd; ++at)
        flip(at);
    for (size_t chunk : {size_t{0}, avih, strh, strf, movi - 8, idx1}) {
        flip(chunk + 1);
        flip(chunk + 7);
    }
    for (size_t at = idx1 + 8; at < idx1 + 8 + 32 && at < good.size(); ++at)
        flip(at);
    for (size_t at = firstChunk; at < firstChunk + 12; ++at)
        flip(at);

    // Absurd values in the fields that size and count things.
    struct Field {
        const char* name;
        size_t offset;
    };
    const Field fields[] = {
        {"strh start", strh + 8 + 28},
        {"strh length", strh + 8 + 32},
        {"strh sample size", strh + 8 + 44},
        {"strh frame right", strh + 8 + 52},
        {"strh frame bottom", strh + 8 + 54},
        {"strf width", strf + 8 + 4},
        {"strf height", strf + 8 + 8},
        {"strf bits", strf + 8 + 12},
        {"strf image", strf + 8 + 20},
        {"strf colours", strf + 8 + 32},
        {"idx1 offset", idx1 + 8 + 8},
        {"frame size", firstChunk + 4},
        {"idx1 length", idx1 + 8 + 12},
        {"avih streams", avih + 8 + 24},
        {"avih buffer", avih + 8 + 28},
        {"strh buffer", strh + 8 + 36},
        {"strh size", strh + 4},
        {"strf size", strf + 4},
        {"movi size", movi - 4},
        {"idx1 size", idx1 + 4},
    };
    for (const Field& field : fields) {
        for (uint32_t value : {0u, 1u, 0x10000u, 0x8000000u, 0xFFFFFFFFu}) {
            std::string bytes = good;
            Poke32(bytes, field.offset, value);
            char text[64];
            std::snprintf(text, sizeof text, "%s = 0x%X", field.name, value);
            add(text, std::move(bytes));
        }
    }
    // Frame sizes on which rectangle (16-bit) and format agree, and which are still absurd.
    for (const auto& [width, height] : {std::pair{0x7FFF, 0x7FFF}, std::pair{16384, 16384},
                                        std::pair{16385, 1}, std::pair{20000, 20000}}) {
        std::string bytes = good;
        Poke32(bytes, strh + 8 + 52, (static_cast<uint32_t>(height) << 16) | (width & 0xFFFF));
        Poke32(bytes, strf + 8 + 4, static_cast<uint32_t>(width));
        Poke32(bytes, strf + 8 + 8, static_cast<uint32_t>(height));
        add("size " + std::to_string(width) + "x" + std::to_string(height), std::move(bytes));
    }
    // Random damage to several header bytes at once. (Random bytes in the frames themselves are
    // left out: Wine's Cinepak decoder writes outside its buffers on some of them, and no check
    // of the file's layout can see that coming.)
    std::mt19937 random(static_cast<unsigned>(good.size()));
    for (int round = 0; round < 30; ++round) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[random() % headersEnd] = static_cast<char>(random());
        add("random header " + std::to_string(round), std::move(bytes));
    }

    return cases;
}

std::atomic<const Case*> currentCase{nullptr};
std::atomic<ULONGLONG> caseStarted{0};

// Names the case that hangs, then ends the process: ctest reports the failure at once.
void WatchForHangs(const std::atomic<bool>& done) {
    while (!done) {
        Sleep(200);
        const Case* running = currentCase;
        if (running && GetTickCount64() - caseStarted > kCaseDeadlineMs) {
            std::fprintf(stderr, "case did not end within %lu ms: %s\n", kCaseDeadlineMs,
                         running->name.c_str());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

struct Tally {
    int cases = 0, failedOpens = 0, withDecoder = 0, framesCopied = 0, picturesLoaded = 0;
    int loopReports = 0, loopTiles = 0;
};

// What the reader made of one case.
struct ReaderOutcome {
    bool failedOpen = false;  // a status call failed: "Error : " at Close
    bool noDecoder = false;   // opened fully, but no decoder
    int framesCopied = 0;
};

ReaderOutcome Exercise(const std::wstring& path, const std::wstring& scratchPath, Tally& tally) {
    ReaderOutcome outcome;
    AviFrameReader reader;
    reader.Open(path);
    outcome.failedOpen = reader.OpenStatus() != 0;
    outcome.noDecoder = reader.OpenedFully() && !reader.HasDecoder();
    if (reader.HasDecoder()) {
        ++tally.withDecoder;
        EXPECT_TRUE(reader.OpenedFully());
        std::vector<uint8_t> last;  // the last frame taken, as the scratch file gets it
        const int64_t first = reader.FirstFrame();
        const int64_t count = std::clamp<int64_t>(reader.FrameCount(), 0, kMaxFramesPerFile);
        // Every frame, and two past the end.
        for (int64_t n = first; n < first + count + 2 && n <= INT32_MAX; ++n) {
            const void* frame = reader.ReadFrame(static_cast<int32_t>(n));
            if (const std::optional<DibHeader> taken =
                    AcceptPackedFrame(frame, reader.FrameBytes())) {
                ++outcome.framesCopied;
                const auto* bytes = static_cast<const uint8_t*>(frame);
                last.assign(bytes, bytes + kDibHeaderBytes + taken->biSizeImage);
            }
        }
        ScratchPlaces places({scratchPath});
        FrameRoute route(places);
        if (!last.empty() &&
            route.Take(last.data(), last.size(), 32, 24, 32, 24) == FrameRoute::Result::kReadBack)
            ++tally.picturesLoaded;
    }
    test::CloseAndReport(reader);
    tally.failedOpens += outcome.failedOpen;
    tally.framesCopied += outcome.framesCopied;
    return outcome;
}

TEST(DamagedFiles, EndInBoundedTimeWithoutCrashOrRunawayMemory) {
    std::atomic<bool> done{false};
    std::thread watchdog(WatchForHangs, std::cref(done));
    test::MessageBoxWatcher boxes;
    test::TempFolder folder;
    const std::wstring path = folder / L"case.avi";
    const std::wstring scratchPath = folder / L"Dummy.bmp";
    test::LoopHost loop;
    const ULONGLONG started = GetTickCount64();

    Tally tally;
    for (const char* name :
         {test_media::kCinepak, test_media::kMsVideo1, test_media::kUncompressed24}) {
        const std::string good = test::ReadFileBytes(test::MediaFile(name));
        ASSERT_FALSE(good.empty()) << name;
        for (const Case& c : CorpusOf(name, good)) {
            // Should the platform stop the program, the last line names the case.
            std::printf("case: %s\n", c.name.c_str());
            std::fflush(stdout);
            SCOPED_TRACE(c.name);
            ASSERT_TRUE(test::WriteFileBytes(path, c.bytes));
            caseStarted = GetTickCount64();
            currentCase = &c;
            size_t seen = boxes.Boxes().size();
            const ReaderOutcome read = Exercise(path, scratchPath, tally);
            // The reader's message exactly when a status call failed.
            EXPECT_EQ(boxes.Boxes().size() - seen, read.failedOpen ? 1u : 0u);

            seen = boxes.Boxes().size();
            const int tiles = loop.PlayUntilTheKey(path);
            tally.loopTiles += tiles;
            const size_t reports = boxes.Boxes().size() - seen;
            tally.loopReports += static_cast<int>(reports);
            // Once at most; surely for a file that fails to open, never for one whose frames
            // decode. One that AVIFile has no decoder for is reported unless Media Foundation
            // shows it.
            EXPECT_LE(reports, 1u);
            if (read.failedOpen) {
                EXPECT_EQ(reports, 1u);
            }
            if (read.noDecoder) {
                EXPECT_EQ(reports, tiles > 0 ? 0u : 1u);
            }
            if (read.framesCopied > 0) {
                EXPECT_EQ(reports, 0u);
            }
            currentCase = nullptr;
            ++tally.cases;
        }
    }
    done = true;
    watchdog.join();

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory));
    std::printf(
        "%d cases in %.1f s: %d failed to open, %d with a decoder, %d frames copied, %d pictures "
        "loaded; the show loop drew %d first tiles and reported %d videos; peak %zu MB\n",
        tally.cases, (GetTickCount64() - started) / 1000.0, tally.failedOpens, tally.withDecoder,
        tally.framesCopied, tally.picturesLoaded, tally.loopTiles, tally.loopReports,
        static_cast<size_t>(memory.PeakWorkingSetSize >> 20));
    EXPECT_LT(memory.PeakWorkingSetSize, kMaxPeakBytes);
    EXPECT_GE(tally.cases, 1000);
    // The corpus reaches the decoder, the error paths, and the show loop's drawing and reports.
    EXPECT_GT(tally.framesCopied, 1000);
    EXPECT_GT(tally.failedOpens, 50);
    EXPECT_GT(tally.loopTiles, 100);
    EXPECT_GT(tally.loopReports, tally.failedOpens);
}

// Any file, whatever its layout: cut short, bytes flipped at even steps and in its first bytes,
// and runs of random bytes. 160 cases.
std::vector<Case> AnyFileCorpusOf(const std::string& label, const std::string& good) {
    std::vector<Case> cases;
    auto add = [&](const std::string& what, std::string bytes) {
        cases.push_back({label + " " + what, std::move(bytes)});
    };
    const size_t size = good.size();
    for (size_t i = 0; i < 60; ++i)
        add("cut at " + std::to_string(i * size / 60), good.substr(0, i * size / 60));
    for (size_t i = 0; i < 70; ++i) {
        const size_t at = i < 30 ? i * 3 : (i - 30) * size / 40;
        std::string bytes = good;
        bytes[at] = static_cast<char>(~bytes[at]);
        add("flip " + std::to_string(at), std::move(bytes));
    }
    std::mt19937 random(17);
    for (int i = 0; i < 30; ++i) {
        std::string bytes = good;
        const size_t at = random() % size, length = 1 + random() % 64;
        for (size_t k = at; k < std::min(size, at + length); ++k)
            bytes[k] = static_cast<char>(random());
        add("random " + std::to_string(i), std::move(bytes));
    }
    return cases;
}

// The runner's result lines, parsed in order; a line cut short (still being written) is left.
struct RunnerLine {
    size_t number = 0;
    int framesCopied = 0, failedOpen = 0, hasDecoder = 0, tiles = 0, reports = 0, gaveUp = 0;
    unsigned long long sourceMs = 0, loopMs = 0;
};

std::vector<RunnerLine> ReadResults(const std::wstring& path) {
    std::vector<RunnerLine> lines;
    const std::string text = test::ReadFileBytes(path);
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
        RunnerLine line;
        if (std::sscanf(text.substr(at, end - at).c_str(), "%zu %d %d %d %d %d %d %llu %llu",
                        &line.number, &line.framesCopied, &line.failedOpen, &line.hasDecoder,
                        &line.tiles, &line.reports, &line.gaveUp, &line.sourceMs,
                        &line.loopMs) == 9)
            lines.push_back(line);
    }
    return lines;
}

// Damaged MP4 (H.264) and Motion JPEG AVI files, read by Media Foundation, through the source and
// the show's loop, in runner processes. Wine's Media Foundation hangs for good on some of them:
// the runner gives the file up after kCallLimitMs and ends as the program does, with a thread
// stuck in the platform, and the next runner goes on from the next file. Every runner must end
// by its own choice, and every file within kCaseDeadlineMs.
TEST(DamagedFiles, MediaFoundationFilesEndInBoundedTimeWithOneReportAtMost) {
    test::TempFolder folder;
    std::vector<std::string> labels;
    std::string list;
    for (const char* name : {test_media::kH264WithAudio, test_media::kMjpeg}) {
        const std::string good = test::ReadFileBytes(test::MediaFile(name));
        ASSERT_FALSE(good.empty()) << name;
        for (const Case& c : AnyFileCorpusOf(name, good)) {
            const std::string file =
                "case" + std::to_string(labels.size()) + std::strrchr(name, '.');
            ASSERT_TRUE(test::WriteFileBytes(folder / Widen(file), c.bytes));
            list += file + "\n";
            labels.push_back(c.name);
        }
    }
    ASSERT_TRUE(test::WriteFileBytes(folder / L"cases.txt", list));
    const std::wstring runnerPath = test::WindowsPath(KINELOOP_CORPUS_RUNNER);
    const std::wstring resultsPath = folder / L"results.txt";
    const ULONGLONG started = GetTickCount64();

    Tally tally;
    int runners = 0, givenUp = 0;
    unsigned long long slowestSource = 0, slowestLoop = 0;  // milliseconds, printed
    size_t next = 0;                                        // the first file no runner has finished
    while (next < labels.size()) {
        ++runners;
        test::SaverProcess runner(runnerPath,
                                  L"\"" + folder.Path() + L"\" " + std::to_wstring(next));
        ASSERT_TRUE(runner.Started());
        const size_t first = next;
        ULONGLONG progress = GetTickCount64();
        bool hung = false;
        while (runner.Running() && !hung) {
            runner.WaitForExit(200);
            const size_t done = ReadResults(resultsPath).size();
            if (done != next) {
                next = done;
                progress = GetTickCount64();
            } else if (GetTickCount64() - progress > kCaseDeadlineMs) {
                hung = true;
            }
        }
        const std::vector<RunnerLine> lines = ReadResults(resultsPath);
        next = lines.size();
        const std::string at = next < labels.size() ? labels[next] : "the end";
        if (hung) {
            ADD_FAILURE() << "case did not end within " << kCaseDeadlineMs << " ms: " << at;
            runner.Terminate();
            return;
        }
        const DWORD code = runner.ExitCode();
        const bool gaveUp = next > first && lines.back().gaveUp;
        givenUp += gaveUp;
        // A runner ends after the last file, or ends itself after a file the platform hung on.
        EXPECT_EQ(code, gaveUp ? test::kRunnerTerminated : 0u)
            << "runner ended with 0x" << std::hex << code << " after " << (next - first)
            << " files, before " << at;
        if (next == first) {
            ADD_FAILURE() << "runner ended on its first file: " << at;
            return;
        }
        for (size_t i = first; i < next; ++i) {
            const RunnerLine& line = lines[i];
            SCOPED_TRACE(labels[i]);
            ASSERT_EQ(line.number, i);
            EXPECT_LE(line.reports, 1);
            if (line.failedOpen) {
                EXPECT_EQ(line.reports, 1);
            }
            if (line.framesCopied > 0) {
                EXPECT_EQ(line.reports, 0);
            }
            ++tally.cases;
            tally.failedOpens += line.failedOpen;
            tally.withDecoder += line.hasDecoder;
            tally.framesCopied += line.framesCopied;
            tally.loopTiles += line.tiles;
            tally.loopReports += line.reports;
            slowestSource = std::max(slowestSource, line.sourceMs);
            slowestLoop = std::max(slowestLoop, line.loopMs);
        }
    }
    std::printf(
        "%d cases in %.1f s by %d runners (%d files hung the platform): %d failed to open, %d "
        "with a decoder, %d frames copied; the show loop drew %d first tiles and reported %d "
        "videos; the slowest file took %.1f s through the source, %.1f s in the show loop\n",
        tally.cases, (GetTickCount64() - started) / 1000.0, runners, givenUp, tally.failedOpens,
        tally.withDecoder, tally.framesCopied, tally.loopTiles, tally.loopReports,
        slowestSource / 1000.0, slowestLoop / 1000.0);
    EXPECT_GE(tally.cases, 300);
    // The corpus reaches the decoder, the error paths, and the show loop's drawing and reports.
    EXPECT_GT(tally.framesCopied, 1000);
    EXPECT_GT(tally.failedOpens, 50);
    EXPECT_GT(tally.loopTiles, 50);
}

// The show's loop ran here on the video thread, with Media Foundation started on it: the process
// ends as the program does, the video thread shut down first, or at once beside a stuck one.
class EndAsTheProgramDoes : public ::testing::Environment {
  public:
    void TearDown() override {
        const bool ended = EndVideo(kEndVideoWaitMs);
        std::fflush(stdout);
        if (!ended)
            TerminateProcess(GetCurrentProcess(),
                             ::testing::UnitTest::GetInstance()->Passed() ? 0 : 1);
    }
};
const auto* const g_end = ::testing::AddGlobalTestEnvironment(new EndAsTheProgramDoes);

}  // namespace
}  // namespace kineloop
