// The settings dialog's music choice: the kind's bullets, the track box and the music file.
#include "settings_dialog/settings_dialog_win32.h"

#include "platform/message_box_win32.h"
#include "platform/text_win32.h"
#include "settings/paths.h"
#include "settings/storable_path_win32.h"
#include "settings_dialog/dialog_panel_win32.h"
#include "settings_dialog/file_open_dialog_win32.h"

namespace kineloop {

// The bullets and the two controls that depend on the kind; a kind outside 0 to 2 selects no
// bullet.
void SettingsDialog::ShowMusicKind(int kind) {
    EnableWindow(repeatTrackBox_, FALSE);
    for (HWND bullet : musicKindBullets_)
        SetBulletPicture(bullet, optionOff_.Get());
    if (kind >= 0 && kind <= 2)
        SetBulletPicture(musicKindBullets_[kind], optionOn_.Get());
    if (kind == kAudioCd)
        EnableWindow(repeatTrackBox_, TRUE);
    EnableCommand(chooseMusicButton_, kind == kMusicFile);
}

void SettingsDialog::SelectMusicKind(int kind) {
    settings_.values.BgmKind = static_cast<int16_t>(kind);
    ShowMusicKind(kind);
}

void SettingsDialog::ChooseMusicFile() {
    std::wstring chosen;
    if (!AskForFile(Hwnd(), {{L"BGMﾌｧｲﾙ (MP3 WAV)", L"*.MP3;*.WAV"}}, settings_.BgmFolder, chosen))
        return;
    settings_.BgmFolder = FolderOf(Narrow(chosen));
    // A name the settings file cannot hold would be saved as another name: refused at once.
    const std::optional<std::wstring> path = StorablePath(chosen);
    if (!path) {
        ShowInfoMessage(Widen(UnstorableNameMessage(Narrow(chosen))), Hwnd());
        return;
    }
    settings_.values.BgmFile = Narrow(*path);
    SetWindowTextW(musicPathLabel_, path->c_str());
}

}  // namespace kineloop
