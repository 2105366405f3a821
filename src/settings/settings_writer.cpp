// Writes the settings record to the settings file, every key in its fixed order.
#include "settings/settings_writer.h"

#include <string>

namespace kineloop {

namespace keys = settings_keys;

bool WriteSettings(const SaverSettings& s, SettingsStore& store) {
    bool written = true;
    // The first key refused ends the writing: the message then says truly that nothing more was
    // saved.
    auto put = [&](const char* key, const std::string& value) {
        written = written && store.IniPut(key, value);
    };
    put(keys::kAviFile, s.AVI_File);
    put(keys::kFlameFrom, std::to_string(s.Flame_From));
    put(keys::kFlameTo, std::to_string(s.Flame_To));
    put(keys::kPicWidth, std::to_string(s.Pic_Width));
    put(keys::kPicHeight, std::to_string(s.Pic_Height));
    put(keys::kFast, std::to_string(s.Fast));
    put(keys::kFlameSkip, std::to_string(s.Flame_Skip));
    put(keys::kRate, std::to_string(s.Rate));
    put(keys::kBgmKind, std::to_string(s.BgmKind));
    put(keys::kBgmRepeat, std::to_string(s.BgmRepeat));
    put(keys::kBgmFile, s.BgmFile);
    return written;
}

}  // namespace kineloop
