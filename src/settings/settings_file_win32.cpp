// The settings file Kineloop.ini beside the program, through the private-profile functions.
#include "settings/settings_file_win32.h"

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/program_folder_win32.h"
#include "platform/text_win32.h"
#include "settings/paths.h"
#include "settings/settings_loader.h"

namespace kineloop {

std::string IniGet(const std::string& section, const std::string& key, const std::wstring& file) {
    const std::wstring wideSection = Widen(section), wideKey = Widen(key);
    // A value is read whole: the buffer grows until the value fits (a long path must not be cut).
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", buffer.data(),
                                     static_cast<DWORD>(buffer.size()), file.c_str());
        if (length + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
            buffer.resize(length);
            return Narrow(buffer);
        }
        buffer.assign(buffer.size() * 4, L'\0');
    }
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
