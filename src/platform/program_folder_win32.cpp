// The folders the program keeps files in: its own, and the per-user and temporary fallbacks.
#include "platform/program_folder_win32.h"

#include <utility>

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

namespace {

// A folder name as the platform hands it out, without the trailing separator some calls add (a
// drive's root becomes "C:", as ProgramFolder gives it).
std::wstring WithoutTrailingSeparator(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return folder;
}

}  // namespace

std::wstring PerUserFolder() {
    const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (needed <= 1)
        return {};
    std::wstring folder(needed, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), needed);
    if (length == 0 || length >= needed)
        return {};
    folder.resize(length);
    return WithoutTrailingSeparator(std::move(folder)) + L"\\Kineloop";
}

std::wstring TemporaryFolder() {
    const DWORD needed = GetTempPathW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring folder(needed, L'\0');
    const DWORD length = GetTempPathW(needed, folder.data());
    if (length == 0 || length >= needed)
        return {};
    folder.resize(length);
    return WithoutTrailingSeparator(std::move(folder));
}

}  // namespace kineloop
