// What the settings rules need from the outside world: the settings file's keys and the files.
#pragma once

#include <string>

namespace kineloop {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The value of a key of the section "Section", or empty text when it is missing.
    virtual std::string IniGet(const std::string& key) = 0;
    // Writes one key of the section "Section"; returns whether the file took it.
    virtual bool IniPut(const std::string& key, const std::string& value) = 0;
    // Whether the file at `path` can be opened for reading (a folder cannot).
    virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace kineloop
