// The end-to-end test driver: starts Kineloop.scr as the screen-saver host does, finds its
// windows, reads screen pixels, sends clicks and keys, and reads the files it leaves.
#include "driver/driver.h"

#include <cstdio>
#include <vector>

#include <dlgs.h>

#include "driver/pointer_guard.h"
#include "platform/text_win32.h"

namespace kineloop::test {

std::wstring WindowsPath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (!wide.empty() && wide[0] == L'/')
        wide = L"Z:" + wide;
    for (wchar_t& c : wide)
        if (c == L'/')
            c = L'\\';
    return wide;
}

std::wstring BuiltScreenSaver() {
    return WindowsPath(KINELOOP_SCR_PATH);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(pollMs);
    }
}

namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"kineloop-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
    if (!path_.empty() && path_.back() == L'\\')
        path_.pop_back();
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

std::wstring InstallScreenSaver(const TempFolder& folder, const std::wstring& name) {
    const std::wstring target = folder / name;
    CopyFileW(BuiltScreenSaver().c_str(), target.c_str(), FALSE);
    return target;
}

SaverProcess::SaverProcess(const std::wstring& program, const std::wstring& arguments,
                           const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup,
                        &info_)) {
        info_ = {};
    }
}

SaverProcess::~SaverProcess() {
    if (!Started())
        return;
    Terminate();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool SaverProcess::WaitForExit(DWORD timeoutMs) {
    if (!Started())
        return true;
    return WaitUntil([this] { return !Running(); }, timeoutMs);
}

bool SaverProcess::Running() const {
    return Started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD SaverProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (Started())
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void SaverProcess::Terminate() {
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
}

std::wstring TitleOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::wstring* title;
    const std::wstring* className;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    if (!IsWindowVisible(window))
        return TRUE;
    if (!search->title->empty() && TitleOf(window) != *search->title)
        return TRUE;
    if (!search->className->empty() && ClassOf(window) != *search->className)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct Listing {
    DWORD processId;
    std::string text;
};

// A function of its own, not a lambda: on i686 the callback must be __stdcall.
BOOL CALLBACK ListVisibleWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<Listing*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && IsWindowVisible(window))
        found->text += " \"" + Narrow(TitleOf(window)) + "\" (" + Narrow(ClassOf(window)) + ")";
    return TRUE;
}

// Each visible top window of the process, as ` "title" (class)`.
std::string VisibleWindowsOf(DWORD processId) {
    Listing listing{processId, {}};
    EnumWindows(ListVisibleWindow, reinterpret_cast<LPARAM>(&listing));
    return listing.text;
}

}  // namespace

std::string SaverProcess::State() const {
    if (!Started())
        return "the program did not start";
    if (Running())
        return "the program runs and shows:" + VisibleWindowsOf(Id());
    char text[64];
    std::snprintf(text, sizeof text, "the program ended with exit code 0x%08lX",
                  static_cast<unsigned long>(ExitCode()));
    return text;
}

HWND FindTopWindow(DWORD processId, const std::wstring& title, const std::wstring& className) {
    WindowSearch search{processId, &title, &className};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const std::wstring& title, const std::wstring& className,
                      DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(processId, title, className)) != nullptr; },
              timeoutMs);
    return found;
}

namespace {

BOOL CALLBACK InspectBoxChild(HWND child, LPARAM parameter) {
    auto* box = reinterpret_cast<MessageBoxSeen*>(parameter);
    if (ClassOf(child) != L"Static")
        return TRUE;
    if (GetWindowLongW(child, GWL_STYLE) & SS_ICON) {
        // The information icon is the system's IDI_INFORMATION (IDI_ASTERISK).
        const HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (icon && icon == LoadIconW(nullptr, IDI_INFORMATION))
            box->hasInformationIcon = true;
        return TRUE;
    }
    const std::wstring text = TitleOf(child);
    if (!text.empty())
        box->text = text;
    return TRUE;
}

}  // namespace

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    const HWND window = WaitForTopWindow(processId, L"", L"#32770", timeoutMs);
    if (!window)
        return std::nullopt;
    MessageBoxSeen box;
    box.window = window;
    box.caption = TitleOf(window);
    EnumChildWindows(window, InspectBoxChild, reinterpret_cast<LPARAM>(&box));
    return box;
}

void AnswerMessageBox(const MessageBoxSeen& box) {
    const HWND ok = GetDlgItem(box.window, IDOK);
    if (ok) {
        PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    }
}

std::optional<MessageBoxSeen> WaitForMessageBoxTitled(DWORD processId, const std::wstring& caption,
                                                      DWORD timeoutMs) {
    const HWND window = WaitForTopWindow(processId, caption, L"#32770", timeoutMs);
    if (!window)
        return std::nullopt;
    MessageBoxSeen box;
    box.window = window;
    box.caption = caption;
    EnumChildWindows(window, InspectBoxChild, reinterpret_cast<LPARAM>(&box));
    return box;
}

HWND ControlAt(HWND window, POINT clientPoint) {
    HWND found = nullptr;
    HWND container = window;
    POINT point = clientPoint;
    for (;;) {
        const HWND child = ChildWindowFromPointEx(container, point, CWP_SKIPINVISIBLE);
        if (!child || child == container)
            return found;
        MapWindowPoints(container, child, &point, 1);
        found = container = child;
    }
}

RECT ControlRect(HWND control, HWND container) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring ControlText(HWND control) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

bool SetControlText(HWND control, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

namespace {

// The screen's pixels over a window, to see its look change.
std::string PixelsOver(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    std::string pixels;
    HDC screen = GetDC(nullptr);
    for (int y = rect.top; y < rect.bottom; y += 2)
        for (int x = rect.left; x < rect.right; x += 2) {
            const COLORREF c = GetPixel(screen, x, y);
            pixels.append(reinterpret_cast<const char*>(&c), sizeof c);
        }
    ReleaseDC(nullptr, screen);
    return pixels;
}

// Brings the pointer over a point of the control's client area; returns that point on the screen.
POINT PointOver(HWND control, std::optional<POINT> clientPoint) {
    RECT client{};
    GetClientRect(control, &client);
    POINT point = clientPoint ? *clientPoint : POINT{client.right / 2, client.bottom / 2};
    ClientToScreen(control, &point);
    // The program's own buttons only take a click once they have seen the pointer come over
    // them, which they show by their look; a person's hand gives them that time too.
    if (ClassOf(control) == L"Kine.Command") {
        // From outside, so that a pointer resting on the button still comes over it.
        RECT outside{};
        GetWindowRect(control, &outside);
        MoveMouseTo(outside.left - 2, outside.top - 2);
        const std::string before = PixelsOver(control);
        MoveMouseTo(point.x, point.y);
        WaitUntil([&] { return PixelsOver(control) != before; }, 3000);
    }
    return point;
}

}  // namespace

void ClickControl(HWND control, std::optional<POINT> clientPoint) {
    const POINT point = PointOver(control, clientPoint);
    ClickAt(point.x, point.y);
}

void PressControlReleaseAt(HWND control, POINT releaseAt) {
    const POINT point = PointOver(control, std::nullopt);
    MoveMouseTo(point.x, point.y);
    const SIZE size = ScreenSize();
    // One batch, so that the release comes before any poll of the button has seen the pointer go.
    INPUT inputs[3]{};
    for (INPUT& input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dx = static_cast<LONG>((releaseAt.x * 65535LL + size.cx / 2) / (size.cx - 1));
    inputs[1].mi.dy = static_cast<LONG>((releaseAt.y * 65535LL + size.cy / 2) / (size.cy - 1));
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendMouseInput(3, inputs);
}

void DoubleClickControl(HWND control) {
    const POINT point = PointOver(control, std::nullopt);
    MoveMouseTo(point.x, point.y);
    INPUT inputs[4]{};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendMouseInput(4, inputs);
}

COLORREF ControlPixel(HWND control, int x, int y) {
    POINT point{x, y};
    ClientToScreen(control, &point);
    return ScreenPixel(point.x, point.y);
}

bool AnswerFileDialog(DWORD processId, const std::wstring& title, const std::wstring& fileName,
                      DWORD timeoutMs) {
    const HWND dialog = WaitForTopWindow(processId, title, L"#32770", timeoutMs);
    if (!dialog) {
        // What the program shows instead tells a lost click from a dialog that never came.
        std::fprintf(stderr, "no file-open dialog; the program shows:%s\n",
                     VisibleWindowsOf(processId).c_str());
        return false;
    }
    if (fileName.empty()) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    // The file name box: a combo box in the explorer-style dialog, an edit box in the older one.
    HWND nameBox = GetDlgItem(dialog, cmb13);
    if (!nameBox)
        nameBox = GetDlgItem(dialog, edt1);
    if (!nameBox || !SetControlText(nameBox, fileName))
        return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return true;
}

HWND FocusIn(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool ColoursNear(COLORREF a, COLORREF b, int tolerance) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
           close(GetBValue(a), GetBValue(b));
}

SIZE ScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool SaveScreenshot(const std::wstring& bmpPath) {
    const SIZE size = ScreenSize();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, size.cx, size.cy, screen, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        const DWORD stride = static_cast<DWORD>((size.cx * 3 + 3) & ~3);
        const DWORD imageSize = stride * static_cast<DWORD>(size.cy);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
        bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
        bytes.append(static_cast<const char*>(bits), imageSize);
        ok = WriteFileBytes(bmpPath, bytes);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void MoveMouseTo(int x, int y) {
    const SIZE size = ScreenSize();
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65535LL + size.cx / 2) / (size.cx - 1));
    input.mi.dy = static_cast<LONG>((y * 65535LL + size.cy / 2) / (size.cy - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendMouseInput(1, &input);
}

void ClickAt(int x, int y) {
    MoveMouseTo(x, y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendMouseInput(2, inputs);
}

void PressKey(WORD virtualKey) {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

std::optional<bool> CursorVisible() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info))
        return std::nullopt;
    return (info.flags & CURSOR_SHOWING) != 0;
}

namespace {

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return DefWindowProcW(window, message, w, l);
}

}  // namespace

TitledWindow::TitledWindow(const std::wstring& title, int width, int height, DWORD style) {
    static const wchar_t kClass[] = L"KineloopTestDriverWindow";
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = kClass;
        registered = RegisterClassW(&windowClass) != 0;
    }
    window_ = CreateWindowExW(0, kClass, title.c_str(), style, 0, 0, width, height, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
}

TitledWindow::~TitledWindow() {
    Destroy();
}

void TitledWindow::Destroy() {
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool FileExistsAt(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteSetting(const std::wstring& iniPath, const std::string& key, const std::string& value) {
    WritePrivateProfileStringW(L"Section", Widen(key).c_str(), Widen(value).c_str(),
                               iniPath.c_str());
}

}  // namespace kineloop::test
