// Text conversion at the border between the portable code (UTF-8) and Win32 (UTF-16).
#pragma once

#include <string>

namespace kineloop {

std::wstring Widen(const std::string& utf8);
// Text stored in code page `codePage` (CP_ACP: the system's own), as UTF-16.
std::wstring WidenFrom(unsigned codePage, const std::string& bytes);
std::string Narrow(const std::wstring& utf16);

}  // namespace kineloop
