// The settings file Kineloop.ini beside the program, read as the private-profile functions would,
// except that its Japanese keys are found on any system.
#pragma once

#include <string>

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// The whole value of `key` (however long), or empty text when it or the file is missing. UTF-8 in
// and out; an ANSI file's values are in the system's code page.
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
