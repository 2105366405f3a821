// The zoom effect on the real window system: the rectangles it hands over, the point it keeps,
// and a window that the animation leaves where it was.
#include "settings_dialog/zoom_win32.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings_dialog/zoom.h"

namespace kineloop {
namespace {

struct Animation {
    HWND window;
    int animation;
    RECT from, to;
};

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcW(window, message, w, l);
}

// A captioned window like the settings dialog, at a known place on the screen.
HWND MakeDialogLikeWindow() {
    static const wchar_t kClass[] = L"KineloopZoomTestWindow";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kClass, L"Zoom", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                           200, 150, 480, 360, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

class ZoomTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window_ = MakeDialogLikeWindow();
        ASSERT_NE(window_, nullptr);
        GetWindowRect(window_, &windowRect_);
    }
    void TearDown() override { DestroyWindow(window_); }
    WindowZoom RecordingZoom() {
        return WindowZoom([this](HWND window, int animation, const RECT& from, const RECT& to) {
            seen_.push_back({window, animation, from, to});
        });
    }

    HWND window_ = nullptr;
    RECT windowRect_{};
    std::vector<Animation> seen_;
};

TEST_F(ZoomTest, OpensFromTheRecordedPointAndClosesBackToIt) {
    WindowZoom zoom = RecordingZoom();
    ASSERT_TRUE(SetCursorPos(37, 610));
    zoom.RecordOrigin();
    EXPECT_EQ(zoom.OriginX(), 37);
    EXPECT_EQ(zoom.OriginY(), 610);
    zoom.Open(window_);

    // The cursor has moved on by the time the dialog closes; the animation still ends where
    // the dialog opened.
    SetCursorPos(900, 20);
    zoom.Close(window_);

    const RECT point{37, 610, 37, 610};
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].window, window_);
    EXPECT_EQ(seen_[0].animation, IDANI_CAPTION);
    EXPECT_TRUE(Same(seen_[0].from, point));
    EXPECT_TRUE(Same(seen_[0].to, windowRect_));
    EXPECT_EQ(seen_[1].window, window_);
    EXPECT_EQ(seen_[1].animation, IDANI_CAPTION);
    EXPECT_TRUE(Same(seen_[1].from, windowRect_));
    EXPECT_TRUE(Same(seen_[1].to, point));
}

TEST_F(ZoomTest, WithoutARecordedPointAnimatesFromTheScreensCorner) {
    const WindowZoom zoom = RecordingZoom();
    zoom.Open(window_);
    zoom.Close(window_);
    const RECT corner{0, 0, 0, 0};
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_TRUE(Same(seen_[0].from, corner));
    EXPECT_TRUE(Same(seen_[1].to, corner));
}

TEST_F(ZoomTest, TheWindowSystemsAnimationNeitherMovesNorResizesTheWindow) {
    WindowZoom zoom;
    zoom.SetOrigin(10, 700);
    zoom.Open(window_);
    RECT afterOpening{};
    GetWindowRect(window_, &afterOpening);
    EXPECT_TRUE(Same(afterOpening, windowRect_));
    EXPECT_TRUE(IsWindowVisible(window_));

    zoom.Close(window_);
    RECT afterClosing{};
    GetWindowRect(window_, &afterClosing);
    EXPECT_TRUE(Same(afterClosing, windowRect_));
    EXPECT_TRUE(IsWindowVisible(window_));
}

}  // namespace
}  // namespace kineloop
