// The settings file written all or nothing: the keys go into a copy of the file's text, the copy
// is written beside the file, read back and checked, and only then takes the file's place.
#include "settings/settings_update_win32.h"

#include <optional>

#include <windows.h>

#include "platform/text_win32.h"
#include "settings/profile_text.h"
#include "settings/saver_settings.h"
#include "settings/settings_file_win32.h"
#include "settings/settings_text_win32.h"
#include "settings/storable_path_win32.h"
#include "settings/stored_keys.h"
#include "settings/whole_file_win32.h"

namespace kineloop {

namespace {

// The copy is named after the settings file, plainly the program's own.
std::wstring TemporaryCopyOf(const std::wstring& settingsFile) {
    return settingsFile + L".tmp";
}

// The copy beside the settings file, named after it, that is deleted again unless it took the
// file's place. A copy that a killed save left behind has the same name, so it is replaced and
// never piles up.
class TemporaryCopy {
  public:
    explicit TemporaryCopy(const std::wstring& settingsFile)
        : path_(TemporaryCopyOf(settingsFile)) {}
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

}  // namespace

// A copy left by a save that was ended half-way goes first, even when this save is refused.
SettingsFileUpdate::SettingsFileUpdate(std::wstring path) : path_(std::move(path)) {
    DeleteFileW(TemporaryCopyOf(path_).c_str());
}

std::string SettingsFileUpdate::IniGet(const std::string& key) {
    return kineloop::IniGet(settings_keys::kSection, key, path_);
}

bool SettingsFileUpdate::IniPut(const std::string& key, const std::string& value) {
    // Only what the ANSI code page holds exactly is kept: an ANSI file must not get "?" or a
    // look-alike letter in a path. The keys have one fixed form of their own.
    if (!AnsiKeyName(key) || !ExactAnsi(Widen(value))) {
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
    std::optional<SettingsText> text = old ? TextOfFile(*old) : std::nullopt;
    if (!text)
        return false;
    const std::optional<std::string> section = KeyIn(text->encoding, settings_keys::kSection);
    for (const auto& [key, value] : keys_) {
        const std::optional<std::string> storedKey = KeyIn(text->encoding, key);
        const std::optional<std::string> storedValue = ValueIn(text->encoding, value);
        if (!section || !storedKey || !storedValue)
            return false;
        text->text = PutProfileKey(text->text, *section, *storedKey, *storedValue);
    }
    const std::string bytes = FileOfText(*text);

    TemporaryCopy copy(path_);
    if (!WriteWholeFile(copy.Path(), bytes))
        return false;
    // Read back, bytes and keys: a write the disk cut short must never replace the file.
    if (ReadWholeFile(copy.Path()) != bytes)
        return false;
    for (const auto& [key, value] : keys_)
        if (kineloop::IniGet(settings_keys::kSection, key, copy.Path()) != value)
            return false;
    return copy.Replace(path_);
}

}  // namespace kineloop
