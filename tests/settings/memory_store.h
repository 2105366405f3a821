// An in-memory settings file for the native tests of the loader, the writer and the dialog's
// saving: what is read and written, in order, and writes refused on demand.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/paths.h"
#include "settings/settings_store.h"

namespace kineloop::test {

class MemoryStore : public SettingsStore {
  public:
    std::map<std::string, std::string> keys;
    std::set<std::string> files;  // the files and folders that exist
    std::vector<std::string> reads;
    std::vector<std::pair<std::string, std::string>> writes;
    std::string refusedKey;  // the one key whose write fails
    bool refuse = false;     // every write fails

    std::string IniGet(const std::string& key) override {
        reads.push_back(key);
        const auto found = keys.find(key);
        return found == keys.end() ? "" : found->second;
    }
    bool IniPut(const std::string& key, const std::string& value) override {
        if (refuse || key == refusedKey)
            return false;
        writes.emplace_back(key, value);
        keys[key] = value;
        return true;
    }
    bool FileExists(const std::string& path) override {
        return files.count(WithoutTrailingSeparator(path)) > 0;
    }
};

}  // namespace kineloop::test
