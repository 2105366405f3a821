// Writes the settings dialog's values to the settings file, every key in its fixed order.
#pragma once

#include <cstdint>
#include <string>

#include "startup/saver_settings.h"
#include "startup/settings_store.h"

namespace kineloop {

// What the dialog's controls hold at the moment of saving.
struct DialogValues {
    std::string Flame_From;  // texts of the text boxes of the same names
    std::string Flame_To;
    std::string Pic_Width;
    std::string Pic_Height;
    std::string Flame_Skip;
    int Fast = 0;            // value of the speed bar HS_Fast
    int Rate = 0;            // check box Chk: 0 unchecked, 1 checked
    std::string BGM_Repeat;  // text of the track list
};

// Converts the dialog's texts into `settings` by the saving rule and writes all eleven keys.
void SaveDialogSettings(SaverSettings& settings, const DialogValues& dialog, SettingsStore& store);

}  // namespace kineloop
