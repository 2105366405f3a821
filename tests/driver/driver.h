// The end-to-end test driver: starts Kineloop.scr as the screen-saver host does, finds its
// windows, reads screen pixels, sends clicks and keys, and reads the files it leaves.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <windows.h>

namespace kineloop::test {

// A path given at build time (a Unix path under Wine) as a Windows path.
std::wstring WindowsPath(const std::string& path);

// The freshly built Kineloop.scr.
std::wstring BuiltScreenSaver();

// Polls `condition` every `pollMs` until it holds or `timeoutMs` have passed; pumps this thread's
// messages meanwhile so the driver's own windows stay responsive.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000, DWORD pollMs = 20);

// A folder of its own for one test, removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

// A copy of the built screen saver in a folder of its own, so each test has its own settings file.
std::wstring InstallScreenSaver(const TempFolder& folder,
                                const std::wstring& name = L"Kineloop.scr");

// One run of the screen saver. A process still running when this goes is terminated.
class SaverProcess {
  public:
    SaverProcess(const std::wstring& program, const std::wstring& arguments,
                 const std::wstring& workingFolder = L"");
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    bool WaitForExit(DWORD timeoutMs = 20000);
    bool Running() const;
    DWORD ExitCode() const;
    void Terminate();
    // For a failure's message: never started, the windows it shows, or how it ended.
    std::string State() const;

  private:
    PROCESS_INFORMATION info_{};
};

// The visible top-level window of process `processId` (any process when 0) whose title is
// `title` (any title when empty) and whose class is `className` (any class when empty).
HWND FindTopWindow(DWORD processId, const std::wstring& title = L"",
                   const std::wstring& className = L"");
HWND WaitForTopWindow(DWORD processId, const std::wstring& title = L"",
                      const std::wstring& className = L"", DWORD timeoutMs = 20000);

// A message box of process `processId`: its caption and text.
struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    bool hasInformationIcon = false;
};
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, DWORD timeoutMs = 20000);
// Presses the box's OK button.
void AnswerMessageBox(const MessageBoxSeen& box);

// A message box of process `processId` with this caption (other dialogs of the process, such as
// a settings dialog, are passed over).
std::optional<MessageBoxSeen> WaitForMessageBoxTitled(DWORD processId, const std::wstring& caption,
                                                      DWORD timeoutMs = 20000);

// Controls of another program's window.
// The innermost visible control under `clientPoint` of `window`'s client area, or nullptr.
HWND ControlAt(HWND window, POINT clientPoint);
// The control's rectangle in the client coordinates of `container` (one of its ancestors).
RECT ControlRect(HWND control, HWND container);
// The control's text (asked of the control itself, so that edit boxes answer with their content).
std::wstring ControlText(HWND control);
bool SetControlText(HWND control, const std::wstring& text);
// A real mouse click at a point of the control's client area (its middle when not given).
void ClickControl(HWND control, std::optional<POINT> clientPoint = std::nullopt);
// The control that has the keyboard focus in the thread of `window`.
HWND FocusIn(HWND window);
// A left press on the control (over its middle, as ClickControl comes), let go at once at the
// screen point `releaseAt`.
void PressControlReleaseAt(HWND control, POINT releaseAt);
// Two left clicks on the control's middle, quick enough to be a double-click.
void DoubleClickControl(HWND control);
// The screen's colour at a point of the control's client area.
COLORREF ControlPixel(HWND control, int x, int y);
// Waits for the file-open dialog titled `title` of process `processId`, types `fileName` into its
// file name box and opens it (an empty name cancels the dialog). Returns whether it was answered.
bool AnswerFileDialog(DWORD processId, const std::wstring& title, const std::wstring& fileName,
                      DWORD timeoutMs = 20000);

// The screen as a user sees it.
COLORREF ScreenPixel(int x, int y);
// Whether each channel of the two colours differs by at most `tolerance` (scaling and codecs blur).
bool ColoursNear(COLORREF a, COLORREF b, int tolerance);
SIZE ScreenSize();
bool SaveScreenshot(const std::wstring& bmpPath);
void MoveMouseTo(int x, int y);
void ClickAt(int x, int y);
void PressKey(WORD virtualKey);
// The cursor's visibility as the system sees it, or nothing where it cannot be read.
std::optional<bool> CursorVisible();

// A window's whole text (its title) and its class name.
std::wstring TitleOf(HWND window);
std::wstring ClassOf(HWND window);

// A top-level window of the driver's own with a given title (a stand-in for another instance).
class TitledWindow {
  public:
    explicit TitledWindow(const std::wstring& title, int width = 200, int height = 100,
                          DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ~TitledWindow();
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    HWND Handle() const { return window_; }
    void Destroy();

  private:
    HWND window_ = nullptr;
};

// Files.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExistsAt(const std::wstring& path);
// Writes one key of the settings file's section "Section" (UTF-8 key and value).
void WriteSetting(const std::wstring& iniPath, const std::string& key, const std::string& value);

}  // namespace kineloop::test
