// The rules of the Command button: its fields, its properties with their side effects, the saving
// and restoring of its persisted properties, and the pointer/focus state machine.
#pragma once

#include <cstdint>
#include <string>

#include "controls/property_store.h"

namespace kineloop {

// The six state pictures; each holds the border of one look.
enum class StatePicture { Normal, HighLight, Selected, HighLightSelect, Pressed, Disable };
constexpr int kStatePictureCount = 6;

enum class PointerButton { Left, Right, Middle };

// Where the poll of `TmrMouse` found the pointer, or where a button was released.
enum class PointerPlace { OverControl, OverParent, Elsewhere };

// The keys a focused button answers.
enum class CommandKey { Space, Enter };

// What the rules ask of the window that shows the button.
class CommandLook {
  public:
    virtual ~CommandLook() = default;
    // Draws the face with `picture`; the model has already set `ReverseFace` for it.
    virtual void PaintFace(StatePicture picture) = 0;
    // The caption label's text, font, colour or enabled look changed: show it again.
    virtual void LabelChanged() = 0;
    // The background style changed.
    virtual void BackgroundChanged() = 0;
    virtual void StartMouseTimer() = 0;
    // Tells the container that persisted property `name` changed.
    virtual void MarkChanged(const char* name) = 0;
};

// The caption label `LblMsg` as the rules see it.
struct CaptionLabel {
    std::string caption = "Command";
    FontSpec font = ButtonDesignFont();
    uint32_t colour = 0;  // 0x00BBGGRR
    bool enabled = true;
};

class CommandModel {
  public:
    explicit CommandModel(CommandLook& look) : look_(look) {}

    // Fields.
    uint8_t ButtonState() const { return buttonState_; }
    bool EnabledFlag() const { return enabled_; }
    uint8_t FirstRun() const { return firstRun_; }
    bool LeftDown() const { return leftDown_; }
    bool ReverseFace() const { return reverseFace_; }
    bool Opaque() const { return opaque_; }
    const CaptionLabel& Label() const { return label_; }

    // Initialize(): state 1 and the 100 ms timer.
    void Initialize();

    // Properties.
    const std::string& Caption() const { return label_.caption; }
    void SetCaption(const std::string& caption);
    const FontSpec& Font() const { return label_.font; }
    void SetFont(const FontSpec& font);
    uint32_t FontColour();
    void SetFontColour(uint32_t colour);
    bool Enabled();
    void SetEnabled(bool enabled);
    // The design's "Visible" property: 255 when the face is painted, 0 when the container shows
    // through under the caption.
    uint8_t OpaqueBackground();
    void SetOpaqueBackground(uint8_t opaque);

    void ApplyEnabled();
    void ResetLook();
    // The container changed the control's size.
    void Resized() { ApplyEnabled(); }

    // Restoring from the container's design; `ambientFont` is the container's font.
    void ReadProperties(const PropertyStore& store, const FontSpec& ambientFont);

    // Notifications. ButtonReleased, KeyPressed and KeyReleased answer whether `Click` is to be
    // raised; the caller raises it last, since the container's answer may destroy the control.
    void PointerMoved();
    void FocusGained();
    void FocusLost();
    void ButtonPressed(PointerButton button);
    // A release raises Click only over the control: one off it also tells that the pointer left.
    bool ButtonReleased(PointerButton button, PointerPlace place = PointerPlace::OverControl);
    // The pointer capture went elsewhere (a popup, Alt+Tab) before the release: the press is
    // forgotten and the state's own look comes back.
    void PressLost();
    // Space clicks when it is let go, Enter when it goes down (not on its auto-repeat).
    bool KeyPressed(CommandKey key, bool repeat);
    bool KeyReleased(CommandKey key);
    void MouseTimerTick(PointerPlace place);
    void LeaveHover();

  private:
    void PaintFace(StatePicture picture);
    void SetState(uint8_t state, StatePicture picture);
    // The picture that shows the current state with no press on it.
    StatePicture LookOfState() const;

    CommandLook& look_;
    uint8_t buttonState_ = 0;
    bool enabled_ = false;
    uint8_t firstRun_ = 0;
    bool leftDown_ = false;
    bool spaceDown_ = false;
    bool reverseFace_ = false;
    bool opaque_ = true;
    CaptionLabel label_;
};

}  // namespace kineloop
