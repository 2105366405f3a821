// Where the program file lives: the settings file and the scratch bitmap are kept beside it.
#include "platform/program_folder_win32.h"

#include <windows.h>

namespace kineloop {

std::wstring ProgramFolder() {
    // Long paths: grow the buffer until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(L"\\/:");
    if (separator == std::wstring::npos)
        return {};
    return path.substr(0, path[separator] == L':' ? separator + 1 : separator);
}

}  // namespace kineloop
