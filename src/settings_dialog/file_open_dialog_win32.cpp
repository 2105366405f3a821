#include "settings_dialog/file_open_dialog_win32.h"

#include <vector>

#include <commdlg.h>

#include "platform/text_win32.h"

namespace kineloop {

namespace {

// Room for any path the file-open dialog can return (the longest a Unicode path can be).
constexpr int kFileBufferChars = 32768;

}  // namespace

bool AskForFile(HWND owner, const std::vector<FileFilter>& filters, const std::string& startFolder,
                std::wstring& chosen) {
    std::wstring filter;
    for (const FileFilter& entry : filters) {
        filter += entry.description;
        filter.push_back(L'\0');
        filter += entry.patterns;
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    std::vector<wchar_t> file(kFileBufferChars, L'\0');
    std::vector<wchar_t> title(kFileBufferChars, L'\0');
    const std::wstring folder = Widen(startFolder);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = GetModuleHandleW(nullptr);
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = kFileBufferChars;
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = kFileBufferChars;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = L"ﾌｧｲﾙを開く";
    if (!GetOpenFileNameW(&request))
        return false;
    chosen.assign(file.data());
    return true;
}

}  // namespace kineloop
