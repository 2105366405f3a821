// Reads the settings file into the settings record with its defaults and consistency rules.
#include "settings/settings_loader.h"

#include "settings/number_rules.h"
#include "settings/paths.h"

namespace kineloop {

namespace keys = settings_keys;

LoadedSettings LoadSettings(SettingsSource& store, const std::string& programFolder) {
    LoadedSettings loaded;
    SaverSettings& s = loaded.values;
    auto number = [&store](const char* key, int16_t fallback) {
        return LoaderNumber(store.IniGet(key), fallback);
    };

    // Without a usable video file the whole frame group keeps its defaults, unread.
    const std::string aviFile = store.IniGet(keys::kAviFile);
    if (aviFile.empty() || !store.FileExists(aviFile)) {
        loaded.AviFolder = programFolder;
        s.Flame_Skip = 1;
        s.Rate = 1;
    } else {
        s.AVI_File = aviFile;
        loaded.AviFolder = FolderOf(aviFile);
        s.Flame_From = number(keys::kFlameFrom, 0);
        s.Flame_To = number(keys::kFlameTo, 0);
        s.Pic_Width = number(keys::kPicWidth, 0);
        s.Pic_Height = number(keys::kPicHeight, 0);
        s.Flame_Skip = number(keys::kFlameSkip, 1);
        s.Rate = number(keys::kRate, 1);
    }

    s.Fast = number(keys::kFast, 10);
    s.BgmKind = number(keys::kBgmKind, kNoMusic);
    s.BgmRepeat = number(keys::kBgmRepeat, 0);

    // A music file that is gone turns "music file" into "no music"; the CD kind is kept.
    const std::string bgmFile = store.IniGet(keys::kBgmFile);
    if (bgmFile.empty() || !store.FileExists(bgmFile)) {
        if (s.BgmKind == kMusicFile)
            s.BgmKind = kNoMusic;
    } else {
        s.BgmFile = bgmFile;
    }
    loaded.BgmFolder = s.BgmFile.empty() ? programFolder : FolderOf(s.BgmFile);
    return loaded;
}

}  // namespace kineloop
