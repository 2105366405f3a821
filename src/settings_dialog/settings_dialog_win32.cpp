// The settings mode's dialog `Kine_P`: its controls at their designed places on a painted
// background, the load steps, the video and music choices, the keep-aspect rule, saving and
// leaving.
#include "settings_dialog/settings_dialog_win32.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include <commdlg.h>
#include <shellapi.h>

#include "controls/command_win32.h"
#include "controls/property_store.h"
#include "frames/fdib_pointer.h"
#include "frames/frame_route_win32.h"
#include "frames/frame_source.h"
#include "platform/handles_win32.h"
#include "platform/message_box_win32.h"
#include "platform/modal_dialog_win32.h"
#include "platform/resource_ids.h"
#include "platform/surface_win32.h"
#include "platform/text_win32.h"
#include "platform/twips.h"
#include "settings/paths.h"
#include "settings/settings_file_win32.h"
#include "settings/settings_update_win32.h"
#include "settings/storable_path_win32.h"
#include "settings_dialog/dialog_panel_win32.h"
#include "settings_dialog/dialog_rules.h"
#include "settings_dialog/dialog_values.h"
#include "settings_dialog/video_probe_win32.h"
#include "settings_dialog/zoom_win32.h"

namespace kineloop {

namespace {

constexpr wchar_t kCaption[] = L"<Kineloopの設定>";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kClientWidth = 508;
constexpr int kClientHeight = 478;
constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontHundredthsOfPoint = 975;
constexpr int kFastLargest = 2000;
// Room for any path the file-open dialog can return (the longest a Unicode path can be).
constexpr int kFileBufferChars = 32768;

// One entry of the file-open dialog's filter list: what it says and the patterns it lists.
struct FileFilter {
    const wchar_t* description;
    const wchar_t* patterns;
};

// The video choice's filters: every kind of file the program can open, AVI files, all files.
const std::vector<FileFilter> kVideoFilters = {
    {L"動画ﾌｧｲﾙ", L"*.avi;*.mp4;*.m4v;*.mov;*.wmv;*.asf;*.mkv;*.webm;*.mpg;*.mpeg;*.3gp"},
    {L"AVIﾌｧｲﾙ", L"*.avi"},
    {L"すべてのﾌｧｲﾙ", L"*.*"},
};

// Control ids; IDOK and IDCANCEL stay free: Enter away from a button does nothing, and Esc
// (IDCANCEL) is ｷｬﾝｾﾙ.
enum ControlId : int {
    kPicB = 1001,
    kPicC,
    kPicD,
    kPicDisp,
    kCmdSet,
    kCmdCan,
    kLblCredit,
    kLblUrl,
    kCmdAviGet,
    kLblFname,
    kLblFlameFT,
    kLblFlameSize,
    kFlameFrom,
    kFlameTo,
    kFlameSkip,
    kPicWidth,
    kPicHeight,
    kChk,
    kLblChk,
    kHsFast,
    kBgmRepeat,
    kCmdFile,
    kLblBgmFile,
    kImgBgm0,  // three in a row
    kLblBgm0 = kImgBgm0 + 3,
    kFixedLabel = kLblBgm0 + 3,  // the labels nothing ever changes or clicks
};

// The labels that never change, in their containers, at their designed pixel places.
enum class In { PicB, PicC, PicD };
struct FixedLabel {
    In in;
    int x, y, width, height;
    const wchar_t* text;
    DWORD align;
};
const FixedLabel kFixedLabels[] = {
    {In::PicB, 16, 16, 111, 13, L"AVI ﾌｧｲﾙ", SS_CENTER},
    {In::PicB, 16, 44, 101, 13, L"AVI ﾌｧｲﾙの選択...", SS_LEFTNOWORDWRAP},
    {In::PicB, 176, 32, 57, 13, L"ﾌﾚｰﾑ番号", SS_LEFTNOWORDWRAP},
    {In::PicB, 176, 48, 31, 13, L"ｻｲｽﾞ ", SS_LEFTNOWORDWRAP},
    {In::PicC, 12, 12, 152, 13, L"・ ﾌﾚｰﾑ番号を指定して表示", SS_LEFTNOWORDWRAP},
    {In::PicC, 32, 36, 29, 13, L"From", SS_LEFTNOWORDWRAP},
    {In::PicC, 120, 36, 32, 13, L"～ To", SS_LEFTNOWORDWRAP},
    {In::PicC, 12, 60, 52, 13, L"・ ﾌﾚｰﾑを", SS_LEFTNOWORDWRAP},
    {In::PicC, 120, 60, 74, 13, L"枚おきに表示", SS_LEFTNOWORDWRAP},
    {In::PicC, 232, 12, 169, 13, L"・ 表示画像の大きさ (ﾋﾟｸｾﾙ値)", SS_LEFTNOWORDWRAP},
    {In::PicC, 264, 36, 13, 13, L"幅", SS_LEFTNOWORDWRAP},
    {In::PicC, 336, 36, 34, 13, L"* 高さ", SS_LEFTNOWORDWRAP},
    {In::PicC, 232, 84, 72, 13, L"・ 表示ｽﾋﾟｰﾄﾞ", SS_LEFTNOWORDWRAP},
    {In::PicC, 312, 100, 25, 13, L"速い", SS_LEFTNOWORDWRAP},
    {In::PicC, 384, 100, 25, 13, L"遅い", SS_LEFTNOWORDWRAP},
    {In::PicD, 16, 16, 111, 13, L"BGM", SS_CENTER},
    {In::PicD, 128, 40, 66, 13, L"曲目をﾘﾋﾟｰﾄ", SS_LEFTNOWORDWRAP},
};

// The frames around the two panel headings (`Shape3`), drawn on their panels.
constexpr RECT kHeadingFrame{16, 12, 16 + 113, 12 + 21};

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

UniqueBitmap LoadPicture(int id) {
    return UniqueBitmap(static_cast<HBITMAP>(LoadImageW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE PictureSize(HBITMAP picture) {
    BITMAP info{};
    if (!picture || !GetObjectW(picture, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

int ScreenDotsPerInch(bool vertical) {
    WindowDc screen(nullptr);
    return screen.Get() ? GetDeviceCaps(screen.Get(), vertical ? LOGPIXELSY : LOGPIXELSX) : 96;
}

// The dialog's face at its size, Shift-JIS: where the system lacks the face it picks its own
// Japanese one.
UniqueFont DialogFont(bool underlined) {
    const int height = -MulDiv(kFontHundredthsOfPoint, ScreenDotsPerInch(true), 7200);
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace));
}

// The platform's file-open dialog with the filters in this order; false when the user cancelled.
bool AskForFile(HWND owner, const std::vector<FileFilter>& filters, const std::string& startFolder,
                std::wstring& chosen) {
    std::wstring filter;
    for (const FileFilter& entry : filters) {
        filter += entry.description;
        filter.push_back(L'\0');
        filter += entry.patterns;
        filter.push_back(L'\0');
    }
    filter.push_back(L'\0');
    std::vector<wchar_t> file(kFileBufferChars, L'\0');
    std::vector<wchar_t> title(kFileBufferChars, L'\0');
    const std::wstring folder = Widen(startFolder);
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = GetModuleHandleW(nullptr);
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = kFileBufferChars;
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = kFileBufferChars;
    request.lpstrInitialDir = folder.c_str();
    request.lpstrTitle = L"ﾌｧｲﾙを開く";
    if (!GetOpenFileNameW(&request))
        return false;
    chosen.assign(file.data());
    return true;
}

class KineP : public ModalDialog {
  public:
    explicit KineP(LoadedSettings& settings) : settings_(settings) {}

  protected:
    bool OnInit() override;
    void OnCommand(int id, int notification, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

  private:
    // Building.
    void GiveClientAreaItsSize();
    void CreateControls();
    HWND Label(HWND parent, int id, int x, int y, int width, int height, const std::wstring& text,
               DWORD style);
    HWND TextBox(HWND parent, int id, int x, int y, int width, int height);
    HWND Button(HWND parent, int id, const char* caption, int x, int y, int width, int height);
    void SetFont(HWND control, HFONT font) const;

    // Load steps.
    void Load();
    void PlaceOnTheScreen();
    void InitCommandButtons();
    void TilePanel(HWND panel);
    void DrawHeadingFrame(HWND panel);

    // Painting.
    void PaintBackground(int width, int height);
    void OnPaint();

    // Behaviour.
    void ChooseVideo();
    void RefreshAviInfo();
    void ShowVideoUpdate(const VideoUpdate& update);
    void DrawThumbnail(const std::vector<uint8_t>& packedFrame);
    void ApplyKeepAspect();
    void SelectMusicKind(int kind);
    void ShowMusicKind(int kind);
    void ChooseMusicFile();
    void Save();
    void OpenWebPage();
    void Close(INT_PTR code);
    bool MoveFocusInTabOrder(bool backwards);
    void Scroll(int request, int thumb);
    void EnableCommand(HWND command, bool enabled);

    LoadedSettings& settings_;
    VideoNumbers numbers_;

    UniqueFont font_;
    UniqueFont underlinedFont_;
    UniqueBitmap band_;       // Pic_Mbl
    UniqueBitmap optionOff_;  // Img_Opt(0)
    UniqueBitmap optionOn_;   // Img_Opt(1)
    HCURSOR linkPointer_ = nullptr;
    RetainedSurface background_;

    HWND picB_ = nullptr, picC_ = nullptr, picD_ = nullptr, picDisp_ = nullptr;
    HWND cmdSet_ = nullptr, cmdCan_ = nullptr, cmdAviGet_ = nullptr, cmdFile_ = nullptr;
    HWND lblCredit_ = nullptr, lblUrl_ = nullptr, lblFname_ = nullptr, lblFlameFT_ = nullptr,
         lblFlameSize_ = nullptr, lblChk_ = nullptr, lblBgmFile_ = nullptr;
    HWND flameFrom_ = nullptr, flameTo_ = nullptr, flameSkip_ = nullptr, picWidth_ = nullptr,
         picHeight_ = nullptr, chk_ = nullptr, hsFast_ = nullptr, bgmRepeat_ = nullptr;
    HWND imgBgm_[3] = {}, lblBgm_[3] = {};
    std::vector<HWND> tabOrder_;
};

bool KineP::OnInit() {
    font_ = DialogFont(false);
    underlinedFont_ = DialogFont(true);
    band_ = LoadPicture(IDB_DIALOG_BAND);
    optionOff_ = LoadPicture(IDB_OPTION_OFF);
    optionOn_ = LoadPicture(IDB_OPTION_ON);
    linkPointer_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDCUR_LINK_HAND));
    if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KINELOOP))) {
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);

    GiveClientAreaItsSize();
    CreateControls();
    Load();
    SetFocus(tabOrder_.front());
    return false;
}

void KineP::GiveClientAreaItsSize() {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE)));
    // The resize handler paints the background as the client area gets its size.
    SetWindowPos(Hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KineP::SetFont(HWND control, HFONT font) const {
    if (control)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

HWND KineP::Label(HWND parent, int id, int x, int y, int width, int height,
                  const std::wstring& text, DWORD style) {
    const HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style, x,
                        y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    SetFont(label, font_.Get());
    return label;
}

HWND KineP::TextBox(HWND parent, int id, int x, int y, int width, int height) {
    const HWND box = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x, y,
        width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    SetFont(box, font_.Get());
    return box;
}

HWND KineP::Button(HWND parent, int id, const char* caption, int x, int y, int width, int height) {
    return CreateCommand(parent, id, StoredButtonDesign(caption), x, y, width, height);
}

void KineP::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    auto id = [](int value) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(value)); };

    // The dialog's own controls.
    picB_ = CreateDialogPanel(Hwnd(), kPicB, 12, 12, 481, 253);
    picD_ = CreateDialogPanel(Hwnd(), kPicD, 12, 276, 481, 145);
    cmdSet_ = Button(Hwnd(), kCmdSet, "設定", 344, 432, 73, 29);
    cmdCan_ = Button(Hwnd(), kCmdCan, "ｷｬﾝｾﾙ", 420, 432, 73, 29);
    lblCredit_ = Label(Hwnd(), kLblCredit, 12, 428, 165, 13,
                       L"(C) Kineloop  Ver " + Widen(KINELOOP_VERSION_TEXT), SS_LEFTNOWORDWRAP);
    lblUrl_ = Label(Hwnd(), kLblUrl, 12, 444, 219, 13, Widen(kMakerWebPage),
                    SS_LEFTNOWORDWRAP | SS_NOTIFY);
    SetFont(lblUrl_, underlinedFont_.Get());

    // The video panel.
    cmdAviGet_ = Button(picB_, kCmdAviGet, "...", 124, 36, 37, 25);
    lblFname_ = Label(picB_, kLblFname, 16, 68, 353, 33, L"", SS_LEFT | WS_BORDER);
    lblFlameFT_ = Label(picB_, kLblFlameFT, 248, 32, 77, 13, L"9999 ～ 9999", SS_LEFTNOWORDWRAP);
    lblFlameSize_ = Label(picB_, kLblFlameSize, 248, 48, 71, 13, L"9999 * 9999", SS_LEFTNOWORDWRAP);
    picDisp_ =
        CreateDialogPanel(picB_, kPicDisp, kThumbnailLeft, 16, kThumbnailSide, kThumbnailSide);
    if (RetainedSurface* empty = PanelSurface(picDisp_)) {
        RECT all{0, 0, empty->Width(), empty->Height()};
        FillRect(empty->Dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    picC_ = CreateDialogPanel(picB_, kPicC, 16, 108, 445, 125);

    // The playback options.
    flameFrom_ = TextBox(picC_, kFlameFrom, 68, 32, 45, 18);
    flameTo_ = TextBox(picC_, kFlameTo, 156, 32, 41, 18);
    flameSkip_ = TextBox(picC_, kFlameSkip, 68, 56, 45, 18);
    picWidth_ = TextBox(picC_, kPicWidth, 284, 32, 45, 18);
    picHeight_ = TextBox(picC_, kPicHeight, 376, 32, 41, 17);
    chk_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                           264, 56, 17, 13, picC_, id(kChk), instance, nullptr);
    lblChk_ = Label(picC_, kLblChk, 280, 56, 123, 13, L"幅で高さの比率を維持",
                    SS_LEFTNOWORDWRAP | SS_NOTIFY);
    hsFast_ = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SBS_HORZ,
                              312, 80, 97, 17, picC_, id(kHsFast), instance, nullptr);
    SetScrollRange(hsFast_, SB_CTL, 0, kFastLargest, FALSE);

    // The music panel.
    const int bulletTops[3] = {56, 40, 72};  // kinds 0, 1, 2 from their designed places
    const wchar_t* kindCaptions[3] = {L"なし", L"音楽CD", L"MP3、WAV"};
    const int captionWidths[3] = {22, 43, 60};
    for (int kind = 0; kind < 3; ++kind) {
        imgBgm_[kind] = CreateBullet(picD_, kImgBgm0 + kind, 16, bulletTops[kind], 13, 13);
        lblBgm_[kind] = Label(picD_, kLblBgm0 + kind, 32, bulletTops[kind], captionWidths[kind], 13,
                              kindCaptions[kind], SS_LEFTNOWORDWRAP | SS_NOTIFY);
    }
    bgmRepeat_ = CreateWindowExW(
        0, L"COMBOBOX", L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 80, 36,
        41, 20 + 200, picD_, id(kBgmRepeat), instance, nullptr);
    SetFont(bgmRepeat_, font_.Get());
    // The closed box is 20 pixels high whatever the font's own height. What the field height
    // asked for gives is measured, not assumed: the platforms count its padding differently.
    LRESULT field = SendMessageW(bgmRepeat_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 4 && field > 0; ++attempt) {
        RECT closed{};
        GetWindowRect(bgmRepeat_, &closed);
        const LONG missing = 20 - (closed.bottom - closed.top);
        if (missing == 0 || field + missing <= 0)
            break;
        field += missing;
        SendMessageW(bgmRepeat_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
    cmdFile_ = Button(picD_, kCmdFile, "...", 100, 64, 33, 25);
    lblBgmFile_ = Label(picD_, kLblBgmFile, 16, 92, 445, 33, L"", SS_LEFT | WS_BORDER);

    int fixedId = kFixedLabel;
    for (const FixedLabel& label : kFixedLabels) {
        const HWND parent = label.in == In::PicB ? picB_ : label.in == In::PicC ? picC_ : picD_;
        Label(parent, fixedId++, label.x, label.y, label.width, label.height, label.text,
              label.align);
    }

    tabOrder_ = {flameFrom_, flameTo_, picWidth_,  picHeight_, flameSkip_, cmdFile_,
                 cmdSet_,    cmdCan_,  cmdAviGet_, bgmRepeat_, chk_,       hsFast_};
}

// Load: each step on its own; one that cannot be done is skipped.
void KineP::Load() {
    const SaverSettings& s = settings_.values;
    PlaceOnTheScreen();                       // 1
    InitCommandButtons();                     // 2
    for (HWND panel : {picB_, picC_, picD_})  // 3
        TilePanel(panel);
    DrawHeadingFrame(picB_);
    DrawHeadingFrame(picD_);
    SetWindowTextW(lblFlameFT_, L"");  // 4
    SetWindowTextW(lblFlameSize_, L"");
    SetWindowTextW(lblFname_, Widen(s.AVI_File).c_str());  // 5
    const LoadedTexts texts = TextsForLoad(s);
    SetWindowTextW(flameFrom_, Widen(texts.Flame_From).c_str());  // 6 - 10
    SetWindowTextW(flameTo_, Widen(texts.Flame_To).c_str());
    SetWindowTextW(picWidth_, Widen(texts.Pic_Width).c_str());
    SetWindowTextW(picHeight_, Widen(texts.Pic_Height).c_str());
    SetWindowTextW(flameSkip_, Widen(texts.Flame_Skip).c_str());
    // 11: the check box takes 0, 1 and 2 (greyed); setting it runs no keep-aspect rule.
    if (s.Rate >= 0 && s.Rate <= 2)
        SendMessageW(chk_, BM_SETCHECK, static_cast<WPARAM>(s.Rate), 0);
    if (!s.AVI_File.empty())  // 12
        RefreshAviInfo();
    if (s.Fast >= 0 && s.Fast <= kFastLargest)  // 13: the bar refuses what lies outside it
        SetScrollPos(hsFast_, SB_CTL, s.Fast, TRUE);
    ShowMusicKind(s.BgmKind);                                     // 14 - 18
    SetWindowTextW(bgmRepeat_, Widen(texts.BGM_Repeat).c_str());  // 19
    for (const std::string& entry : RepeatListEntries())          // 20
        SendMessageW(bgmRepeat_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    SetWindowTextW(lblBgmFile_, Widen(s.BgmFile).c_str());  // 21
    RecordZoomOrigin();                                     // 22
    ZoomOpen(Hwnd());                                       // 23
}

void KineP::PlaceOnTheScreen() {
    RECT frame{};
    if (!GetWindowRect(Hwnd(), &frame))
        return;
    const DialogPlace place = PlaceOnScreen(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frame.right - frame.left,
        frame.bottom - frame.top, TwipsPerPixel(ScreenDotsPerInch(false)),
        TwipsPerPixel(ScreenDotsPerInch(true)));
    SetWindowPos(Hwnd(), nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK InitializeIfCommand(HWND control, LPARAM) {
    if (IsCommand(control))
        InitializeCommand(control);
    return TRUE;  // a control that is no button, or fails, does not stop the walk
}

void KineP::InitCommandButtons() {
    // Every control of the dialog, those inside its panels included, in creation order.
    EnumChildWindows(Hwnd(), InitializeIfCommand, 0);
}

// Covers the panel with the band picture, column by column, each column top to bottom.
void KineP::TilePanel(HWND panel) {
    RetainedSurface* surface = PanelSurface(panel);
    const SIZE band = PictureSize(band_.Get());
    if (!surface || !surface->Ready() || band.cx <= 0 || band.cy <= 0)
        return;
    UniqueMemoryDc source(CreateCompatibleDC(surface->Dc()));
    if (!source)
        return;
    SelectionScope selected(source.Get(), band_.Get());
    const int pw = surface->Width(), ph = surface->Height();
    int x = 0, y = 0;
    for (;;) {
        BitBlt(surface->Dc(), x, y, band.cx, band.cy, source.Get(), 0, 0, SRCCOPY);
        if (y > ph) {
            if (x > pw)
                break;
            x += band.cx;
            y = 0;
        } else {
            y += band.cy;
        }
    }
    InvalidateRect(panel, nullptr, FALSE);
}

void KineP::DrawHeadingFrame(HWND panel) {
    RetainedSurface* surface = PanelSurface(panel);
    if (!surface || !surface->Ready())
        return;
    FrameRect(surface->Dc(), &kHeadingFrame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The resize handler: a vertical band, dark blue at the edges and light in the middle.
void KineP::PaintBackground(int width, int height) {
    if (!background_.Resize(width, height))
        return;
    const HDC dc = background_.Dc();
    const auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (int row = 0; row <= height; ++row) {
        const BandColour c = BackgroundRowColour(row, height);
        SetDCBrushColor(dc, RGB(c.r, c.g, c.b));
        RECT line{0, row, width, row + 1};
        FillRect(dc, &line, brush);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void KineP::OnPaint() {
    PaintScope paint(Hwnd());
    background_.ShowOn(paint.Dc(), paint.Area());
}

void KineP::ShowVideoUpdate(const VideoUpdate& update) {
    if (update.Fname)
        SetWindowTextW(lblFname_, Widen(*update.Fname).c_str());
    if (update.FrameRange)
        SetWindowTextW(lblFlameFT_, Widen(*update.FrameRange).c_str());
    if (update.FrameSize)
        SetWindowTextW(lblFlameSize_, Widen(*update.FrameSize).c_str());
    if (update.Boxes) {
        SetWindowTextW(flameFrom_, Widen(update.Boxes->Flame_From).c_str());
        SetWindowTextW(flameTo_, Widen(update.Boxes->Flame_To).c_str());
        SetWindowTextW(picWidth_, Widen(update.Boxes->Pic_Width).c_str());
        SetWindowTextW(picHeight_, Widen(update.Boxes->Pic_Height).c_str());
        SetWindowTextW(flameSkip_, Widen(update.Boxes->Flame_Skip).c_str());
    }
}

// Click of Cmd_Avi_Get. A file whose name cannot be stored, or that the show could not play, is
// refused with one message; the panel and the stored choice stay as they were.
void KineP::ChooseVideo() {
    std::wstring chosen;
    if (!AskForFile(Hwnd(), kVideoFilters, settings_.AviFolder, chosen))
        return;
    const std::optional<std::wstring> path = StorablePath(chosen);
    VideoProbe probe;
    if (path)
        probe = ProbeVideo(*path);
    const VideoUpdate update = path ? ChosenVideo(Narrow(*path), probe.facts, settings_, numbers_)
                                    : UnstorableVideo(Narrow(chosen), settings_);
    ShowVideoUpdate(update);
    if (update.drawThumbnail)
        DrawThumbnail(probe.firstFrame);
    switch (update.refusal) {
        case ChoiceRefusal::None:
            break;
        case ChoiceRefusal::NameNotStorable:
            ShowInfoMessage(Widen(UnstorableNameMessage(Narrow(chosen))), Hwnd());
            break;
        case ChoiceRefusal::Unreadable:
            ShowInfoMessage(UnreadableVideoMessage(chosen), Hwnd());
            break;
        case ChoiceRefusal::FewColours:
            ShowInfoMessage(Widen(RefusedColoursMessage(Narrow(chosen))), Hwnd());
            break;
    }
}

// The stored video, read again at load: labels, shape and thumbnail, never the text boxes.
void KineP::RefreshAviInfo() {
    const std::wstring path = TextOf(lblFname_);
    const VideoProbe probe = ProbeVideo(path);
    const VideoUpdate update = StoredVideo(probe.facts, numbers_);
    ShowVideoUpdate(update);
    if (update.drawThumbnail)
        DrawThumbnail(probe.firstFrame);
    if (probe.openFailed)
        ShowInfoMessage(UnreadableVideoMessage(path), Hwnd());
}

// The first frame fitted into Pic_Disp, through the scratch file, with its bottom edge kept.
void KineP::DrawThumbnail(const std::vector<uint8_t>& packedFrame) {
    const void* packed = packedFrame.empty() ? nullptr : packedFrame.data();
    const std::optional<DibHeader> frame = AcceptPackedFrame(packed, packedFrame.size());
    if (!frame)
        return;
    const std::optional<ThumbnailBox> box =
        ThumbnailBoxFor(frame->biWidth, std::abs(frame->biHeight));
    FrameRoute route;
    if (!box || route.Take(packed, packedFrame.size(), box->width, box->height, box->width,
                           box->height) != FrameRoute::Result::kReadBack)
        return;
    RetainedSurface* surface = PanelSurface(picDisp_);
    if (!surface || !surface->Resize(box->width, box->height))
        return;
    route.DrawLast(surface->Dc(), 0, 0);
    SetWindowPos(picDisp_, nullptr, box->left, box->top, box->width, box->height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(picDisp_, nullptr, FALSE);
}

void KineP::ApplyKeepAspect() {
    const auto check = static_cast<int>(SendMessageW(chk_, BM_GETCHECK, 0, 0));
    const std::optional<std::string> height =
        KeepAspectHeight(check, Narrow(TextOf(picWidth_)), numbers_.AviWidth, numbers_.AviHeight);
    if (height)
        SetWindowTextW(picHeight_, Widen(*height).c_str());
}

void KineP::EnableCommand(HWND command, bool enabled) {
    if (enabled) {
        SetCommandEnabled(command, true);
        EnableWindow(command, TRUE);
        return;
    }
    // The focus moves on first, while the button still answers its loss; a disabled button
    // takes no input, and other programs can see its state.
    if (command && GetFocus() == command)
        MoveFocusInTabOrder(false);
    EnableWindow(command, FALSE);
    SetCommandEnabled(command, false);
}

// The bullets and the two controls that depend on the kind; a kind outside 0 to 2 selects no
// bullet.
void KineP::ShowMusicKind(int kind) {
    EnableWindow(bgmRepeat_, FALSE);
    for (HWND bullet : imgBgm_)
        SetBulletPicture(bullet, optionOff_.Get());
    if (kind >= 0 && kind <= 2)
        SetBulletPicture(imgBgm_[kind], optionOn_.Get());
    if (kind == kAudioCd)
        EnableWindow(bgmRepeat_, TRUE);
    EnableCommand(cmdFile_, kind == kMusicFile);
}

void KineP::SelectMusicKind(int kind) {
    settings_.values.BgmKind = static_cast<int16_t>(kind);
    ShowMusicKind(kind);
}

void KineP::ChooseMusicFile() {
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
    SetWindowTextW(lblBgmFile_, path->c_str());
}

// Click of Cmd_Set. The file is replaced whole or not at all; one that cannot be written is said
// so, and the dialog stays open with every edit in place.
void KineP::Save() {
    DialogValues values;
    values.Flame_From = Narrow(TextOf(flameFrom_));
    values.Flame_To = Narrow(TextOf(flameTo_));
    values.Pic_Width = Narrow(TextOf(picWidth_));
    values.Pic_Height = Narrow(TextOf(picHeight_));
    values.Flame_Skip = Narrow(TextOf(flameSkip_));
    values.Fast = GetScrollPos(hsFast_, SB_CTL);
    values.Rate = static_cast<int>(SendMessageW(chk_, BM_GETCHECK, 0, 0));
    values.BGM_Repeat = Narrow(TextOf(bgmRepeat_));
    const std::wstring path = SettingsFilePath();
    SettingsFileUpdate file(path);
    if (!SaveDialogSettings(settings_.values, values, file) || !file.Commit()) {
        ShowInfoMessage(Widen(SaveFailedMessage(Narrow(path))), Hwnd());
        return;
    }
    Close(IDOK);
}

void KineP::OpenWebPage() {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ShellExecuteW(Hwnd(), L"open", Widen(kMakerWebPage).c_str(), L"", L"", SW_SHOWNORMAL);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// Every way out passes here: the unload handler's zoom, then the end of the modal loop.
void KineP::Close(INT_PTR code) {
    ZoomClose(Hwnd());
    End(code);
}

bool KineP::MoveFocusInTabOrder(bool backwards) {
    const HWND focus = GetFocus();
    const auto count = static_cast<int>(tabOrder_.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (tabOrder_[static_cast<size_t>(i)] == focus ||
            IsChild(tabOrder_[static_cast<size_t>(i)], focus))
            at = i;
    for (int step = 1; step <= count; ++step) {
        const int next = at < 0 ? (backwards ? count - step : step - 1)
                                : ((at + (backwards ? -step : step)) % count + count) % count;
        const HWND candidate = tabOrder_[static_cast<size_t>(next)];
        if (candidate && IsWindowVisible(candidate) && IsWindowEnabled(candidate)) {
            SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(candidate), TRUE);
            return true;
        }
    }
    return false;
}

void KineP::Scroll(int request, int thumb) {
    int position = GetScrollPos(hsFast_, SB_CTL);
    switch (request) {
        case SB_LINELEFT:
            position -= 10;
            break;
        case SB_LINERIGHT:
            position += 10;
            break;
        case SB_PAGELEFT:
            position -= 100;
            break;
        case SB_PAGERIGHT:
            position += 100;
            break;
        case SB_LEFT:
            position = 0;
            break;
        case SB_RIGHT:
            position = kFastLargest;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = thumb;
            break;
        default:
            return;
    }
    SetScrollPos(hsFast_, SB_CTL, std::max(0, std::min(kFastLargest, position)), TRUE);
}

void KineP::OnCommand(int id, int notification, HWND) {
    // A label's double-click is one click: its first click has already been answered.
    const bool clicked = notification == BN_CLICKED;
    if (id == kPicWidth && notification == EN_KILLFOCUS) {
        ApplyKeepAspect();
        return;
    }
    if (!clicked)
        return;
    switch (id) {
        case kCmdSet:
            Save();
            return;
        case IDCANCEL:  // Esc
        case kCmdCan:
            Close(IDCANCEL);
            return;
        case kCmdAviGet:
            ChooseVideo();
            return;
        case kCmdFile:
            ChooseMusicFile();
            return;
        case kChk:
            ApplyKeepAspect();
            return;
        case kLblChk:
            // A click on the caption is a click on the box.
            SendMessageW(chk_, BM_SETCHECK, SendMessageW(chk_, BM_GETCHECK, 0, 0) ^ 1, 0);
            ApplyKeepAspect();
            return;
        case kLblUrl:
            OpenWebPage();
            return;
    }
    if (id >= kImgBgm0 && id < kImgBgm0 + 3)
        SelectMusicKind(id - kImgBgm0);
    else if (id >= kLblBgm0 && id < kLblBgm0 + 3)
        SelectMusicKind(id - kLblBgm0);
}

bool KineP::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    // Answers whose value the dialog manager takes from DWLP_MSGRESULT.
    auto answer = [&](LONG_PTR value) {
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, value);
        result = TRUE;
        return true;
    };
    switch (message) {
        case WM_SIZE:
            PaintBackground(LOWORD(lParam), HIWORD(lParam));
            return false;
        case WM_ERASEBKGND:
            return answer(1);
        case WM_PAINT:
            OnPaint();
            return answer(0);
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            PaintBehind(dc, reinterpret_cast<HWND>(lParam), Hwnd(), background_);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            result = reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
            return true;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == lblUrl_ && linkPointer_) {
                SetCursor(linkPointer_);
                return answer(TRUE);
            }
            return false;
        case WM_NEXTDLGCTL:
            // Tab and Shift+Tab follow the designed order across the panels.
            if (LOWORD(lParam) == 0 && MoveFocusInTabOrder(wParam != 0))
                return answer(0);
            return false;
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == hsFast_)
                Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return answer(0);
        case WM_CLOSE:
            Close(IDCANCEL);  // the close box: leave without saving
            return answer(0);
    }
    return false;
}

}  // namespace

void ShowSettingsDialog(LoadedSettings& settings, HWND owner) {
    KineP dialog(settings);
    dialog.Run(owner && IsWindow(owner) ? owner : nullptr, kCaption, kStyle);
}

}  // namespace kineloop
