// The preview window on the real window system, with a preview box of this process: where it is
// placed, the picture read back from the screen, and the end of the program when it goes.
#include "show/preview_window_win32.h"

#include <gtest/gtest.h>

#include <functional>

#include "driver/driver.h"
#include "show/stills_picture.h"

namespace kineloop {
namespace {

using namespace test;

constexpr DWORD kBoxStyle = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

PreviewBox BoxOf(HWND host, int widthPixels, int heightPixels) {
    return {host, static_cast<int16_t>(widthPixels * 15), static_cast<int16_t>(heightPixels * 15),
            15, 15};
}

class PreviewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::optional<StillsPicture> built = StillsPicture::Built();
        ASSERT_TRUE(built) << "the built stills picture cannot be read";
        stills_ = std::move(*built);
    }
    void TearDown() override {
        while (HWND left = FindWindowW(L"Kine_R", nullptr))
            DestroyWindow(left);
    }

    // Runs this thread's messages until `condition` holds or the deadline passes, noting the
    // WM_QUIT that the preview posts when it goes.
    bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000) {
        const ULONGLONG deadline = GetTickCount64() + timeoutMs;
        for (;;) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT) {
                    quitPosted_ = true;
                    continue;
                }
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            if (condition())
                return true;
            if (GetTickCount64() >= deadline)
                return false;
            Sleep(20);
        }
    }

    void ExpectStillsOver(const RECT& box) {
        std::string mismatches;
        PumpUntil([&] { return (mismatches = PictureMismatches(stills_, box)).empty(); });
        EXPECT_EQ(mismatches, "") << "the box does not show the stills picture";
    }

    StillsPicture stills_;
    bool quitPosted_ = false;
};

TEST_F(PreviewWindowTest, BecomesAChildOfTheBoxShowingTheStillsAndEndsWithIt) {
    TitledWindow host(L"Preview Box", 152, 112, kBoxStyle);
    ASSERT_TRUE(LoadPreviewWindow(BoxOf(host.Handle(), 152, 112)));

    const HWND preview = GetWindow(host.Handle(), GW_CHILD);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(ClassOf(preview), L"Kine_R");
    EXPECT_EQ(TitleOf(preview), L"Preview Window");
    // The child bit is added; the borderless design's own bits stay.
    const LONG_PTR style = GetWindowLongPtrW(preview, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE),
              WS_CHILD | WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), 0);
    const RECT placed = RectOf(preview), box = RectOf(host.Handle());
    EXPECT_TRUE(EqualRect(&placed, &box));
    ExpectStillsOver(box);
    EXPECT_FALSE(quitPosted_);

    host.Destroy();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(preview) && quitPosted_; }))
        << "the program would outlive the preview";
}

TEST_F(PreviewWindowTest, StretchesTheStillsOverALargerBoxWhereverItIs) {
    TitledWindow host(L"Preview Box", 304, 224, kBoxStyle);
    SetWindowPos(host.Handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(LoadPreviewWindow(BoxOf(host.Handle(), 304, 224)));

    const HWND preview = GetWindow(host.Handle(), GW_CHILD);
    ASSERT_NE(preview, nullptr);
    const RECT placed = RectOf(preview), box = RectOf(host.Handle());
    EXPECT_EQ(box.left, 40);
    EXPECT_TRUE(EqualRect(&placed, &box));
    ExpectStillsOver(box);
}

TEST_F(PreviewWindowTest, ClosingThePreviewEndsTheProgram) {
    TitledWindow host(L"Preview Box", 152, 112, kBoxStyle);
    ASSERT_TRUE(LoadPreviewWindow(BoxOf(host.Handle(), 152, 112)));
    const HWND preview = GetWindow(host.Handle(), GW_CHILD);
    ASSERT_NE(preview, nullptr);

    PostMessageW(preview, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(preview) && quitPosted_; }));
    EXPECT_TRUE(IsWindow(host.Handle()));
}

// Start-up never loads the preview without a host; should it be loaded so, it goes by itself.
TEST_F(PreviewWindowTest, WithoutAHostIsShownAloneWithAnEmptyBoxThenGoesByItself) {
    ASSERT_TRUE(LoadPreviewWindow(PreviewBox{nullptr, 0, 0, 15, 15}));
    const HWND preview = FindWindowW(L"Kine_R", L"Preview Window");
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(IsWindowVisible(preview));
    EXPECT_EQ(GetAncestor(preview, GA_PARENT), GetDesktopWindow());
    const RECT placed = RectOf(preview);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right, 0);
    EXPECT_EQ(placed.bottom, 0);

    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(preview) && quitPosted_; }));
}

}  // namespace
}  // namespace kineloop
