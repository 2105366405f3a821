// Text conversion at the border between the portable code (UTF-8) and Win32 (UTF-16).
#include "platform/text_win32.h"

#include <windows.h>

namespace kineloop {

std::wstring Widen(const std::string& utf8) {
    return WidenFrom(CP_UTF8, utf8);
}

std::wstring WidenFrom(unsigned codePage, const std::string& bytes) {
    if (bytes.empty())
        return {};
    const int length =
        MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(const std::wstring& utf16) {
    if (utf16.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                           nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

}  // namespace kineloop
