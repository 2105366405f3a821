// The window pattern on the real window system: only a window whose procedure is the trampoline
// answers with a state object, whatever another window keeps in its user data; a painted window
// gets its WM_PAINT; a pause ends as soon as a message it handles says so.
#include "platform/window_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/handles_win32.h"
#include "platform/message_pump_win32.h"

namespace kineloop {
namespace {

constexpr wchar_t kClass[] = L"Kine.PatternTest";

class Probe : public WindowState {};

TEST(WindowPattern, OnlyTheTrampolinesOwnWindowsHaveAState) {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClass;
    ASSERT_TRUE(RegisterWindowClass(windowClass));
    auto owned = std::make_unique<Probe>();
    Probe* probe = owned.get();
    UniqueWindow own(CreateOwnedWindow(std::move(owned), 0, kClass, L"", WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr));
    ASSERT_TRUE(own);
    EXPECT_EQ(StateOf<Probe>(own.Get()), probe);
    EXPECT_EQ(StateOf<WindowState>(own.Get()), probe);

    // STATICs that keep something in GWLP_USERDATA, as the settings dialog's bullets once did:
    // a bitmap handle, a made-up address, and even a live state object of another window.
    UniqueBitmap bitmap(CreateBitmap(13, 13, 1, 32, nullptr));
    const LONG_PTR kept[] = {reinterpret_cast<LONG_PTR>(bitmap.Get()), LONG_PTR{0x12345670},
                             reinterpret_cast<LONG_PTR>(probe)};
    for (LONG_PTR value : kept) {
        UniqueWindow label(CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, own.Get(),
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(label);
        SetWindowLongPtrW(label.Get(), GWLP_USERDATA, value);
        EXPECT_EQ(StateOf<WindowState>(label.Get()), nullptr) << value;
        EXPECT_EQ(StateOf<Probe>(label.Get()), nullptr) << value;
    }
    // No window at all, and the desktop, another process's window.
    EXPECT_EQ(StateOf<WindowState>(nullptr), nullptr);
    EXPECT_EQ(StateOf<WindowState>(GetDesktopWindow()), nullptr);
}

// Paints itself red, and ends a pause of its thread when it gets a key.
class RedWindow : public PaintedWindow {
  public:
    bool keepGoing = true;
    int paints = 0;
    void OnPaint(HDC dc, const RECT& area) override {
        ++paints;
        UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc, &area, red.Get());
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN)
            keepGoing = false;
        return DefaultProc(message, wParam, lParam);
    }
};

TEST(WindowPattern, APaintedWindowPaintsAndAPauseEndsWhenAMessageSaysSo) {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Kine.PaintedTest";
    ASSERT_TRUE(RegisterWindowClass(windowClass));
    auto owned = std::make_unique<RedWindow>();
    RedWindow* red = owned.get();
    UniqueWindow window(CreateOwnedWindow(std::move(owned), 0, windowClass.lpszClassName, L"",
                                          WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr));
    ASSERT_TRUE(window);
    UpdateWindow(window.Get());
    EXPECT_GE(red->paints, 1);
    // The whole window was validated: no WM_PAINT is left pending.
    EXPECT_FALSE(GetUpdateRect(window.Get(), nullptr, FALSE));
    {
        WindowDc dc(window.Get());
        EXPECT_EQ(GetPixel(dc.Get(), 20, 15), RGB(255, 0, 0));
    }

    // A key handled during a minute's pause ends it long before the minute is up.
    PostMessageW(window.Get(), WM_KEYDOWN, VK_SPACE, 0);
    const ULONGLONG started = GetTickCount64();
    PauseWhile(red->keepGoing, 60000);
    EXPECT_FALSE(red->keepGoing);
    EXPECT_LT(GetTickCount64() - started, 30000u);
}

}  // namespace
}  // namespace kineloop
