// The platform's file-open dialog, as the settings dialog asks for a video or a music file.
#pragma once

#include <string>

#include <windows.h>

namespace kineloop {

// The file-open dialog with one filter, starting in `startFolder`; false when the user cancelled.
bool AskForFile(HWND owner, const std::wstring& description, const std::wstring& pattern,
                const std::string& startFolder, std::wstring& chosen);

}  // namespace kineloop
