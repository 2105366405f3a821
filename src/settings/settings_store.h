// What the settings rules need from the outside world: the settings file's keys and the files.
#pragma once

#include <string>

namespace kineloop {

// What loading needs: the keys as the file holds them, and whether the files they name exist.
class SettingsSource {
  public:
    virtual ~SettingsSource() = default;
    // The value of a key of the section "Section", or empty text when it is missing.
    virtual std::string IniGet(const std::string& key) = 0;
    // Whether the file at `path` can be opened for reading (a folder cannot).
    virtual bool FileExists(const std::string& path) = 0;
};

// What saving needs besides.
class SettingsStore : public SettingsSource {
  public:
    // Writes one key of the section "Section"; returns whether the file took it.
    virtual bool IniPut(const std::string& key, const std::string& value) = 0;
};

}  // namespace kineloop
