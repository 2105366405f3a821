// The settings dialog's layout: its size, font, control ids and the labels that never change,
// at their designed pixel places.
#pragma once

#include <windows.h>

namespace kineloop {

constexpr DWORD kSettingsDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 508;
constexpr int kClientHeight = 478;
constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontHundredthsOfPoint = 975;
// The speed bar runs from 0 to this many milliseconds.
constexpr int kFastLargest = 2000;

// Control ids; IDOK and IDCANCEL stay free: Enter away from a button does nothing, and Esc
// (IDCANCEL) is ｷｬﾝｾﾙ.
enum ControlId : int {
    kVideoPanel = 1001,
    kOptionsPanel,
    kMusicPanel,
    kThumbnail,
    kSetButton,
    kCancelButton,
    kCreditLabel,
    kLinkLabel,
    kChooseVideoButton,
    kVideoPathLabel,
    kFrameRangeLabel,
    kFrameSizeLabel,
    kFirstFrameBox,
    kLastFrameBox,
    kFrameStepBox,
    kTileWidthBox,
    kTileHeightBox,
    kKeepAspectBox,
    kKeepAspectLabel,
    kSpeedBar,
    kRepeatTrackBox,
    kChooseMusicButton,
    kMusicPathLabel,
    kFirstMusicBullet,  // three in a row
    kFirstMusicLabel = kFirstMusicBullet + 3,
    kFixedLabel = kFirstMusicLabel + 3,  // the labels nothing ever changes or clicks
};

// The labels that never change, in their containers.
enum class In { VideoPanel, OptionsPanel, MusicPanel };
struct FixedLabel {
    In in;
    int x, y, width, height;
    const wchar_t* text;
    DWORD align;
};
inline constexpr FixedLabel kFixedLabels[] = {
    {In::VideoPanel, 16, 16, 111, 13, L"AVI ﾌｧｲﾙ", SS_CENTER},
    {In::VideoPanel, 16, 44, 101, 13, L"AVI ﾌｧｲﾙの選択...", SS_LEFTNOWORDWRAP},
    {In::VideoPanel, 176, 32, 57, 13, L"ﾌﾚｰﾑ番号", SS_LEFTNOWORDWRAP},
    {In::VideoPanel, 176, 48, 31, 13, L"ｻｲｽﾞ ", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 12, 12, 152, 13, L"・ ﾌﾚｰﾑ番号を指定して表示", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 32, 36, 29, 13, L"From", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 120, 36, 32, 13, L"～ To", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 12, 60, 52, 13, L"・ ﾌﾚｰﾑを", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 120, 60, 74, 13, L"枚おきに表示", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 232, 12, 169, 13, L"・ 表示画像の大きさ (ﾋﾟｸｾﾙ値)", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 264, 36, 13, 13, L"幅", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 336, 36, 34, 13, L"* 高さ", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 232, 84, 72, 13, L"・ 表示ｽﾋﾟｰﾄﾞ", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 312, 100, 25, 13, L"速い", SS_LEFTNOWORDWRAP},
    {In::OptionsPanel, 384, 100, 25, 13, L"遅い", SS_LEFTNOWORDWRAP},
    {In::MusicPanel, 16, 16, 111, 13, L"BGM", SS_CENTER},
    {In::MusicPanel, 128, 40, 66, 13, L"曲目をﾘﾋﾟｰﾄ", SS_LEFTNOWORDWRAP},
};

// The frames around the two panel headings, drawn on their panels.
constexpr RECT kHeadingFrame{16, 12, 16 + 113, 12 + 21};

}  // namespace kineloop
