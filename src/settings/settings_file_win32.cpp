// The settings file Kineloop.ini beside the program, read as the private-profile functions would,
// except that its Japanese keys are found on any system.
#include "settings/settings_file_win32.h"

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/program_folder_win32.h"
#include "platform/text_win32.h"
#include "settings/paths.h"
#include "settings/profile_text.h"
#include "settings/settings_loader.h"
#include "settings/settings_text_win32.h"
#include "settings/whole_file_win32.h"

namespace kineloop {

// The profile functions read the whole file in the system's code page, where the Shift-JIS keys
// have another form or none: on 936 and 949 not even the key's own bytes find "BGMﾘﾋﾟｰﾄ", whose
// last byte is a lead byte there. So keys are found among the file's bytes; only values are read
// through the code page.
std::string IniGet(const std::string& section, const std::string& key, const std::wstring& file) {
    const std::optional<std::string> bytes = ReadWholeFile(file);
    const std::optional<SettingsText> text = bytes ? TextOfFile(*bytes) : std::nullopt;
    if (!text)
        return {};
    const std::optional<std::string> storedKey = KeyIn(text->encoding, key);
    const std::optional<std::string> storedSection = KeyIn(text->encoding, section);
    if (!storedKey || !storedSection)
        return {};
    const std::optional<std::string> value = GetProfileKey(text->text, *storedSection, *storedKey);
    return value ? ValueFrom(text->encoding, *value) : std::string();
}

bool FileExists(const std::string& path) {
    const std::wstring name = Widen(WithoutTrailingSeparator(path));
    UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::wstring SettingsFilePath() {
    return ProgramFolder() + L"\\" + Widen(settings_keys::kFileName);
}

std::string SettingsFile::IniGet(const std::string& key) {
    return kineloop::IniGet(settings_keys::kSection, key, path_);
}

bool SettingsFile::FileExists(const std::string& path) {
    return kineloop::FileExists(path);
}

LoadedSettings LoadProgramSettings() {
    SettingsFile file(SettingsFilePath());
    return LoadSettings(file, Narrow(ProgramFolder()));
}

}  // namespace kineloop
