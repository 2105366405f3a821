// The Command button on the real window system, in a host window of this process: its face read
// back from the screen in each state, the caption's place, and Click from real mouse input.
#include "controls/command_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "driver/driver.h"
#include "platform/handles_win32.h"
#include "platform/window_win32.h"

namespace kineloop {
namespace {

using namespace test;

constexpr wchar_t kHostClass[] = L"Kine.TestHost";
constexpr int kHostX = 200, kHostY = 150;
constexpr int kWidth = 73, kHeight = 29;  // 1095 x 435 twips
constexpr int kId = 7;
// Well away from the host window.
constexpr POINT kAway{20, 20};

COLORREF Hex(uint32_t rrggbb) {
    return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

int Lightness(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

bool IsInk(COLORREF c) {
    return Lightness(c) < 3 * 128;
}

// A pixel of the button as the screen shows it.
COLORREF At(HWND button, int x, int y) {
    POINT p{x, y};
    ClientToScreen(button, &p);
    return ScreenPixel(p.x, p.y);
}

// The container: counts the Click notifications of its buttons.
class Host : public WindowState {
  public:
    int clicks = 0;
    HWND lastClicked = nullptr;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            lastClicked = reinterpret_cast<HWND>(lParam);
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }
};

void SendButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

class CommandOnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEXW windowClass{};
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH));
        windowClass.lpszClassName = kHostClass;
        ASSERT_TRUE(RegisterWindowClass(windowClass));
        auto owned = std::make_unique<Host>();
        host_ = owned.get();
        window_.Reset(CreateOwnedWindow(std::move(owned), WS_EX_TOPMOST, kHostClass, L"host",
                                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kHostX, kHostY,
                                        320, 200, nullptr, nullptr));
        ASSERT_TRUE(window_);
        SetForegroundWindow(window_.Get());
        MoveMouseTo(kAway.x, kAway.y);
        ASSERT_TRUE(RegisterCommandClass());
    }

    HWND Make(const std::string& caption, int x, int y, int width = kWidth, int height = kHeight) {
        HWND button =
            CreateCommand(window_.Get(), kId, StoredButtonDesign(caption), x, y, width, height);
        EXPECT_NE(button, nullptr);
        EXPECT_TRUE(IsCommand(button));
        InitializeCommand(button);
        return button;
    }

    static POINT Centre(HWND button) {
        RECT r{};
        GetWindowRect(button, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static bool Shows(HWND button, int x, int y, uint32_t rrggbb) {
        return At(button, x, y) == Hex(rrggbb);
    }
    // The face's direction, read in a column clear of the caption and the border.
    static bool LavenderOnTop(HWND button) {
        return Lightness(At(button, 8, 4)) < Lightness(At(button, 8, kHeight - 5));
    }
    static bool WhiteOnTop(HWND button) {
        return Lightness(At(button, 8, 4)) > Lightness(At(button, 8, kHeight - 5));
    }

    Host* host_ = nullptr;
    UniqueWindow window_;
};

TEST_F(CommandOnScreen, FaceAndBorderFollowTheState) {
    HWND button = Make("設定", 20, 20);
    // Normal: the dark blue frame at the left edge, white at the top of the face.
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0x003C74); }));
    EXPECT_EQ(At(button, 0, 14), Hex(0xE2DECB));
    EXPECT_TRUE(WhiteOnTop(button));

    // HighLight: the pointer over it turns the face round and shows the orange rim.
    const POINT centre = Centre(button);
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(
        WaitUntil([&] { return CommandButtonState(button) == 2 && LavenderOnTop(button); }));
    EXPECT_EQ(At(button, 36, kHeight - 3), Hex(0xE59700));
    EXPECT_EQ(At(button, 36, 2), Hex(0xFFF0CF));
    EXPECT_EQ(At(button, 1, 14), Hex(0x003C74));

    // Back to Normal once the pointer has gone; Selected when the keyboard focus arrives.
    MoveMouseTo(kAway.x, kAway.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(button) == 1 && WhiteOnTop(button); }));
    SetFocus(button);
    // The screen shows a new face a moment after it was drawn: wait for the pixels.
    ASSERT_TRUE(WaitUntil([&] {
        return CommandButtonState(button) == 3 && Shows(button, 36, kHeight - 3, 0x6982EE);
    }));
    EXPECT_TRUE(WhiteOnTop(button));

    // Disabled: the grey frame, whatever the state; the face is drawn again at a new size.
    SetCommandEnabled(button, false);
    EXPECT_FALSE(CommandEnabled(button));
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0xC9C7BA); }));
    EXPECT_EQ(At(button, 0, 14), Hex(0xECE9D8));
    EXPECT_EQ(CommandButtonState(button), 3);
    SetCommandEnabled(button, true);
    SetWindowPos(button, nullptr, 0, 0, 100, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return Shows(button, 98, 14, 0x003C74); }));
    EXPECT_TRUE(Shows(button, 1, 14, 0x003C74));
}

// The first row with ink of `caption` drawn at the top of a label of `width` pixels.
int ReferenceInkTop(const std::wstring& caption, int width, int height) {
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    LOGFONTW logFont{};
    logFont.lfHeight = -13;  // 9.75 point at 96 dots per inch
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpyW(logFont.lfFaceName, L"ＭＳ Ｐゴシック");
    UniqueFont font(CreateFontIndirectW(&logFont));
    if (!dc || !bitmap || !font)
        return -1;
    SelectionScope bitmapSelected(dc.Get(), bitmap.Get());
    SelectionScope fontSelected(dc.Get(), font.Get());
    RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    RECT label{0, 0, width, 13};
    DrawTextW(dc.Get(), caption.c_str(), -1, &label, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (IsInk(GetPixel(dc.Get(), x, y)))
                return y;
    return -1;
}

int InkTop(HWND button, int width, int height) {
    for (int y = 4; y < height - 4; ++y)
        for (int x = 4; x < width - 4; ++x)
            if (IsInk(At(button, x, y)))
                return y;
    return -1;
}

TEST_F(CommandOnScreen, CaptionSitsCentredTwentyTwipsHigh) {
    // 435 twips high: the label's top at 110 twips, pixel 7; 375 twips: 80 twips, pixel 5.
    HWND tall = Make("設定", 20, 20);
    HWND low = Make("ｷｬﾝｾﾙ", 20, 60, 73, 25);
    const int inkTall = ReferenceInkTop(L"設定", 73, 13);
    const int inkLow = ReferenceInkTop(L"ｷｬﾝｾﾙ", 73, 13);
    ASSERT_GE(inkTall, 0);
    ASSERT_GE(inkLow, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return Shows(tall, 1, 14, 0x003C74) && Shows(low, 1, 12, 0x003C74); }));
    EXPECT_EQ(InkTop(tall, 73, kHeight), 7 + inkTall);
    EXPECT_EQ(InkTop(low, 73, 25), 5 + inkLow);
    EXPECT_EQ(CommandCaption(tall), L"設定");
    wchar_t text[16] = L"";
    GetWindowTextW(low, text, 16);
    EXPECT_STREQ(text, L"ｷｬﾝｾﾙ");
}

// Counts the ticks of the button's own timer while waiting for `condition`.
int TicksUntil(HWND button, const std::function<bool()>& condition, DWORD timeoutMs = 10000) {
    int ticks = 0;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline)
            return -1;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.hwnd == button)
                ++ticks;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
    return ticks;
}

TEST_F(CommandOnScreen, ARealClickRaisesClickAndTheHoverLookGoesWithThePointer) {
    HWND button = Make("設定", 20, 20);
    HWND other = Make("...", 120, 20, 33, 25);
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0x003C74); }));
    const POINT centre = Centre(button);
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(button) == 2; }));
    ClickAt(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return host_->clicks == 1; }));
    EXPECT_EQ(host_->lastClicked, button);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(CommandButtonState(button), 4);
    EXPECT_TRUE(WaitUntil([&] { return Shows(button, 36, kHeight - 3, 0xE59700); }));

    // The pointer leaves: Selected by the first ticks of TmrMouse (100 ms each), however slowly
    // this machine runs them.
    MoveMouseTo(kAway.x, kAway.y);
    const int ticks = TicksUntil(button, [&] {
        return CommandButtonState(button) == 3 && Shows(button, 36, kHeight - 3, 0x6982EE);
    });
    ASSERT_GE(ticks, 0) << "the hover look stayed";
    EXPECT_LE(ticks, 3);

    // Pressed, moved off until a tick has seen it gone, released there: no Click.
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(button) == 4; }));
    SendButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == button; }));
    MoveMouseTo(kAway.x, kAway.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(button) == 3; }));
    SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_EQ(host_->clicks, 1);

    // A right click on the other button raises its Click and leaves the focus where it was.
    const POINT otherCentre = Centre(other);
    MoveMouseTo(otherCentre.x, otherCentre.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(other) == 2; }));
    SendButton(MOUSEEVENTF_RIGHTDOWN);
    SendButton(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitUntil([&] { return host_->clicks == 2; }));
    EXPECT_EQ(host_->lastClicked, other);
    EXPECT_EQ(GetFocus(), button);

    // Pressed on the host and released over a button: that button did not get the press.
    // This thread's key state follows the mouse messages it has taken from its queue.
    MoveMouseTo(kHostX + 200, kHostY + 150);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(other) == 1; }));
    SendButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([] { return GetKeyState(VK_LBUTTON) < 0; }));
    MoveMouseTo(otherCentre.x, otherCentre.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(other) == 2; }));
    SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([] { return GetKeyState(VK_LBUTTON) >= 0; }));
    EXPECT_EQ(host_->clicks, 2);
    MoveMouseTo(kAway.x, kAway.y);
}

// Mend: the keyboard presses a focused button, and a press whose capture was taken away is
// forgotten.
TEST_F(CommandOnScreen, KeysClickTheFocusedButtonAndALostCaptureForgetsThePress) {
    HWND button = Make("設定", 20, 20);
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0x003C74); }));
    SetFocus(button);
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return host_->clicks == 1; }));
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return host_->clicks == 2; }));
    EXPECT_EQ(host_->lastClicked, button);

    // Pressed, then a popup takes the capture and lets it go: the button shows its own look
    // again, and the stray release that then comes to it is no Click.
    const POINT centre = Centre(button);
    MoveMouseTo(centre.x, centre.y);
    ASSERT_TRUE(WaitUntil([&] { return CommandButtonState(button) == 4; }));
    SendButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == button; }));
    SetCapture(window_.Get());
    ReleaseCapture();
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 36, kHeight - 3, 0xE59700); }));
    SendButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([] { return GetKeyState(VK_LBUTTON) >= 0; }));
    EXPECT_EQ(host_->clicks, 2);
    MoveMouseTo(kAway.x, kAway.y);
}

TEST_F(CommandOnScreen, ATransparentBackgroundShowsTheContainerUnderTheCaption) {
    HWND button = Make("設定", 20, 20);
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0x003C74); }));
    SetCommandOpaqueBackground(button, 0);
    EXPECT_EQ(CommandOpaqueBackground(button), 0);
    // The host's dark grey background at the edge and in the face; the caption stays.
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 8, 14, 0x404040); }));
    EXPECT_TRUE(Shows(button, 1, 14, 0x404040));
    EXPECT_EQ(CommandCaption(button), L"設定");
    SetCommandOpaqueBackground(button, 1);
    EXPECT_EQ(CommandOpaqueBackground(button), 255);
    EXPECT_TRUE(WaitUntil([&] { return Shows(button, 1, 14, 0x003C74); }));
}

TEST_F(CommandOnScreen, ADisabledButtonIgnoresTheMouse) {
    HWND button = Make("...", 20, 20, 33, 25);
    SetCommandEnabled(button, false);
    ASSERT_TRUE(WaitUntil([&] { return Shows(button, 1, 12, 0xC9C7BA); }));
    const POINT centre = Centre(button);
    MoveMouseTo(centre.x, centre.y);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == button; }));
    SendButton(MOUSEEVENTF_LEFTUP);
    // The release has been answered once the capture that the press took is gone.
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_EQ(host_->clicks, 0);
    EXPECT_EQ(CommandButtonState(button), 1);
    EXPECT_TRUE(Shows(button, 1, 12, 0xC9C7BA));
    MoveMouseTo(kAway.x, kAway.y);
}

}  // namespace
}  // namespace kineloop
