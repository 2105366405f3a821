// The rules of the Command button: properties, persistence and the pointer/focus state machine.
#include "controls/command_model.h"

#include <limits>

namespace kineloop {

namespace {

constexpr uint8_t kNoState = 0;
constexpr uint8_t kNormal = 1;
constexpr uint8_t kHighLight = 2;
constexpr uint8_t kSelected = 3;
constexpr uint8_t kHighLightSelect = 4;

// Reading defaults of the persisted properties.
const PropertyValue kEnabledDefault = true;
const PropertyValue kCaptionReadingDefault = std::string("Command1");
const PropertyValue kFirstRunDefault = std::string("1");
const PropertyValue kFontColourDefault = std::string("0");
const PropertyValue kVisibleDefault = std::string("1");

}  // namespace

void CommandModel::Initialize() {
    buttonState_ = kNormal;
    look_.StartMouseTimer();
}

void CommandModel::SetCaption(const std::string& caption) {
    label_.caption = caption;
    look_.LabelChanged();
    look_.MarkChanged("Caption");
}

void CommandModel::SetFont(const FontSpec& font) {
    label_.font = font;
    look_.LabelChanged();
    look_.MarkChanged("Font");
}

uint32_t CommandModel::FontColour() {
    const uint32_t colour = label_.colour;
    ResetLook();
    return colour;
}

void CommandModel::SetFontColour(uint32_t colour) {
    label_.colour = colour;
    look_.LabelChanged();
    ResetLook();
    look_.MarkChanged("FontColour");
}

bool CommandModel::Enabled() {
    // First-run set-up: a control never saved becomes enabled on the first read.
    if (firstRun_ == 0) {
        ResetLook();
        firstRun_ = 1;
        enabled_ = true;
    }
    const bool result = enabled_;
    ApplyEnabled();
    return result;
}

void CommandModel::SetEnabled(bool enabled) {
    enabled_ = enabled;
    look_.MarkChanged("Enabled");
    ApplyEnabled();
}

uint8_t CommandModel::OpaqueBackground() {
    if (!opaque_)
        return 0;
    ResetLook();
    return 255;
}

void CommandModel::SetOpaqueBackground(uint8_t opaque) {
    opaque_ = opaque != 0;
    look_.BackgroundChanged();
    if (opaque_)
        ResetLook();
    look_.MarkChanged("Visible");
}

void CommandModel::ApplyEnabled() {
    PaintFace(enabled_ ? StatePicture::Normal : StatePicture::Disable);
    label_.enabled = enabled_;
    look_.LabelChanged();
}

void CommandModel::ResetLook() {
    if (!enabled_)
        return;
    label_.enabled = true;
    if (firstRun_ == 0)
        label_.colour = 0;
    look_.LabelChanged();
    PaintFace(StatePicture::Normal);
}

void CommandModel::ReadProperties(const PropertyStore& store, const FontSpec& ambientFont) {
    // A value that does not convert to its field's type leaves the field as it was.
    if (auto enabled = AsBoolean(store.Read("Enabled", kEnabledDefault)))
        enabled_ = *enabled;
    if (auto caption = AsText(store.Read("Caption", kCaptionReadingDefault)))
        label_.caption = *caption;
    if (auto font = AsFont(store.Read("Font", ambientFont)))
        label_.font = *font;
    if (auto firstRun = AsWholeNumber(store.Read("FirstRun", kFirstRunDefault), 0, 255))
        firstRun_ = static_cast<uint8_t>(*firstRun);
    if (auto colour =
            AsWholeNumber(store.Read("FontColour", kFontColourDefault),
                          std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
        label_.colour = static_cast<uint32_t>(static_cast<int32_t>(*colour));
    // The background style is 0 (transparent) or 1 (opaque); other numbers are refused.
    if (auto style = AsWholeNumber(store.Read("Visible", kVisibleDefault), 0, 1))
        opaque_ = *style == 1;
    look_.LabelChanged();
    look_.BackgroundChanged();
    ResetLook();
}

void CommandModel::PaintFace(StatePicture picture) {
    // In state 4 (and 0) the face keeps the direction of the previous paint.
    if (buttonState_ == kNormal || buttonState_ == kSelected)
        reverseFace_ = false;
    else if (buttonState_ == kHighLight)
        reverseFace_ = true;
    look_.PaintFace(picture);
}

void CommandModel::SetState(uint8_t state, StatePicture picture) {
    buttonState_ = state;
    PaintFace(picture);
}

void CommandModel::PointerMoved() {
    if (!enabled_)
        return;
    if (buttonState_ == kNormal)
        SetState(kHighLight, StatePicture::HighLight);
    if (buttonState_ == kSelected && !leftDown_)
        SetState(kHighLightSelect, StatePicture::HighLightSelect);
}

void CommandModel::FocusGained() {
    if (!enabled_)
        return;
    if (buttonState_ != kHighLight)
        SetState(kSelected, StatePicture::Selected);
    else
        SetState(kHighLightSelect, StatePicture::Pressed);
}

void CommandModel::FocusLost() {
    spaceDown_ = false;  // Space let go on another control clicks nothing here
    if (!enabled_)
        return;
    if (buttonState_ != kNormal)
        SetState(kNormal, StatePicture::Normal);
}

void CommandModel::ButtonPressed(PointerButton button) {
    if (!enabled_ || button != PointerButton::Left)
        return;
    PaintFace(StatePicture::Pressed);
    leftDown_ = true;
}

bool CommandModel::ButtonReleased(PointerButton button, PointerPlace place) {
    if (!enabled_)
        return false;
    const bool over = place == PointerPlace::OverControl;
    if (button == PointerButton::Left) {
        if (over && buttonState_ == kHighLight)
            PaintFace(StatePicture::Normal);
        else if (over && buttonState_ == kHighLightSelect)
            PaintFace(StatePicture::HighLightSelect);
        leftDown_ = false;
    }
    // Let go off the button, before the poll has seen the pointer leave: no Click, and the hover
    // look goes at once.
    if (!over) {
        LeaveHover();
        return false;
    }
    // A focused button whose pointer was seen leaving since the press gives no Click.
    return buttonState_ != kSelected && enabled_;
}

void CommandModel::PressLost() {
    const bool pressed = leftDown_ || spaceDown_;
    leftDown_ = false;
    spaceDown_ = false;
    if (enabled_ && pressed)
        PaintFace(LookOfState());
}

bool CommandModel::KeyPressed(CommandKey key, bool repeat) {
    if (!enabled_ || repeat)
        return false;
    if (key == CommandKey::Enter)
        return true;
    PaintFace(StatePicture::Pressed);
    spaceDown_ = true;
    return false;
}

bool CommandModel::KeyReleased(CommandKey key) {
    if (key != CommandKey::Space || !spaceDown_)
        return false;
    spaceDown_ = false;
    if (!enabled_)
        return false;
    PaintFace(LookOfState());
    return true;
}

StatePicture CommandModel::LookOfState() const {
    switch (buttonState_) {
        case kHighLight:
            return StatePicture::HighLight;
        case kSelected:
            return StatePicture::Selected;
        case kHighLightSelect:
            return StatePicture::HighLightSelect;
        default:
            return StatePicture::Normal;
    }
}

void CommandModel::MouseTimerTick(PointerPlace place) {
    if (place != PointerPlace::OverControl)
        LeaveHover();
}

void CommandModel::LeaveHover() {
    if (!enabled_)
        return;
    if (buttonState_ == kHighLight)
        SetState(kNormal, StatePicture::Normal);
    else if (buttonState_ == kHighLightSelect)
        SetState(kSelected, StatePicture::Selected);
}

}  // namespace kineloop
