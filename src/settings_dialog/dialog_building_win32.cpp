// Building the settings dialog: its client area, font and every control at its designed place.
#include "settings_dialog/settings_dialog_win32.h"

#include "controls/command_win32.h"
#include "controls/property_store.h"
#include "platform/screen_dpi_win32.h"
#include "platform/text_win32.h"
#include "settings_dialog/dialog_layout_win32.h"
#include "settings_dialog/dialog_panel_win32.h"

namespace kineloop {

void SettingsDialog::GiveClientAreaItsSize() {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
    // The resize handler paints the background as the client area gets its size.
    SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::SetFont(HWND control, HFONT font) const {
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

HWND SettingsDialog::Label(HWND parent, int id, int x, int y, int width, int height,
                           const std::wstring& text, DWORD style) {
    const HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, x,
                        y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    SetFont(label, font_.Get());
    return label;
}

HWND SettingsDialog::TextBox(HWND parent, int id, int x, int y, int width, int height) {
    const HWND box = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    SetFont(box, font_.Get());
    return box;
}

HWND SettingsDialog::Button(HWND parent, int id, const char* caption, int x, int y, int width,
                            int height) {
    return CreateCommand(parent, id, StoredButtonDesign(caption), x, y, width, height);
}

void SettingsDialog::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto id = [](int value) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(value)); };

    // The dialog's own controls.
    videoPanel_ = CreateDialogPanel(Hwnd(), kVideoPanel, 12, 12, 481, 253);
    musicPanel_ = CreateDialogPanel(Hwnd(), kMusicPanel, 12, 276, 481, 145);
    setButton_ = Button(Hwnd(), kSetButton, "設定", 344, 432, 73, 29);
    cancelButton_ = Button(Hwnd(), kCancelButton, "ｷｬﾝｾﾙ", 420, 432, 73, 29);
    creditLabel_ = Label(Hwnd(), kCreditLabel, 12, 428, 165, 13,
                         L"(C) Kineloop  Ver " + Widen(KINELOOP_VERSION_TEXT), SS_LEFTNOWORDWRAP);
    linkLabel_ = Label(Hwnd(), kLinkLabel, 12, 444, 219, 13, Widen(kMakerWebPage),
                       SS_LEFTNOWORDWRAP | SS_NOTIFY);
    SetFont(linkLabel_, underlinedFont_.Get());

    // The video panel.
    chooseVideoButton_ = Button(videoPanel_, kChooseVideoButton, "...", 124, 36, 37, 25);
    videoPathLabel_ =
        Label(videoPanel_, kVideoPathLabel, 16, 68, 353, 33, L"", SS_LEFT | WS_BORDER);
    frameRangeLabel_ =
        Label(videoPanel_, kFrameRangeLabel, 248, 32, 77, 13, L"9999 ～ 9999", SS_LEFTNOWORDWRAP);
    frameSizeLabel_ =
        Label(videoPanel_, kFrameSizeLabel, 248, 48, 71, 13, L"9999 * 9999", SS_LEFTNOWORDWRAP);
    thumbnail_ = CreateDialogPanel(videoPanel_, kThumbnail, kThumbnailLeft, 16, kThumbnailSide,
                                   kThumbnailSide);
    if (RetainedSurface* empty = PanelSurface(thumbnail_)) {
        RECT all{0, 0, empty->Width(), empty->Height()};
        FillRect(empty->Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    optionsPanel_ = CreateDialogPanel(videoPanel_, kOptionsPanel, 16, 108, 445, 125);

    // The playback options.
    firstFrameBox_ = TextBox(optionsPanel_, kFirstFrameBox, 68, 32, 45, 18);
    lastFrameBox_ = TextBox(optionsPanel_, kLastFrameBox, 156, 32, 41, 18);
    frameStepBox_ = TextBox(optionsPanel_, kFrameStepBox, 68, 56, 45, 18);
    tileWidthBox_ = TextBox(optionsPanel_, kTileWidthBox, 284, 32, 45, 18);
    tileHeightBox_ = TextBox(optionsPanel_, kTileHeightBox, 376, 32, 41, 17);
    keepAspectBox_ =
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                        264, 56, 17, 13, optionsPanel_, id(kKeepAspectBox), instance, nullptr);
    keepAspectLabel_ = Label(optionsPanel_, kKeepAspectLabel, 280, 56, 123, 13,
                             L"幅で高さの比率を維持", SS_LEFTNOWORDWRAP | SS_NOTIFY);
    speedBar_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ,
                                312, 80, 97, 17, optionsPanel_, id(kSpeedBar), instance, nullptr);
    SetScrollRange(speedBar_, SB_CTL, 0, kFastLargest, FALSE);

    // The music panel.
    const int bulletTops[3] = {56, 40, 72};  // kinds 0, 1, 2 from their designed places
    const wchar_t* kindCaptions[3] = {L"なし", L"音楽CD", L"MP3、WAV"};
    const int captionWidths[3] = {22, 43, 60};
    for (int kind = 0; kind < 3; ++kind) {
        musicKindBullets_[kind] =
            CreateBullet(musicPanel_, kFirstMusicBullet + kind, 16, bulletTops[kind], 13, 13);
        musicKindLabels_[kind] =
            Label(musicPanel_, kFirstMusicLabel + kind, 32, bulletTops[kind], captionWidths[kind],
                  13, kindCaptions[kind], SS_LEFTNOWORDWRAP | SS_NOTIFY);
    }
    repeatTrackBox_ = CreateWindowExW(
        0, L"COMBOBOX", L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 80, 36,
        41, 20 + 200, musicPanel_, id(kRepeatTrackBox), instance, nullptr);
    SetFont(repeatTrackBox_, font_.Get());
    // The closed box is 20 pixels high whatever the font's own height. What the field height
    // asked for gives is measured, not assumed: the platforms count its padding differently.
    LRESULT field = SendMessageW(repeatTrackBox_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 4 && field > 0; ++attempt) {
        RECT closed{};
        GetWindowRect(repeatTrackBox_, &closed);
        const LONG missing = 20 - (closed.bottom - closed.top);
        if (missing == 0 || field + missing <= 0)
            break;
        field += missing;
        SendMessageW(repeatTrackBox_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    chooseMusicButton_ = Button(musicPanel_, kChooseMusicButton, "...", 100, 64, 33, 25);
    musicPathLabel_ =
        Label(musicPanel_, kMusicPathLabel, 16, 92, 445, 33, L"", SS_LEFT | WS_BORDER);

    int fixedId = kFixedLabel;
    for (const FixedLabel& label : kFixedLabels) {
        const HWND parent = label.in == In::VideoPanel     ? videoPanel_
                            : label.in == In::OptionsPanel ? optionsPanel_
                                                           : musicPanel_;
        Label(parent, fixedId++, label.x, label.y, label.width, label.height, label.text,
              label.align);
    }

    tabOrder_ = {firstFrameBox_,     lastFrameBox_,      tileWidthBox_,  tileHeightBox_,
                 frameStepBox_,      chooseMusicButton_, setButton_,     cancelButton_,
                 chooseVideoButton_, repeatTrackBox_,    keepAspectBox_, speedBar_};
}

}  // namespace kineloop
