// The window pattern on the real window system: only a window whose procedure is the trampoline
// answers with a state object, whatever another window keeps in its user data.
#include "platform/window_win32.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/handles_win32.h"

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

}  // namespace
}  // namespace kineloop
