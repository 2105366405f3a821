// Loading the settings dialog: each step on its own, one that cannot be done skipped; then the
// painted background of the dialog and its panels.
#include "settings_dialog/settings_dialog_win32.h"

#include "controls/command_win32.h"
#include "platform/bitmap_resource_win32.h"
#include "platform/screen_dpi_win32.h"
#include "platform/text_win32.h"
#include "platform/twips.h"
#include "settings_dialog/dialog_layout_win32.h"
#include "settings_dialog/dialog_panel_win32.h"
#include "settings_dialog/zoom_win32.h"

namespace kineloop {

namespace {

BOOL CALLBACK InitializeIfCommand(HWND control, LPARAM) {
    if (IsCommand(control))
        InitializeCommand(control);
    return TRUE;  // a control that is no button, or fails, does not stop the walk
}

}  // namespace

// Each step on its own; one that cannot be done is skipped.
void SettingsDialog::Load() {
    const SaverSettings& s = settings_.values;
    PlaceOnTheScreen();
    InitCommandButtons();
    for (HWND panel : {videoPanel_, optionsPanel_, musicPanel_})
        TilePanel(panel);
    DrawHeadingFrame(videoPanel_);
    DrawHeadingFrame(musicPanel_);
    // The video's own range and size are shown only once the stored video has been read.
    SetWindowTextW(frameRangeLabel_, L"");
    SetWindowTextW(frameSizeLabel_, L"");
    SetWindowTextW(videoPathLabel_, Widen(s.AVI_File).c_str());
    const LoadedTexts texts = TextsForLoad(s);
    ShowBoxes(texts);
    // The check box takes 0, 1 and 2 (greyed); setting it runs no keep-aspect rule.
    if (s.Rate >= 0 && s.Rate <= 2)
        SendMessageW(keepAspectBox_, BM_SETCHECK, static_cast<WPARAM>(s.Rate), 0);
    if (!s.AVI_File.empty())
        RefreshAviInfo();
    if (s.Fast >= 0 && s.Fast <= kFastLargest)  // the bar refuses what lies outside it
        SetScrollPos(speedBar_, SB_CTL, s.Fast, TRUE);
    ShowMusicKind(s.BgmKind);
    SetWindowTextW(repeatTrackBox_, Widen(texts.BGM_Repeat).c_str());
    for (const std::string& entry : RepeatListEntries())
        SendMessageW(repeatTrackBox_, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(entry).c_str()));
    SetWindowTextW(musicPathLabel_, Widen(s.BgmFile).c_str());
    // The zoom grows from where the pointer is when loading ends.
    zoom_.RecordOrigin();
    zoom_.Open(Hwnd());
}

void SettingsDialog::PlaceOnTheScreen() {
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

void SettingsDialog::InitCommandButtons() {
    // Every control of the dialog, those inside its panels included, in creation order.
    EnumChildWindows(Hwnd(), InitializeIfCommand, 0);
}

// Covers the panel with the band picture, column by column, each column top to bottom.
void SettingsDialog::TilePanel(HWND panel) {
    RetainedSurface* surface = PanelSurface(panel);
    const SIZE band = BitmapSize(bandPicture_.Get());
    if (!surface || !surface->Ready() || band.cx <= 0 || band.cy <= 0)
        return;
    UniqueMemoryDc source(CreateCompatibleDC(surface->Dc()));
    if (!source)
        return;
    SelectionScope selected(source.Get(), bandPicture_.Get());
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

void SettingsDialog::DrawHeadingFrame(HWND panel) {
    RetainedSurface* surface = PanelSurface(panel);
    if (!surface || !surface->Ready())
        return;
    FrameRect(surface->Dc(), &kHeadingFrame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The resize handler: a vertical band, dark blue at the edges and light in the middle.
void SettingsDialog::PaintBackground(int width, int height) {
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

void SettingsDialog::OnPaint() {
    PaintScope paint(Hwnd());
    background_.ShowOn(paint.Dc(), paint.Area());
}

}  // namespace kineloop
