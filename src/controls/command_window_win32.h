// The Command button's window state: the rules in CommandModel, the drawing and the input here.
// Its painting and its input handlers are defined in their own files.
#pragma once

#include <array>

#include <windows.h>

#include "controls/command_face.h"
#include "controls/command_font_win32.h"
#include "controls/command_model.h"
#include "controls/property_store.h"
#include "platform/handles_win32.h"
#include "platform/surface_win32.h"
#include "platform/window_win32.h"

namespace kineloop {

constexpr UINT_PTR kMouseTimerId = 1;
constexpr UINT kMouseTimerMs = 100;
// `LblMsg` at creation: left 0, top 90, width 1635 twips.
constexpr int kLabelCreationTop = 90;
constexpr int kLabelCreationWidth = 1635;

// One Command control: the rules in CommandModel, the drawing here.
class CommandWindow : public WindowState, private CommandLook {
  public:
    CommandWindow();

    CommandModel& Model() { return model_; }
    FontSpec AmbientFont() const { return AmbientFontOf(GetParent(Hwnd())); }

    // Once created: the stored properties read, then the size applied.
    void Restore(const PropertyStore& design) {
        model_.ReadProperties(design, AmbientFont());
        sized_ = true;
        model_.Resized();
    }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // CommandLook.
    void PaintFace(StatePicture picture) override;
    void LabelChanged() override;
    void BackgroundChanged() override { Compose(); }
    void StartMouseTimer() override { SetTimer(Hwnd(), kMouseTimerId, kMouseTimerMs, nullptr); }
    // The design is saved by the container when it asks (SaveCommand); nothing to tell here.
    void MarkChanged(const char*) override {}

    void OnPaint();
    void OnPointerMoved(LPARAM lParam);
    void OnPress(PointerButton button);
    void OnRelease(PointerButton button, WPARAM stillDown, LPARAM lParam);
    void OnCaptureLost(HWND taker);
    void OnKey(UINT message, WPARAM key, LPARAM flags);
    PointerPlace PlaceOf(LPARAM clientPoint) const;
    void RaiseClick();
    void OnMouseTimer();

    SIZE ClientSize() const;
    int TwipsPerPixelNow() const;
    void FillGradient(int width, int height);
    void DrawCaption(HDC dc, int width);
    void Compose();
    HFONT CaptionFont();

    CommandModel model_;
    std::array<UniqueBitmap, kStatePictureCount> pictures_;
    BorderSlices slices_{};
    RetainedSurface face_;      // what PaintFace drew
    RetainedSurface composed_;  // the face (or the container) with the caption: what WM_PAINT shows
    int labelTop_ = kLabelCreationTop;      // twips
    int labelWidth_ = kLabelCreationWidth;  // twips
    UniqueFont font_;
    FontSpec fontShown_;
    unsigned pressed_ = 0;  // the buttons pressed on this control and not yet released
    bool sized_ = false;
};

// The Command state of `window`; nullptr for no window or a window of another kind.
CommandWindow* CommandOf(HWND window);

}  // namespace kineloop
