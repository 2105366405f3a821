// The platform's file-open dialog, as the settings dialog asks for a video or a music file.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

namespace kineloop {

// One entry of the file-open dialog's filter list: what it says and the patterns it lists.
struct FileFilter {
    const wchar_t* description;
    const wchar_t* patterns;
};

// The file-open dialog with the filters in this order, starting in `startFolder`; false when the
// user cancelled.
bool AskForFile(HWND owner, const std::vector<FileFilter>& filters, const std::string& startFolder,
                std::wstring& chosen);

}  // namespace kineloop
