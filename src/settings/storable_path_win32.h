// Paths and texts as the settings file's ANSI code page holds them: exactly, or not at all (no
// best-fit letters, no "?" in place of a character).
#pragma once

#include <optional>
#include <string>

namespace kineloop {

// The text in the system's ANSI code page when every character converts and comes back the same;
// nothing otherwise.
std::optional<std::string> ExactAnsi(const std::wstring& text);

// The form of `path` that the settings file can hold and that names the same file: the path, or
// its short form; nothing when neither can be stored.
std::optional<std::wstring> StorablePath(const std::wstring& path);

}  // namespace kineloop
