// The Command button's rules natively: every row of its pointer/focus transitions, the edge-case
// sequences of a click, and the saving and restoring of its properties.
#include "controls/command_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kineloop {
namespace {

// Records what the rules ask of the window: the pictures painted, as letters.
class RecordingLook : public CommandLook {
  public:
    void PaintFace(StatePicture picture) override { paints += "NHSXPD"[static_cast<int>(picture)]; }
    void LabelChanged() override {}
    void BackgroundChanged() override {}
    void StartMouseTimer() override { timerStarted = true; }
    void MarkChanged(const char* name) override { changed.push_back(name); }

    std::string paints;
    bool timerStarted = false;
    std::vector<std::string> changed;
};

// A button restored from an empty design (enabled, FirstRun 1), driven by event letters:
//   I Initialize   M pointer moved   F focus gained   f focus lost   D disabled
//   L l left press/release   R r right   W w middle   T tick over the parent   E tick elsewhere
//   O tick over the control   x y left/right release off the control   C capture lost
//   K k Space down/up   N Enter down   Q Enter's auto-repeat
struct Button {
    Button() : model(look) { model.ReadProperties(PropertyStore{}, ButtonDesignFont()); }

    void Run(const std::string& events) {
        for (char e : events) {
            switch (e) {
                case 'I':
                    model.Initialize();
                    break;
                case 'M':
                    model.PointerMoved();
                    break;
                case 'F':
                    model.FocusGained();
                    break;
                case 'f':
                    model.FocusLost();
                    break;
                case 'D':
                    model.SetEnabled(false);
                    break;
                case 'L':
                    model.ButtonPressed(PointerButton::Left);
                    break;
                case 'R':
                    model.ButtonPressed(PointerButton::Right);
                    break;
                case 'W':
                    model.ButtonPressed(PointerButton::Middle);
                    break;
                case 'l':
                    clicks += model.ButtonReleased(PointerButton::Left);
                    break;
                case 'r':
                    clicks += model.ButtonReleased(PointerButton::Right);
                    break;
                case 'w':
                    clicks += model.ButtonReleased(PointerButton::Middle);
                    break;
                case 'x':
                    clicks += model.ButtonReleased(PointerButton::Left, PointerPlace::Elsewhere);
                    break;
                case 'y':
                    clicks += model.ButtonReleased(PointerButton::Right, PointerPlace::OverParent);
                    break;
                case 'C':
                    model.PressLost();
                    break;
                case 'K':
                    clicks += model.KeyPressed(CommandKey::Space, false);
                    break;
                case 'k':
                    clicks += model.KeyReleased(CommandKey::Space);
                    break;
                case 'N':
                    clicks += model.KeyPressed(CommandKey::Enter, false);
                    break;
                case 'Q':
                    clicks += model.KeyPressed(CommandKey::Enter, true);
                    break;
                case 'T':
                    model.MouseTimerTick(PointerPlace::OverParent);
                    break;
                case 'E':
                    model.MouseTimerTick(PointerPlace::Elsewhere);
                    break;
                case 'O':
                    model.MouseTimerTick(PointerPlace::OverControl);
                    break;
                default:
                    ADD_FAILURE() << "unknown event " << e;
            }
        }
    }

    RecordingLook look;
    CommandModel model;
    int clicks = 0;
};

struct TransitionRow {
    const char* given;  // events that bring the button into the state under test
    const char* event;  // the notification under test
    int state;          // ButtonState afterwards
    const char* paints;
    bool leftDown;
    int clicks;
};

class Transition : public ::testing::TestWithParam<TransitionRow> {};

TEST_P(Transition, MovesStatePaintsAndClicksAsTheTableSays) {
    const TransitionRow& row = GetParam();
    Button button;
    button.Run(row.given);
    button.look.paints.clear();
    button.clicks = 0;
    button.Run(row.event);
    EXPECT_EQ(button.model.ButtonState(), row.state);
    EXPECT_EQ(button.look.paints, row.paints);
    EXPECT_EQ(button.model.LeftDown(), row.leftDown);
    EXPECT_EQ(button.clicks, row.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, Transition,
    ::testing::Values(
        // pointer moved: 1 -> 2; 3 without LeftDown -> 4; nothing otherwise (0 before Initialize)
        TransitionRow{"I", "M", 2, "H", false, 0}, TransitionRow{"IF", "M", 4, "X", false, 0},
        TransitionRow{"IFL", "M", 3, "", true, 0}, TransitionRow{"IM", "M", 2, "", false, 0},
        TransitionRow{"IMF", "M", 4, "", false, 0}, TransitionRow{"", "M", 0, "", false, 0},
        // focus gained: not 2 -> 3 Selected (state 0 too); 2 -> 4 Pressed
        TransitionRow{"I", "F", 3, "S", false, 0}, TransitionRow{"", "F", 3, "S", false, 0},
        TransitionRow{"IFM", "F", 3, "S", false, 0}, TransitionRow{"IM", "F", 4, "P", false, 0},
        // focus lost: not 1 -> 1 Normal
        TransitionRow{"IF", "f", 1, "N", false, 0}, TransitionRow{"IMF", "f", 1, "N", false, 0},
        TransitionRow{"IM", "f", 1, "N", false, 0}, TransitionRow{"", "f", 1, "N", false, 0},
        TransitionRow{"I", "f", 1, "", false, 0},
        // left press: Pressed in any state, LeftDown set; other presses paint nothing
        TransitionRow{"I", "L", 1, "P", true, 0}, TransitionRow{"IMF", "L", 4, "P", true, 0},
        TransitionRow{"IM", "R", 2, "", false, 0}, TransitionRow{"IM", "W", 2, "", false, 0},
        // left release: 2 paints Normal, 4 HighLightSelect, 0/1/3 nothing; Click unless 3
        TransitionRow{"IML", "l", 2, "N", false, 1}, TransitionRow{"IMFL", "l", 4, "X", false, 1},
        TransitionRow{"L", "l", 0, "", false, 1}, TransitionRow{"IL", "l", 1, "", false, 1},
        TransitionRow{"IFL", "l", 3, "", false, 0},
        // right and middle releases raise Click in 1, 2 and 4, not in 3
        TransitionRow{"I", "r", 1, "", false, 1}, TransitionRow{"IM", "r", 2, "", false, 1},
        TransitionRow{"IMF", "r", 4, "", false, 1}, TransitionRow{"IF", "r", 3, "", false, 0},
        TransitionRow{"IM", "w", 2, "", false, 1}, TransitionRow{"IF", "w", 3, "", false, 0},
        // a right release leaves LeftDown alone
        TransitionRow{"IMFL", "r", 4, "", true, 1},
        // LeaveHover by the tick: 2 -> 1 Normal, 4 -> 3 Selected, over the control nothing
        TransitionRow{"IM", "T", 1, "N", false, 0}, TransitionRow{"IM", "E", 1, "N", false, 0},
        TransitionRow{"IMF", "T", 3, "S", false, 0}, TransitionRow{"IMF", "E", 3, "S", false, 0},
        TransitionRow{"IM", "O", 2, "", false, 0}, TransitionRow{"IMF", "O", 4, "", false, 0},
        TransitionRow{"I", "T", 1, "", false, 0}, TransitionRow{"IF", "T", 3, "", false, 0},
        // disabled: every notification is ignored
        TransitionRow{"ID", "M", 1, "", false, 0}, TransitionRow{"ID", "F", 1, "", false, 0},
        TransitionRow{"IMD", "f", 2, "", false, 0}, TransitionRow{"ID", "L", 1, "", false, 0},
        TransitionRow{"IMD", "l", 2, "", false, 0}, TransitionRow{"IMD", "r", 2, "", false, 0},
        TransitionRow{"IMD", "T", 2, "", false, 0}, TransitionRow{"IMFLD", "l", 4, "", true, 0},
        // a release off the control raises no Click and takes the hover look away at once
        TransitionRow{"IMFL", "x", 3, "S", false, 0}, TransitionRow{"IML", "x", 1, "N", false, 0},
        TransitionRow{"IM", "y", 1, "N", false, 0}, TransitionRow{"IFL", "x", 3, "", false, 0},
        // a lost capture forgets the press and shows the state's own look again
        TransitionRow{"IMFL", "C", 4, "X", false, 0}, TransitionRow{"IFL", "C", 3, "S", false, 0},
        TransitionRow{"IMR", "C", 2, "", false, 0},
        // Space clicks on its release, Enter on its press, not on its repeat; disabled, neither
        TransitionRow{"IF", "K", 3, "P", false, 0}, TransitionRow{"IFK", "k", 3, "S", false, 1},
        TransitionRow{"IMFK", "k", 4, "X", false, 1}, TransitionRow{"IF", "k", 3, "", false, 0},
        TransitionRow{"IFKf", "k", 1, "", false, 0}, TransitionRow{"IFKC", "k", 3, "", false, 0},
        TransitionRow{"IF", "N", 3, "", false, 1}, TransitionRow{"IFN", "Q", 3, "", false, 0},
        TransitionRow{"IFD", "N", 3, "", false, 0}, TransitionRow{"IFD", "K", 3, "", false, 0}));

struct SequenceRow {
    const char* name;
    const char* events;
    int state;
    const char* paints;
    int clicks;
    bool reverseFace;
};

class Sequence : public ::testing::TestWithParam<SequenceRow> {};

TEST_P(Sequence, EndsInTheStateAndLookDescribed) {
    const SequenceRow& row = GetParam();
    Button button;
    button.look.paints.clear();
    button.Run(row.events);
    EXPECT_EQ(button.model.ButtonState(), row.state);
    EXPECT_EQ(button.look.paints, row.paints);
    EXPECT_EQ(button.clicks, row.clicks);
    EXPECT_EQ(button.model.ReverseFace(), row.reverseFace);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Sequence,
    ::testing::Values(
        // onto the button, press (focus first), release, pointer gone: Selected within a tick
        SequenceRow{"OrdinaryClick", "IMFLlT", 3, "HPPXS", 1, false},
        SequenceRow{"ReleaseOffAfterATick", "IMFLTl", 3, "HPPS", 0, false},
        // let go off the button before a tick: no Click either, and Selected at once
        SequenceRow{"ReleaseOffBeforeATick", "IMFLx", 3, "HPPS", 0, false},
        SequenceRow{"BackOnWhilePressedDoesNotCount", "IMFLTMl", 3, "HPPS", 0, false},
        SequenceRow{"PressWithoutAMoveSeen", "IFLl", 3, "SP", 0, false},
        SequenceRow{"DisabledIgnoresEverything", "IDMFLlTrR", 1, "D", 0, false},
        SequenceRow{"KeyboardFocusThenPointer", "IFMfM", 2, "SXNH", 0, true},
        // state 4 keeps the direction of the paint before it
        SequenceRow{"FourAfterTwoKeepsLavenderOnTop", "IMF", 4, "HP", 0, true},
        SequenceRow{"FourAfterThreeKeepsWhiteOnTop", "IFM", 4, "SX", 0, false},
        SequenceRow{"DisabledInStateTwoKeepsItsDirection", "IMD", 2, "HD", 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandInitialize, StartsTheTimerInStateOneWithoutPainting) {
    Button button;
    button.look.paints.clear();
    EXPECT_EQ(button.model.ButtonState(), 0);
    EXPECT_FALSE(button.look.timerStarted);
    button.Run("I");
    EXPECT_EQ(button.model.ButtonState(), 1);
    EXPECT_TRUE(button.look.timerStarted);
    EXPECT_EQ(button.look.paints, "");
}

// Persistence.

FontSpec Ambient() {
    FontSpec font;
    font.name = "Tahoma";
    font.points = 8.25;
    return font;
}

TEST(CommandPersistence, AnEmptyStoreGivesTheReadingDefaults) {
    RecordingLook look;
    CommandModel model(look);
    model.ReadProperties(PropertyStore{}, Ambient());
    EXPECT_TRUE(model.EnabledFlag());
    EXPECT_EQ(model.Caption(), "Command1");
    EXPECT_EQ(model.Font(), Ambient());
    EXPECT_EQ(model.Label().colour, 0u);
    EXPECT_TRUE(model.Opaque());
    EXPECT_EQ(model.FirstRun(), 1);
    EXPECT_EQ(look.paints, "N");
}

TEST(CommandPersistence, TheDialogsDesignIsMatchedWithoutRegardToCase) {
    RecordingLook look;
    CommandModel model(look);
    PropertyStore design = StoredButtonDesign("ｷｬﾝｾﾙ");
    design.Put("ENABLED", std::string("0"));
    model.ReadProperties(design, Ambient());
    EXPECT_EQ(model.Caption(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(model.Font().name, "ＭＳ Ｐゴシック");
    EXPECT_EQ(model.Font().points, 9.75);
    EXPECT_EQ(model.Font().charset, 128);
    EXPECT_FALSE(model.EnabledFlag());
}

TEST(CommandPersistence, AValueThatDoesNotConvertLeavesItsField) {
    RecordingLook look;
    CommandModel model(look);
    PropertyStore design;
    design.Put("FirstRun", std::string("many"));
    design.Put("FontColour", std::string("red"));
    design.Put("Visible", int64_t{7});
    design.Put("Caption", ButtonDesignFont());
    model.ReadProperties(design, Ambient());
    EXPECT_EQ(model.FirstRun(), 0);
    EXPECT_EQ(model.Label().colour, 0u);
    EXPECT_TRUE(model.Opaque());
    EXPECT_EQ(model.Caption(), "Command");
}

TEST(CommandFirstRun, TheFirstReadOfEnabledSetsTheControlUp) {
    RecordingLook look;
    CommandModel model(look);  // never saved: FirstRun 0, disabled
    EXPECT_TRUE(model.Enabled());
    EXPECT_EQ(model.FirstRun(), 1);
    EXPECT_EQ(look.paints, "N");  // ResetLook ran while still disabled; ApplyEnabled painted
}

TEST(CommandFirstRun, WhileFirstRunIsZeroResetLookPutsTheCaptionBackToBlack) {
    RecordingLook look;
    CommandModel model(look);
    PropertyStore design;
    design.Put("FirstRun", int64_t{0});
    model.ReadProperties(design, Ambient());
    model.SetFontColour(0x0000FF);
    EXPECT_EQ(model.Label().colour, 0u);

    CommandModel setUp(look);
    setUp.ReadProperties(PropertyStore{}, Ambient());
    setUp.SetFontColour(0x0000FF);
    EXPECT_EQ(setUp.Label().colour, 0x0000FFu);
}

TEST(CommandProperties, SideEffectsOfTheWrites) {
    Button button;
    button.Run("IM");
    button.look.paints.clear();
    button.look.changed.clear();

    // FontColour repaints Normal, also while the pointer is over the button; no state change.
    button.model.SetFontColour(0x123456);
    EXPECT_EQ(button.look.paints, "N");
    EXPECT_EQ(button.model.ButtonState(), 2);

    // Visible: 1 and 255 read back as 255; 0 reads 0, and neither that write nor read paints.
    button.model.SetOpaqueBackground(255);
    EXPECT_EQ(button.model.OpaqueBackground(), 255);
    button.model.SetOpaqueBackground(1);
    EXPECT_EQ(button.model.OpaqueBackground(), 255);
    button.look.paints.clear();
    button.model.SetOpaqueBackground(0);
    EXPECT_EQ(button.model.OpaqueBackground(), 0);
    EXPECT_EQ(button.look.paints, "");

    // Enabled: false paints Disable and greys the caption, true paints Normal; state stays.
    button.model.SetEnabled(false);
    EXPECT_EQ(button.look.paints, "D");
    EXPECT_FALSE(button.model.Label().enabled);
    EXPECT_EQ(button.model.ButtonState(), 2);
    // Disabled, ResetLook does nothing: the colour changes, nothing is drawn.
    button.model.SetFontColour(0x00AA00);
    EXPECT_EQ(button.model.Label().colour, 0x00AA00u);
    EXPECT_EQ(button.look.paints, "D");
    button.model.SetEnabled(true);
    EXPECT_EQ(button.look.paints, "DN");
    EXPECT_TRUE(button.model.Label().enabled);
    EXPECT_EQ(button.model.ButtonState(), 2);

    const std::vector<std::string> marked{"FontColour", "Visible",    "Visible", "Visible",
                                          "Enabled",    "FontColour", "Enabled"};
    EXPECT_EQ(button.look.changed, marked);
}

// The store's value comparison and conversions.

struct SameValueRow {
    PropertyValue a, b;
    bool same;
};

class StoreComparison : public ::testing::TestWithParam<SameValueRow> {};

TEST_P(StoreComparison, ComparesNumbersWithNumericTextByValue) {
    EXPECT_EQ(SameValue(GetParam().a, GetParam().b), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoreComparison,
    ::testing::Values(SameValueRow{std::string("1"), int64_t{1}, true},
                      SameValueRow{std::string("0"), int64_t{0}, true},
                      SameValueRow{true, std::string("-1"), true},
                      SameValueRow{true, std::string("1"), false},
                      SameValueRow{std::string("Command"), std::string("Command"), true},
                      SameValueRow{std::string("Command"), std::string("command"), false},
                      SameValueRow{std::string("x"), int64_t{0}, false},
                      SameValueRow{ButtonDesignFont(), ButtonDesignFont(), true},
                      SameValueRow{ButtonDesignFont(), std::string("ＭＳ Ｐゴシック"), false}));

}  // namespace
}  // namespace kineloop
