// The settings dialog's rules natively: load formats, placement, background band, keep-aspect,
// video panel texts and thumbnail box, what a video choice keeps, and saving with its result.
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "settings/memory_store.h"
#include "settings_dialog/dialog_rules.h"
#include "settings_dialog/dialog_values.h"

namespace kineloop {
namespace {

TEST(TextsForLoad, FollowTheFieldFormats) {
    struct Row {
        int16_t from, to, width, height, skip, repeat;
        LoadedTexts expected;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, 0, {"", "", "", "", "0", ""}},
        {0, 100, 320, 240, 1, 7, {"0", "100", "320", "240", "1", "7"}},
        {5, 0, 0, 17, 3, 30, {"5", "", "", "17", "3", "30"}},
        {-3, -9, -1, 0, -2, -4, {"-3", "-9", "-1", "", "-2", "-4"}},
    };
    for (const Row& row : rows) {
        SaverSettings s;
        s.Flame_From = row.from;
        s.Flame_To = row.to;
        s.Pic_Width = row.width;
        s.Pic_Height = row.height;
        s.Flame_Skip = row.skip;
        s.BgmRepeat = row.repeat;
        const LoadedTexts t = TextsForLoad(s);
        EXPECT_EQ(t.Flame_From, row.expected.Flame_From) << row.from << " " << row.to;
        EXPECT_EQ(t.Flame_To, row.expected.Flame_To);
        EXPECT_EQ(t.Pic_Width, row.expected.Pic_Width);
        EXPECT_EQ(t.Pic_Height, row.expected.Pic_Height);
        EXPECT_EQ(t.Flame_Skip, row.expected.Flame_Skip);
        EXPECT_EQ(t.BGM_Repeat, row.expected.BGM_Repeat);
    }
}

TEST(PlaceOnScreen, CentresAcrossAndTakesAThirdOfTheFreeHeight) {
    // 1024 x 768 screen, a 514 x 504 window at 15 twips per pixel.
    EXPECT_EQ(PlaceOnScreen(1024, 768, 514, 504, 15, 15).left, 255);
    EXPECT_EQ(PlaceOnScreen(1024, 768, 514, 504, 15, 15).top, 88);
    // An odd free width: 7635 twips \ 2 = 3817 twips, 254 whole pixels.
    EXPECT_EQ(PlaceOnScreen(1024, 768, 515, 504, 15, 15).left, 254);
    // A screen narrower than the window: the same formula gives a negative place.
    EXPECT_EQ(PlaceOnScreen(400, 300, 514, 504, 15, 15).left, -57);
    EXPECT_EQ(PlaceOnScreen(400, 300, 514, 504, 15, 15).top, -68);
}

TEST(BackgroundRowColour, IsDarkBlueAtTheEdgesAndLightestHalfWay) {
    auto same = [](BandColour c, int r, int g, int b) { return c.r == r && c.g == g && c.b == b; };
    EXPECT_TRUE(same(BackgroundRowColour(0, 478), 0, 0, 30));
    EXPECT_TRUE(same(BackgroundRowColour(239, 478), 220, 220, 250));
    const BandColour bottom = BackgroundRowColour(477, 478);
    EXPECT_LE(bottom.r, 3);
    EXPECT_EQ(bottom.b, bottom.r + 30);
    // A quarter of the way down: |sin(119.5 / (478 / 3.142))| * 220 = 155.6, about.
    EXPECT_NEAR(BackgroundRowColour(119, 478).r, 155, 2);
    EXPECT_TRUE(same(BackgroundRowColour(5, 0), 0, 0, 30));
}

TEST(KeepAspectHeight, FollowsTheRoundedProductTruncatedQuotient) {
    struct Row {
        int check;
        const char* width;
        int32_t aviWidth, aviHeight;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {1, "100", 320, 240, "75"},
        {1, "101", 320, 240, "75"},
        {1, "100.5", 320, 240, "75"},
        {1, "640", 320, 240, "480"},
        // Kept within 1 to 32767: what the box shows is what is saved, and the show can draw it.
        {1, "0", 320, 240, "1"},
        {1, "-100", 320, 240, "1"},
        {1, "100", 4, 16000, "32767"},  // 400000 would be saved as the old height
        {1, "100", 16000, 4, "1"},      // 0 would leave the show black
        {1, " 64 ", 64, 48, "48"},
        {1, "1e2", 320, 240, "75"},
        {1, "85", 240, 320, "113"},
        {0, "640", 320, 240, std::nullopt},      // unticked
        {1, "", 320, 240, std::nullopt},         // empty width
        {1, "abc", 320, 240, std::nullopt},      // letters
        {1, "640", 0, 0, std::nullopt},          // no video read
        {1, "1e300", 320, 240, std::nullopt},    // product beyond 32 bits
        {1, "9000000", 320, 240, std::nullopt},  // still beyond 32 bits
        {1, "-2147483648", -1, 1, "32767"},      // the one quotient that leaves 32 bits
    };
    for (const Row& row : rows)
        EXPECT_EQ(KeepAspectHeight(row.check, row.width, row.aviWidth, row.aviHeight), row.expected)
            << row.check << " '" << row.width << "' " << row.aviWidth << "x" << row.aviHeight;
}

TEST(VideoPanelTexts, JoinTheNumbers) {
    EXPECT_EQ(FrameRangeText(0, 300), "0 ～ 299");
    EXPECT_EQ(FrameRangeText(5, 7), "5 ～ 11");
    EXPECT_EQ(FrameRangeText(2147483647, 2147483647), "2147483647 ～ 4294967293");
    EXPECT_EQ(FrameSizeText(320, 240), "320 * 240");
}

TEST(ThumbnailBoxFor, FitsIntoEightyFiveKeepingTheBottomEdge) {
    struct Row {
        int32_t w, h;
        ThumbnailBox expected;
    };
    const Row rows[] = {
        {320, 240, {376, 37, 85, 64}},  // 63.75 rounds to 64
        {240, 320, {376, 16, 64, 85}}, {64, 64, {376, 16, 85, 85}},
        {160, 120, {376, 37, 85, 64}}, {170, 85, {376, 59, 85, 42}},  // 42.5 rounds to the even 42
        {10000, 1, {376, 100, 85, 1}},                                // never thinner than a pixel
    };
    for (const Row& row : rows) {
        const auto box = ThumbnailBoxFor(row.w, row.h);
        ASSERT_TRUE(box) << row.w << "x" << row.h;
        EXPECT_EQ(box->left, row.expected.left);
        EXPECT_EQ(box->top, row.expected.top) << row.w << "x" << row.h;
        EXPECT_EQ(box->width, row.expected.width) << row.w << "x" << row.h;
        EXPECT_EQ(box->height, row.expected.height) << row.w << "x" << row.h;
    }
    EXPECT_FALSE(ThumbnailBoxFor(0, 240));
    EXPECT_FALSE(ThumbnailBoxFor(320, -1));
}

// A decoder gives a first frame unless said otherwise.
VideoFacts Facts(bool read, bool decoder, int32_t first, int32_t count, int32_t w, int32_t h,
                 bool fewColours = false) {
    VideoFacts f;
    f.informationRead = read;
    f.hasDecoder = decoder;
    f.frameShown = decoder;
    f.fewColours = fewColours;
    f.firstFrame = first;
    f.frameCount = count;
    f.frameWidth = w;
    f.frameHeight = h;
    return f;
}

LoadedSettings WithVideo(const std::string& path, const std::string& folder) {
    LoadedSettings settings;
    settings.values.AVI_File = path;
    settings.AviFolder = folder;
    return settings;
}

TEST(ChosenVideo, ADecodableVideoFillsTheBoxesAndBecomesTheStoredVideo) {
    LoadedSettings settings = WithVideo("C:\\old\\a.avi", "C:\\old");
    VideoNumbers numbers;
    const VideoUpdate u =
        ChosenVideo("D:\\動画 集\\b.avi", Facts(true, true, 0, 300, 320, 240), settings, numbers);
    EXPECT_EQ(u.Fname, "D:\\動画 集\\b.avi");
    EXPECT_EQ(u.FrameRange, "0 ～ 299");
    EXPECT_EQ(u.FrameSize, "320 * 240");
    ASSERT_TRUE(u.Boxes);
    EXPECT_EQ(u.Boxes->Flame_From, "0");
    EXPECT_EQ(u.Boxes->Flame_To, "299");
    EXPECT_EQ(u.Boxes->Pic_Width, "320");
    EXPECT_EQ(u.Boxes->Pic_Height, "240");
    EXPECT_EQ(u.Boxes->Flame_Skip, "1");
    EXPECT_TRUE(u.drawThumbnail);
    EXPECT_EQ(u.refusal, ChoiceRefusal::None);
    EXPECT_EQ(settings.values.AVI_File, "D:\\動画 集\\b.avi");
    EXPECT_EQ(settings.AviFolder, "D:\\動画 集");
    EXPECT_EQ(numbers.AviWidth, 320);
    EXPECT_EQ(numbers.AviHeight, 240);
}

// Every refusal leaves the stored choice, the labels, the boxes, the thumbnail and the numbers as
// they were (the panel then still describes the one stored video); only the start folder moves.
// Before, an unreadable file became the stored video and a refused one left its labels behind.
TEST(ChosenVideo, ARefusedChoiceLeavesEverythingButTheStartFolder) {
    VideoFacts noFrame = Facts(true, true, 0, 12, 64, 48);
    noFrame.frameShown = false;
    struct Row {
        const char* what;
        VideoFacts facts;
        ChoiceRefusal expected;
    };
    const Row rows[] = {
        {"cannot be opened", Facts(false, false, 0, 0, 0, 0), ChoiceRefusal::Unreadable},
        {"start or length -1", Facts(false, false, -1, 0, 0, 0), ChoiceRefusal::Unreadable},
        {"8-bit, no decoder", Facts(true, false, 0, 12, 64, 48, true), ChoiceRefusal::FewColours},
        {"24-bit, no decoder", Facts(true, false, 0, 12, 64, 48), ChoiceRefusal::Unreadable},
        {"decoder, no frame", noFrame, ChoiceRefusal::Unreadable},
    };
    for (const Row& row : rows) {
        LoadedSettings settings = WithVideo("C:\\old\\a.avi", "C:\\old");
        VideoNumbers numbers{320, 240};
        const VideoUpdate u = ChosenVideo("D:\\new\\x.avi", row.facts, settings, numbers);
        EXPECT_EQ(u.refusal, row.expected) << row.what;
        EXPECT_EQ(settings.values.AVI_File, "C:\\old\\a.avi") << row.what;
        EXPECT_EQ(settings.AviFolder, "D:\\new") << row.what;
        EXPECT_FALSE(u.Fname || u.FrameRange || u.FrameSize || u.Boxes || u.drawThumbnail)
            << row.what;
        EXPECT_EQ(numbers.AviWidth, 320) << row.what;
        EXPECT_EQ(numbers.AviHeight, 240) << row.what;
    }

    LoadedSettings settings = WithVideo("C:\\old\\a.avi", "C:\\old");
    const VideoUpdate u = UnstorableVideo("D:\\새 폴더\\한국어.avi", settings);
    EXPECT_EQ(u.refusal, ChoiceRefusal::NameNotStorable);
    EXPECT_FALSE(u.Fname || u.FrameRange || u.Boxes || u.drawThumbnail);
    EXPECT_EQ(settings.values.AVI_File, "C:\\old\\a.avi");
    EXPECT_EQ(settings.AviFolder, "D:\\새 폴더");
    EXPECT_EQ(RefusedColoursMessage("D:\\new\\pal.avi"),
              "Error : AVI 256色は無効 \r\nD:\\new\\pal.avi");
}

TEST(StoredVideo, SetsTheShapeEvenWithoutADecoderButLeavesTheBoxes) {
    VideoNumbers numbers;
    VideoUpdate u = StoredVideo(Facts(true, false, 5, 7, 64, 48), numbers);
    EXPECT_EQ(u.FrameRange, "5 ～ 11");
    EXPECT_FALSE(u.Boxes);
    EXPECT_FALSE(u.Fname);
    EXPECT_FALSE(u.drawThumbnail);
    EXPECT_EQ(u.refusal, ChoiceRefusal::None);
    EXPECT_EQ(numbers.AviWidth, 64);
    u = StoredVideo(Facts(true, true, 0, 10, 320, 240), numbers);
    EXPECT_TRUE(u.drawThumbnail);
    EXPECT_FALSE(u.Boxes);
}

// A settings file that takes the keys it is given, or refuses them all.
using test::MemoryStore;

TEST(SaveDialogSettings, FollowsTheSavingRuleAndReportsAFailedWrite) {
    SaverSettings s;
    s.Pic_Width = 320;
    s.BgmKind = 0;
    s.BgmFile = "C:\\m.mp3";
    DialogValues dialog;  // every text box empty
    dialog.Pic_Width = "40000";
    dialog.Fast = 2000;
    dialog.Rate = 1;
    dialog.BGM_Repeat = "abc";
    MemoryStore store;
    EXPECT_TRUE(SaveDialogSettings(s, dialog, store));
    std::map<std::string, std::string> written(store.writes.begin(), store.writes.end());
    EXPECT_EQ(written["Flame_From"], "0");
    EXPECT_EQ(written["Flame_To"], "0");
    EXPECT_EQ(written["Pic_Width"], "320");  // beyond 16 bits: the loaded value
    EXPECT_EQ(written["Pic_Height"], "0");
    EXPECT_EQ(written["Flame_Skip"], "0");
    EXPECT_EQ(written["Fast"], "2000");
    EXPECT_EQ(written["Rate"], "1");
    EXPECT_EQ(written["BGM区分"], "0");
    EXPECT_EQ(written["BGMﾘﾋﾟｰﾄ"], "0");
    EXPECT_EQ(written["BGMﾌｧｲﾙ"], "C:\\m.mp3");

    dialog.BGM_Repeat = "45";  // not refused: saved as typed
    store.writes.clear();
    EXPECT_TRUE(SaveDialogSettings(s, dialog, store));
    EXPECT_EQ(store.writes[9].second, "45");

    store.refuse = true;
    EXPECT_FALSE(SaveDialogSettings(s, dialog, store));
}

}  // namespace
}  // namespace kineloop
