// The settings file's bytes as a text to find and put keys in, and back, in the file's own
// encoding: an ANSI file in the system's code page (its Japanese keys always Shift-JIS), or UTF-8
// or UTF-16 as a user may have saved it.
#include "settings/settings_text_win32.h"

#include <windows.h>

#include "platform/text_win32.h"
#include "settings/stored_keys.h"
#include "settings/storable_path_win32.h"

namespace kineloop {

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16Mark[] = "\xFF\xFE";

std::optional<std::string> Utf16ToUtf8(const std::string& bytes) {
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::wstring wide(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    const std::string text = Narrow(wide);
    if (Widen(text) != wide)  // a lone surrogate would not come back: leave such a file alone
        return std::nullopt;
    return text;
}

std::string Utf8ToUtf16(const std::string& text) {
    const std::wstring wide = Widen(text);
    std::string bytes;
    bytes.reserve(wide.size() * 2);
    for (wchar_t c : wide) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

}  // namespace

std::optional<SettingsText> TextOfFile(const std::string& bytes) {
    // The mark stays out of the text, or it would hide a section header on the first line.
    if (bytes.compare(0, 3, kUtf8Mark) == 0)
        return SettingsText{FileEncoding::Utf8, bytes.substr(3)};
    if (bytes.compare(0, 2, kUtf16Mark) != 0)
        return SettingsText{FileEncoding::Ansi, bytes};
    const std::optional<std::string> utf8 = Utf16ToUtf8(bytes.substr(2));
    if (!utf8)
        return std::nullopt;
    return SettingsText{FileEncoding::Utf16, *utf8};
}

std::string FileOfText(const SettingsText& text) {
    if (text.encoding == FileEncoding::Utf16)
        return std::string(kUtf16Mark) + Utf8ToUtf16(text.text);
    if (text.encoding == FileEncoding::Utf8)
        return std::string(kUtf8Mark) + text.text;
    return text.text;
}

std::optional<std::string> KeyIn(FileEncoding encoding, const std::string& key) {
    if (encoding == FileEncoding::Ansi)
        return AnsiKeyName(key);
    return key;
}

std::optional<std::string> ValueIn(FileEncoding encoding, const std::string& value) {
    if (encoding == FileEncoding::Ansi)
        return ExactAnsi(Widen(value));
    return value;
}

std::string ValueFrom(FileEncoding encoding, const std::string& stored) {
    if (encoding != FileEncoding::Ansi || stored.empty())
        return stored;
    // As the profile functions read it: the system's code page, whatever a byte means there.
    return Narrow(WidenFrom(CP_ACP, stored));
}

}  // namespace kineloop
