// What the settings dialog's controls hold when it saves, and how that becomes the settings.
#include "settings_dialog/dialog_values.h"

#include "platform/numbers.h"
#include "settings/number_rules.h"
#include "settings/settings_writer.h"

namespace kineloop {

bool SaveDialogSettings(SaverSettings& s, const DialogValues& dialog, SettingsStore& store) {
    s.Flame_From = SavingNumber(dialog.Flame_From, s.Flame_From);
    s.Flame_To = SavingNumber(dialog.Flame_To, s.Flame_To);
    s.Pic_Width = SavingNumber(dialog.Pic_Width, s.Pic_Width);
    s.Pic_Height = SavingNumber(dialog.Pic_Height, s.Pic_Height);
    s.Flame_Skip = SavingNumber(dialog.Flame_Skip, s.Flame_Skip);
    // The speed bar and the check box only ever hold values of their own small ranges.
    s.Fast = Fits<int16_t>(dialog.Fast) ? static_cast<int16_t>(dialog.Fast) : s.Fast;
    s.Rate = Fits<int16_t>(dialog.Rate) ? static_cast<int16_t>(dialog.Rate) : s.Rate;
    s.BgmRepeat = SavingNumber(dialog.BGM_Repeat, s.BgmRepeat);
    return WriteSettings(s, store);
}

}  // namespace kineloop
