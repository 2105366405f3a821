// The settings file written all or nothing: the keys go into a copy of the file's text, the copy
// is written beside the file, read back and checked, and only then takes the file's place.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_store.h"

namespace kineloop {

class SettingsFileUpdate : public SettingsStore {
  public:
    // Removes the copy ("Kineloop.ini.tmp") that a save ended half-way left behind.
    explicit SettingsFileUpdate(std::wstring path);

    // Reads the file as it is now.
    std::string IniGet(const std::string& key) override;
    // Keeps the key for Commit; false when the system's ANSI code page cannot hold the value.
    bool IniPut(const std::string& key, const std::string& value) override;
    bool FileExists(const std::string& path) override;

    // Writes every key kept, in order. True only when the file now holds every one of them and
    // every other byte it held before; otherwise the file is as it was and no copy is left.
    bool Commit();

  private:
    std::wstring path_;
    std::vector<std::pair<std::string, std::string>> keys_;
    bool refused_ = false;
};

}  // namespace kineloop
