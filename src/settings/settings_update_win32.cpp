// The settings file written all or nothing: the keys go into a copy of the file's text, the copy
// is written beside the file, read back and checked, and only then takes the file's place.
#include "settings/settings_update_win32.h"

#include <optional>

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/text_win32.h"
#include "settings/profile_text.h"
#include "settings/saver_settings.h"
#include "settings/settings_file_win32.h"
#include "settings/storable_path_win32.h"

namespace kineloop {

namespace {

// A settings file is a few hundred bytes; anything past this is not one to rewrite.
constexpr DWORD kLargestFile = 16 * 1024 * 1024;

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16Mark[] = "\xFF\xFE";

// The whole file, an empty text when there is none, nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return std::string();
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargestFile)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    if (!bytes.empty() && (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                      &written, nullptr) ||
                           written != bytes.size()))
        return false;
    return FlushFileBuffers(file.Get()) != FALSE;
}

// A file beside the settings file that is deleted again unless it took the file's place.
class TemporaryCopy {
  public:
    explicit TemporaryCopy(const std::wstring& folder) {
        std::wstring name(MAX_PATH + 1, L'\0');
        if (GetTempFileNameW(folder.c_str(), L"Kin", 0, name.data()) != 0)
            path_ = name.c_str();
    }
    ~TemporaryCopy() {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;
    const std::wstring& Path() const { return path_; }
    bool Replace(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

  private:
    std::wstring path_;
};

// The file's text as UTF-8 for the editor, and back into the file's own encoding. ANSI and UTF-8
// files are edited as their bytes; a UTF-16 file (as a user may have saved it) through UTF-8.
enum class Encoding { Ansi, Utf8, Utf16 };

Encoding EncodingOf(const std::string& bytes) {
    if (bytes.compare(0, 3, kUtf8Mark) == 0)
        return Encoding::Utf8;
    if (bytes.compare(0, 2, kUtf16Mark) == 0)
        return Encoding::Utf16;
    return Encoding::Ansi;
}

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

// The file's folder: the settings file's path up to its last separator.
std::wstring FolderOfFile(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

}  // namespace

std::string SettingsFileUpdate::IniGet(const std::string& key) {
    return kineloop::IniGet(settings_keys::kSection, key, path_);
}

bool SettingsFileUpdate::IniPut(const std::string& key, const std::string& value) {
    // Only what the ANSI code page holds exactly is kept: an ANSI file must not get "?" or a
    // look-alike letter in a path.
    if (!ExactAnsi(Widen(key)) || !ExactAnsi(Widen(value))) {
        refused_ = true;
        return false;
    }
    keys_.emplace_back(key, value);
    return true;
}

bool SettingsFileUpdate::FileExists(const std::string& path) {
    return kineloop::FileExists(path);
}

bool SettingsFileUpdate::Commit() {
    if (refused_)
        return false;
    const std::optional<std::string> old = ReadWholeFile(path_);
    if (!old)
        return false;

    const Encoding encoding = EncodingOf(*old);
    std::string text;
    if (encoding == Encoding::Utf16) {
        const std::optional<std::string> utf8 = Utf16ToUtf8(old->substr(2));
        if (!utf8)
            return false;
        text = *utf8;
    } else {
        text = *old;
    }
    for (const auto& [key, value] : keys_) {
        if (encoding == Encoding::Ansi)
            text = PutProfileKey(text, settings_keys::kSection, *ExactAnsi(Widen(key)),
                                 *ExactAnsi(Widen(value)));
        else
            text = PutProfileKey(text, settings_keys::kSection, key, value);
    }
    const std::string bytes =
        encoding == Encoding::Utf16 ? std::string(kUtf16Mark) + Utf8ToUtf16(text) : text;

    TemporaryCopy copy(FolderOfFile(path_));
    if (copy.Path().empty() || !WriteWholeFile(copy.Path(), bytes))
        return false;
    // Read back, bytes and keys: a write the disk cut short must never replace the file. The
    // profile functions may keep the copy cached; they are told to let it go first.
    if (ReadWholeFile(copy.Path()) != bytes)
        return false;
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, copy.Path().c_str());
    for (const auto& [key, value] : keys_)
        if (kineloop::IniGet(settings_keys::kSection, key, copy.Path()) != value)
            return false;
    return copy.Replace(path_);
}

}  // namespace kineloop
