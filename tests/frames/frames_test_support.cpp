// Helpers of the Windows frames tests: test media paths, pixels of decoded frames, and a watcher
// that answers the message boxes this process shows.
#include "frames/frames_test_support.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "video/open_video_win32.h"
#include "platform/handles_win32.h"
#include "platform/message_box_win32.h"

namespace kineloop::test {

namespace {

// Every test program ends the video thread as the program does, before it exits: objects alive
// past Media Foundation's end crash the platform on the way out.
class VideoThreadEnd : public ::testing::Environment {
  public:
    void TearDown() override {
        if (EndVideo(5000))
            return;
        // A thread left stuck in the platform: end as the program does, with the tests' verdict.
        std::fflush(stdout);
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), ::testing::UnitTest::GetInstance()->Passed() ? 0 : 1);
    }
};
const auto* const g_videoThreadEnd = ::testing::AddGlobalTestEnvironment(new VideoThreadEnd);

}  // namespace

std::wstring MediaFile(const char* name) {
    return WindowsPath(test_media::MediaPath(name));
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

test_media::Colour PixelOfRows(const BITMAPINFOHEADER& header, const uint8_t* rows, int x,
                               int yFromTop) {
    const int bytesPerPixel = header.biBitCount / 8;
    const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const size_t stride = ((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const LONG row = header.biHeight < 0 ? yFromTop : height - 1 - yFromTop;
    const uint8_t* p = rows + static_cast<size_t>(row) * stride +
                       static_cast<size_t>(x) * static_cast<size_t>(bytesPerPixel);
    if (header.biBitCount == 16) {
        // 5-5-5, scaled to 8 bits the way the platform does.
        const unsigned v = p[0] | (p[1] << 8);
        auto scale = [](unsigned five) { return static_cast<uint8_t>((five << 3) | (five >> 2)); };
        return {scale((v >> 10) & 31), scale((v >> 5) & 31), scale(v & 31)};
    }
    return {p[2], p[1], p[0]};
}

test_media::Colour PixelOf(const void* packedDib, int x, int yFromTop) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(packedDib);
    return PixelOfRows(*header, static_cast<const uint8_t*>(packedDib) + header->biSize, x,
                       yFromTop);
}

bool Near(test_media::Colour got, test_media::Colour expected, int tolerance) {
    return std::abs(got.r - expected.r) <= tolerance && std::abs(got.g - expected.g) <= tolerance &&
           std::abs(got.b - expected.b) <= tolerance;
}

std::string Describe(test_media::Colour c) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

int WrongPixels(const void* packedDib, test_media::Colour expected, bool band, int tolerance) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(packedDib);
    const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    int wrong = 0;
    for (LONG y = 0; y < height; ++y) {
        const test_media::Colour want = band && y * 4 < height ? test_media::kBandColour : expected;
        for (LONG x = 0; x < header->biWidth; ++x)
            if (!Near(PixelOf(packedDib, x, y), want, tolerance))
                ++wrong;
    }
    return wrong;
}

MessageBoxWatcher::MessageBoxWatcher(std::function<void(const SeenBox&)> onBox)
    : onBox_(std::move(onBox)), thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void MessageBoxWatcher::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.clear();
}

void MessageBoxWatcher::Run() {
    const DWORD self = GetCurrentProcessId();
    while (!stop_) {
        const HWND window = FindTopWindow(self, L"", L"#32770");
        if (!window) {
            Sleep(10);
            continue;
        }
        const std::optional<MessageBoxSeen> box = WaitForMessageBox(self, 1000);
        if (!box)
            continue;
        SeenBox seen{box->caption, box->text, box->hasInformationIcon};
        if (onBox_)
            onBox_(seen);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(seen);
        }
        AnswerMessageBox(*box);
        // The same box is not counted twice while it closes.
        for (int i = 0; i < 500 && IsWindow(box->window); ++i)
            Sleep(10);
    }
}

bool WritableByOthers(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

void CloseAndReport(AviFrameReader& reader) {
    if (reader.Close())
        ShowInfoMessage(UnreadableVideoMessage(reader.Path()));
}

}  // namespace kineloop::test
