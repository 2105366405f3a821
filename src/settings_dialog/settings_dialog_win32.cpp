// The settings mode's dialog: its start, saving, leaving, the tab order, the speed bar and the
// dispatch of its messages. Its parts are built, loaded and chosen in the files beside this one.
#include "settings_dialog/show_settings_dialog_win32.h"

#include <algorithm>

#include <shellapi.h>

#include "controls/command_win32.h"
#include "platform/bitmap_resource_win32.h"
#include "platform/message_box_win32.h"
#include "platform/resource_ids.h"
#include "platform/screen_dpi_win32.h"
#include "platform/text_win32.h"
#include "platform/window_text_win32.h"
#include "platform/window_titles.h"
#include "settings/settings_file_win32.h"
#include "settings/settings_update_win32.h"
#include "settings_dialog/dialog_layout_win32.h"
#include "settings_dialog/dialog_panel_win32.h"
#include "settings_dialog/dialog_values.h"
#include "settings_dialog/settings_dialog_win32.h"
#include "settings_dialog/zoom_win32.h"

namespace kineloop {

namespace {

// The dialog's face at its size, Shift-JIS: where the system lacks the face it picks its own
// Japanese one.
UniqueFont DialogFont(bool underlined) {
    const int height = -MulDiv(kFontHundredthsOfPoint, ScreenDotsPerInch(true), 7200);
    return UniqueFont(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, underlined, FALSE,
                                  SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace));
}

}  // namespace

bool SettingsDialog::OnInit() {
    font_ = DialogFont(false);
    underlinedFont_ = DialogFont(true);
    bandPicture_ = LoadBitmapResource(IDB_DIALOG_BAND);
    optionOff_ = LoadBitmapResource(IDB_OPTION_OFF);
    optionOn_ = LoadBitmapResource(IDB_OPTION_ON);
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

// The "設定" button. The file is replaced whole or not at all; one that cannot be written is said
// so, and the dialog stays open with every edit in place.
void SettingsDialog::Save() {
    DialogValues values;
    static_cast<FrameBoxTexts&>(values) = BoxesShown();
    values.Fast = GetScrollPos(speedBar_, SB_CTL);
    values.Rate = static_cast<int>(SendMessageW(keepAspectBox_, BM_GETCHECK, 0, 0));
    values.BGM_Repeat = Narrow(WindowText(repeatTrackBox_));
    const std::wstring path = SettingsFilePath();
    SettingsFileUpdate file(path);
    if (!SaveDialogSettings(settings_.values, values, file) || !file.Commit()) {
        ShowInfoMessage(Widen(SaveFailedMessage(Narrow(path))), Hwnd());
        return;
    }
    Close(IDOK);
}

void SettingsDialog::OpenWebPage() {
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ShellExecuteW(Hwnd(), L"open", Widen(kMakerWebPage).c_str(), L"", L"", SW_SHOWNORMAL);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// Every way out passes here: the unload handler's zoom, then the end of the modal loop.
void SettingsDialog::Close(INT_PTR code) {
    zoom_.Close(Hwnd());
    End(code);
}

void SettingsDialog::EnableCommand(HWND command, bool enabled) {
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

bool SettingsDialog::MoveFocusInTabOrder(bool backwards) {
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

void SettingsDialog::Scroll(int request, int thumb) {
    int position = GetScrollPos(speedBar_, SB_CTL);
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
    SetScrollPos(speedBar_, SB_CTL, std::max(0, std::min(kFastLargest, position)), TRUE);
}

void SettingsDialog::OnCommand(int id, int notification, HWND) {
    // A label's double-click is one click: its first click has already been answered.
    const bool clicked = notification == BN_CLICKED;
    if (id == kTileWidthBox && notification == EN_KILLFOCUS) {
        ApplyKeepAspect();
        return;
    }
    if (!clicked)
        return;
    switch (id) {
        case kSetButton:
            Save();
            return;
        case IDCANCEL:  // Esc
        case kCancelButton:
            Close(IDCANCEL);
            return;
        case kChooseVideoButton:
            ChooseVideo();
            return;
        case kChooseMusicButton:
            ChooseMusicFile();
            return;
        case kKeepAspectBox:
            ApplyKeepAspect();
            return;
        case kKeepAspectLabel:
            // A click on the caption is a click on the box.
            SendMessageW(keepAspectBox_, BM_SETCHECK,
                         SendMessageW(keepAspectBox_, BM_GETCHECK, 0, 0) ^ 1, 0);
            ApplyKeepAspect();
            return;
        case kLinkLabel:
            OpenWebPage();
            return;
    }
    if (id >= kFirstMusicBullet && id < kFirstMusicBullet + 3)
        SelectMusicKind(id - kFirstMusicBullet);
    else if (id >= kFirstMusicLabel && id < kFirstMusicLabel + 3)
        SelectMusicKind(id - kFirstMusicLabel);
}

bool SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
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
            if (reinterpret_cast<HWND>(wParam) == linkLabel_ && linkPointer_) {
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
            if (reinterpret_cast<HWND>(lParam) == speedBar_)
                Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return answer(0);
        case WM_CLOSE:
            Close(IDCANCEL);  // the close box: leave without saving
            return answer(0);
    }
    return false;
}

void ShowSettingsDialog(LoadedSettings& settings, HWND owner) {
    SettingsDialog dialog(settings);
    dialog.Run(owner && IsWindow(owner) ? owner : nullptr, kSettingsDialogTitle,
               kSettingsDialogStyle);
}

}  // namespace kineloop
