// The settings file Kineloop.ini beside the program, through the private-profile functions.
#pragma once

#include <string>

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// The whole value of `key` (however long), or empty text when it is missing. UTF-8 in and out;
// the file itself stays in the system's ANSI code page.
std::string IniGet(const std::string& section, const std::string& key, const std::wstring& file);

// Whether `path` names a file that can be opened for reading; one trailing "\" is ignored.
bool FileExists(const std::string& path);

// The full path of the settings file beside the program.
std::wstring SettingsFilePath();

// The section "Section" of one settings file, for the loader.
class SettingsFile : public SettingsSource {
  public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}
    std::string IniGet(const std::string& key) override;
    bool FileExists(const std::string& path) override;

  private:
    std::wstring path_;
};

// Loads the settings file beside the program.
LoadedSettings LoadProgramSettings();

}  // namespace kineloop
