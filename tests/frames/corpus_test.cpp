// Damaged and hostile AVI files through the reader and the real AVIFile: no crash, no hang, no
// runaway memory, and the "Error : " message exactly when a status call failed.

// The files are cut short at many points, have bytes flipped in the headers and the index, and
// absurd sizes and counts. Each goes through Open, a ReadFrame of every frame (at most
// kMaxFramesPerFile), the snapshot copy, and Close.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "frames/avi_frame_reader_win32.h"
#include "frames/frames_test_support.h"
#include "frames/snapshot_win32.h"

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

// Each message box costs about two seconds to close under Xvfb (Wine waits for a window manager
// that is not there), so the corpus is dense where files break in different ways and sparse where
// they break alike: the full set for one file, a lighter one for the others.
std::vector<Case> CorpusOf(const std::string& label, const std::string& good, bool full) {
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
    const size_t headerCuts = full ? 10 : 0, dataCuts = full ? 16 : 12;
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
    if (full) {
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
    } else {
        for (size_t at = strh + 8; at < headersEnd; at += 3)
            flip(at);
    }

    // Absurd values in the fields that size and count things.
    struct Field {
        const char* name;
        size_t offset;
    };
    const Field fields[] = {
        {"strh start", strh + 8 + 28},
        {"strh length", strh + 8 + 32},
        {"strh sample size", strh + 8 + 44},
        {"strh frame right", strh + 8 + 52},  // from here: the light set
        {"strh frame bottom", strh + 8 + 54},
        {"strf width", strf + 8 + 4},
        {"strf height", strf + 8 + 8},
        {"strf bits", strf + 8 + 12},
        {"strf image", strf + 8 + 20},
        {"strf colours", strf + 8 + 32},
        {"idx1 offset", idx1 + 8 + 8},
        {"frame size", firstChunk + 4},
        {"idx1 length", idx1 + 8 + 12},  // up to here
        {"avih streams", avih + 8 + 24},
        {"avih buffer", avih + 8 + 28},
        {"strh buffer", strh + 8 + 36},
        {"strh size", strh + 4},
        {"strf size", strf + 4},
        {"movi size", movi - 4},
        {"idx1 size", idx1 + 4},
    };
    // The others only where their decoders meet the damage: the frame size and the frame data.
    const size_t fieldCount = full ? std::size(fields) : 12;
    for (size_t f = full ? 0 : 3; f < fieldCount; ++f) {
        for (uint32_t value : {0u, 1u, 0x10000u, 0x8000000u, 0xFFFFFFFFu}) {
            std::string bytes = good;
            Poke32(bytes, fields[f].offset, value);
            char text[64];
            std::snprintf(text, sizeof text, "%s = 0x%X", fields[f].name, value);
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
    // Random damage to several header bytes at once.
    std::mt19937 random(static_cast<unsigned>(good.size()));
    for (int round = 0; round < (full ? 6 : 0); ++round) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[random() % headersEnd] = static_cast<char>(random());
        add("random " + std::to_string(round), std::move(bytes));
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
};

void Exercise(const std::wstring& path, const std::wstring& scratchPath, Tally& tally) {
    AviFrameReader reader;
    reader.Open(path);
    if (reader.OpenStatus() != 0)
        ++tally.failedOpens;
    if (reader.HasDecoder()) {
        ++tally.withDecoder;
        EXPECT_TRUE(reader.OpenedFully());
        FDIBPointer dib;
        const int64_t first = reader.FirstFrame();
        const int64_t count = std::clamp<int64_t>(reader.FrameCount(), 0, kMaxFramesPerFile);
        // Every frame, and two past the end.
        for (int64_t n = first; n < first + count + 2 && n <= INT32_MAX; ++n) {
            const void* frame = reader.ReadFrame(static_cast<int32_t>(n));
            if (frame && dib.CreateFromPackedDIBPointer(frame, reader.FrameBytes())) {
                ++tally.framesCopied;
                EXPECT_LE(dib.PixelBytes().size() + kDibHeaderBytes, reader.FrameBytes());
            }
        }
        ScratchSnapshot scratch(scratchPath);
        Picture picture;
        if (scratch.Write(dib) && scratch.Load(picture))
            ++tally.picturesLoaded;
        scratch.Delete();
    }
    test::CloseAndReport(reader);
}

TEST(DamagedFiles, EndInBoundedTimeWithoutCrashOrRunawayMemory) {
    std::atomic<bool> done{false};
    std::thread watchdog(WatchForHangs, std::cref(done));
    test::MessageBoxWatcher boxes;
    test::TempFolder folder;
    const std::wstring path = folder / L"case.avi";
    const std::wstring scratchPath = folder / L"Dummy.bmp";

    Tally tally;
    for (const auto& [name, full] :
         {std::pair{test_media::kCinepak, true}, std::pair{test_media::kMsVideo1, false},
          std::pair{test_media::kUncompressed24, false}}) {
        const std::string good = test::ReadFileBytes(test::MediaFile(name));
        ASSERT_FALSE(good.empty()) << name;
        for (const Case& c : CorpusOf(name, good, full)) {
            // Should the platform stop the program, the last line names the case.
            std::printf("case: %s\n", c.name.c_str());
            std::fflush(stdout);
            SCOPED_TRACE(c.name);
            ASSERT_TRUE(test::WriteFileBytes(path, c.bytes));
            caseStarted = GetTickCount64();
            currentCase = &c;
            Exercise(path, scratchPath, tally);
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
        "%d cases: %d failed to open, %d with a decoder, %d frames copied, %d pictures "
        "loaded; peak %zu MB\n",
        tally.cases, tally.failedOpens, tally.withDecoder, tally.framesCopied, tally.picturesLoaded,
        static_cast<size_t>(memory.PeakWorkingSetSize >> 20));
    EXPECT_LT(memory.PeakWorkingSetSize, kMaxPeakBytes);
    // The message exactly for the readers whose status calls failed.
    EXPECT_EQ(static_cast<int>(boxes.Boxes().size()), tally.failedOpens);
    // The corpus reaches the decoder, and the error paths.
    EXPECT_GT(tally.framesCopied, 1000);
    EXPECT_GT(tally.failedOpens, 50);
}

}  // namespace
}  // namespace kineloop
