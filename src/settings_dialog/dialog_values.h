// What the settings dialog's controls hold when it saves, and how that becomes the settings.
#pragma once

#include <string>

#include "settings/saver_settings.h"
#include "settings/settings_store.h"

namespace kineloop {

// The texts of the five text boxes the dialog loads, a chosen video fills and a save reads.
struct FrameBoxTexts {
    std::string Flame_From;  // texts of the text boxes of the same names
    std::string Flame_To;
    std::string Pic_Width;
    std::string Pic_Height;
    std::string Flame_Skip;
};

struct DialogValues : FrameBoxTexts {
    int Fast = 0;            // value of the speed bar HS_Fast
    int Rate = 0;            // check box Chk: 0 unchecked, 1 checked
    std::string BGM_Repeat;  // text of the track list
};

// Converts the dialog's texts into `settings` by the saving rule and writes all eleven keys;
// returns whether every key was written.
bool SaveDialogSettings(SaverSettings& settings, const DialogValues& dialog, SettingsStore& store);

}  // namespace kineloop
