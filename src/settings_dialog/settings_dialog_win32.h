// The settings dialog's window: its controls, the pictures it paints with, and the handlers that
// its parts (building, loading, background, video and music choices) define in their own files.
#pragma once

#include <cstdint>
#include <vector>

#include <windows.h>

#include "scratch/scratch_file_win32.h"
#include "platform/handles_win32.h"
#include "platform/modal_dialog_win32.h"
#include "platform/surface_win32.h"
#include "settings/saver_settings.h"
#include "settings_dialog/dialog_rules.h"
#include "settings_dialog/zoom_win32.h"

namespace kineloop {

struct VideoProbe;

class SettingsDialog : public ModalDialog {
  public:
    explicit SettingsDialog(LoadedSettings& settings) : settings_(settings) {}

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

    // The video choice.
    void ShowBoxes(const FrameBoxTexts& boxes);
    FrameBoxTexts BoxesShown() const;
    void ChooseVideo();
    void RefreshAviInfo();
    void ShowVideoUpdate(const VideoUpdate& update);
    void DrawThumbnail(const VideoProbe& probe);
    void ApplyKeepAspect();

    // The music choice.
    void SelectMusicKind(int kind);
    void ShowMusicKind(int kind);
    void ChooseMusicFile();

    // Leaving, moving between the controls.
    void Save();
    void OpenWebPage();
    void Close(INT_PTR code);
    bool MoveFocusInTabOrder(bool backwards);
    void Scroll(int request, int thumb);
    void EnableCommand(HWND command, bool enabled);

    LoadedSettings& settings_;
    VideoNumbers numbers_;
    // Where every thumbnail goes through the scratch file while the dialog is open.
    ScratchPlaces scratchPlaces_ = ProgramScratchPlaces();

    UniqueFont font_;
    UniqueFont underlinedFont_;
    UniqueBitmap bandPicture_;  // tiled over the three panels
    UniqueBitmap optionOff_;    // the music kinds' bullets
    UniqueBitmap optionOn_;
    HCURSOR linkPointer_ = nullptr;
    RetainedSurface background_;
    WindowZoom zoom_;

    HWND videoPanel_ = nullptr, optionsPanel_ = nullptr, musicPanel_ = nullptr,
         thumbnail_ = nullptr;
    HWND setButton_ = nullptr, cancelButton_ = nullptr, chooseVideoButton_ = nullptr,
         chooseMusicButton_ = nullptr;
    HWND creditLabel_ = nullptr, linkLabel_ = nullptr, videoPathLabel_ = nullptr,
         frameRangeLabel_ = nullptr, frameSizeLabel_ = nullptr, keepAspectLabel_ = nullptr,
         musicPathLabel_ = nullptr;
    HWND firstFrameBox_ = nullptr, lastFrameBox_ = nullptr, frameStepBox_ = nullptr,
         tileWidthBox_ = nullptr, tileHeightBox_ = nullptr, keepAspectBox_ = nullptr,
         speedBar_ = nullptr, repeatTrackBox_ = nullptr;
    HWND musicKindBullets_[3] = {}, musicKindLabels_[3] = {};
    std::vector<HWND> tabOrder_;
};

}  // namespace kineloop
