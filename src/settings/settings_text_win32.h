// The settings file's bytes as a text to find and put keys in, and back, in the file's own
// encoding: an ANSI file in the system's code page (its Japanese keys always Shift-JIS), or UTF-8
// or UTF-16 as a user may have saved it.
#pragma once

#include <optional>
#include <string>

namespace kineloop {

enum class FileEncoding { Ansi, Utf8, Utf16 };

struct SettingsText {
    FileEncoding encoding = FileEncoding::Ansi;
    std::string text;  // an ANSI or UTF-8 file's bytes after any mark; a UTF-16 file's as UTF-8
};

// Nothing for a UTF-16 file that does not come back the same through UTF-8.
std::optional<SettingsText> TextOfFile(const std::string& bytes);
std::string FileOfText(const SettingsText& text);

// A key or value (UTF-8) as such a text spells it; nothing when it has no exact form there.
std::optional<std::string> KeyIn(FileEncoding encoding, const std::string& key);
std::optional<std::string> ValueIn(FileEncoding encoding, const std::string& value);
// A value as the text holds it, in UTF-8.
std::string ValueFrom(FileEncoding encoding, const std::string& stored);

}  // namespace kineloop
