// A stand-in for the display settings' process in the preview tests: it opens a preview box titled
// by its argument and waits, so that a test can end it without the box ever being destroyed.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    const wchar_t* title = argc > 1 ? argv[1] : L"Preview Box";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = L"KineloopTestPreviewBox";
    RegisterClassW(&windowClass);
    const HWND box = CreateWindowExW(0, windowClass.lpszClassName, title,
                                     WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 152, 112,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!box)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
