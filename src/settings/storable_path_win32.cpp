// Paths and texts as the settings file's ANSI code page holds them: exactly, or not at all (no
// best-fit letters, no "?" in place of a character).
#include "settings/storable_path_win32.h"

#include <windows.h>

#include "platform/text_win32.h"
#include "settings/storable_path.h"

namespace kineloop {

std::optional<std::string> ExactAnsi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const UINT codePage = GetACP();
    // The code page's own replacement and best-fit letters would name another file: refuse them.
    // UTF-8 holds every character and takes neither flag.
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultFlag = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int wideLength = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefaultFlag);
    if (length <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), wideLength, bytes.data(), length, nullptr,
                            usedDefaultFlag) != length ||
        usedDefault)
        return std::nullopt;
    // And back: only a text that returns unchanged is stored.
    const int backLength =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (backLength != wideLength)
        return std::nullopt;
    std::wstring back(static_cast<size_t>(backLength), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, back.data(),
                        backLength);
    if (back != text)
        return std::nullopt;
    return bytes;
}

namespace {

std::wstring ShortFormOf(const std::wstring& path) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (length > 32768)
            return {};
        buffer.assign(length, L'\0');
    }
}

}  // namespace

std::optional<std::wstring> StorablePath(const std::wstring& path) {
    const std::optional<std::string> chosen = StorablePathOf(
        Narrow(path), [](const std::string& p) { return ExactAnsi(Widen(p)).has_value(); },
        [](const std::string& p) { return Narrow(ShortFormOf(Widen(p))); });
    if (!chosen)
        return std::nullopt;
    return Widen(*chosen);
}

}  // namespace kineloop
