// The in-memory settings record and the names under which the settings file keeps it.
#pragma once

#include <cstdint>
#include <string>

namespace kineloop {

// One field per settings key. Texts are UTF-8; numbers are 16-bit as the file's format demands.
struct SaverSettings {
    std::string AVI_File;
    int16_t Flame_From = 0;
    int16_t Flame_To = 0;
    int16_t Pic_Width = 0;
    int16_t Pic_Height = 0;
    int16_t Flame_Skip = 0;
    int16_t Rate = 0;
    int16_t Fast = 0;
    int16_t BgmKind = 0;
    int16_t BgmRepeat = 0;
    std::string BgmFile;
};

// Music kinds of `BgmKind`.
enum : int16_t { kNoMusic = 0, kAudioCd = 1, kMusicFile = 2 };

// The record as loaded, with the folders derived from it (never written to the file): the start
// folders of the video and music file dialogs.
struct LoadedSettings {
    SaverSettings values;
    std::string AviFolder;
    std::string BgmFolder;
};

namespace settings_keys {
inline constexpr char kFileName[] = "Kineloop.ini";
inline constexpr char kSection[] = "Section";
inline constexpr char kAviFile[] = "AVI_File";
inline constexpr char kFlameFrom[] = "Flame_From";
inline constexpr char kFlameTo[] = "Flame_To";
inline constexpr char kPicWidth[] = "Pic_Width";
inline constexpr char kPicHeight[] = "Pic_Height";
inline constexpr char kFast[] = "Fast";
inline constexpr char kFlameSkip[] = "Flame_Skip";
inline constexpr char kRate[] = "Rate";
inline constexpr char kBgmKind[] = "BGM区分";
inline constexpr char kBgmRepeat[] = "BGMﾘﾋﾟｰﾄ";
inline constexpr char kBgmFile[] = "BGMﾌｧｲﾙ";
}  // namespace settings_keys

}  // namespace kineloop
