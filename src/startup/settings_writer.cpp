// Writes the settings dialog's values to the settings file, every key in its fixed order.
#include "startup/settings_writer.h"

#include "startup/number_rules.h"

namespace kineloop {

namespace keys = settings_keys;

void SaveDialogSettings(SaverSettings& s, const DialogValues& dialog, SettingsStore& store) {
    auto save = [&store](const char* key, const std::string& text, int16_t& field) {
        field = SavingNumber(text, field);
        store.IniPut(key, std::to_string(field));
    };
    store.IniPut(keys::kAviFile, s.AVI_File);
    save(keys::kFlameFrom, dialog.Flame_From, s.Flame_From);
    save(keys::kFlameTo, dialog.Flame_To, s.Flame_To);
    save(keys::kPicWidth, dialog.Pic_Width, s.Pic_Width);
    save(keys::kPicHeight, dialog.Pic_Height, s.Pic_Height);
    s.Flame_Skip = SavingNumber(dialog.Flame_Skip, s.Flame_Skip);
    store.IniPut(keys::kFast, std::to_string(dialog.Fast));
    store.IniPut(keys::kFlameSkip, std::to_string(s.Flame_Skip));
    store.IniPut(keys::kRate, std::to_string(dialog.Rate));
    store.IniPut(keys::kBgmKind, std::to_string(s.BgmKind));
    save(keys::kBgmRepeat, dialog.BGM_Repeat, s.BgmRepeat);
    store.IniPut(keys::kBgmFile, s.BgmFile);
}

}  // namespace kineloop
