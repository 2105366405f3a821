// The settings dialog's own rules: how it shows the stored settings, where it stands, the keep-
// aspect rule, the video panel's texts and thumbnail box, and what a video choice changes.
#include "settings_dialog/dialog_rules.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "settings/paths.h"

namespace kineloop {

namespace {

// A tile height the settings file holds (16 bits) and the show can draw (at least one row).
constexpr int64_t kSmallestTileHeight = 1;
constexpr int64_t kLargestTileHeight = 32767;

// Decimal digits without leading zeros, as the "####" and "##" formats show them: 0 is "".
std::string DigitsOrEmpty(int32_t value) {
    return value == 0 ? std::string() : std::to_string(value);
}

}  // namespace

LoadedTexts TextsForLoad(const SaverSettings& s) {
    LoadedTexts t;
    if (s.Flame_From != 0 || s.Flame_To != 0)
        t.Flame_From = std::to_string(s.Flame_From);
    t.Flame_To = DigitsOrEmpty(s.Flame_To);
    t.Pic_Width = DigitsOrEmpty(s.Pic_Width);
    t.Pic_Height = DigitsOrEmpty(s.Pic_Height);
    t.Flame_Skip = std::to_string(s.Flame_Skip);
    t.BGM_Repeat = DigitsOrEmpty(s.BgmRepeat);
    return t;
}

std::vector<std::string> RepeatListEntries() {
    std::vector<std::string> entries;
    for (int i = 0; i <= 30; ++i)
        entries.push_back(DigitsOrEmpty(i));
    return entries;
}

DialogPlace PlaceOnScreen(int32_t screenWidth, int32_t screenHeight, int32_t windowWidth,
                          int32_t windowHeight, int32_t twipsPerPixelX, int32_t twipsPerPixelY) {
    const int64_t tx = twipsPerPixelX > 0 ? twipsPerPixelX : 15;
    const int64_t ty = twipsPerPixelY > 0 ? twipsPerPixelY : 15;
    // Integer division truncates toward zero, so a window wider than the screen gets a negative
    // place by the same formula.
    const int64_t leftTwips = (int64_t{screenWidth} - windowWidth) * tx / 2;
    const int64_t topTwips = (int64_t{screenHeight} - windowHeight) * ty / 3;
    return {static_cast<int32_t>(leftTwips / tx), static_cast<int32_t>(topTwips / ty)};
}

BandColour BackgroundRowColour(int32_t row, int32_t clientHeight) {
    if (clientHeight <= 0)
        return {0, 0, 30};
    const double k = clientHeight / 3.142;
    const double v = RoundHalfEven(std::fabs(std::sin(row / k) * 220.0));
    const auto level = static_cast<uint8_t>(v);
    return {level, level, static_cast<uint8_t>(level + 30)};
}

std::optional<std::string> KeepAspectHeight(int checkValue, const std::string& widthText,
                                            int32_t aviWidth, int32_t aviHeight) {
    if (checkValue != 1)
        return std::nullopt;
    const std::optional<double> width = ParseNumber(widthText);
    if (!width || aviWidth == 0)
        return std::nullopt;
    const std::optional<int32_t> product = FitInto<int32_t>(RoundHalfEven(*width * aviHeight));
    if (!product)
        return std::nullopt;
    // 64 bits: the one quotient that leaves 32 bits (the lowest value over -1) stays exact.
    const int64_t height = int64_t{*product} / aviWidth;
    return std::to_string(std::clamp<int64_t>(height, kSmallestTileHeight, kLargestTileHeight));
}

std::string FrameRangeText(int32_t first, int32_t count) {
    return std::to_string(first) + " ～ " + std::to_string(int64_t{count} + first - 1);
}

std::string FrameSizeText(int32_t width, int32_t height) {
    return std::to_string(width) + " * " + std::to_string(height);
}

std::optional<ThumbnailBox> ThumbnailBoxFor(int32_t frameWidth, int32_t frameHeight) {
    if (frameWidth <= 0 || frameHeight <= 0)
        return std::nullopt;
    const double side = kThumbnailSide;
    double width = side, height = side;
    if (frameWidth > frameHeight)
        height = side * frameHeight / frameWidth;
    else
        width = side * frameWidth / frameHeight;
    // A box at least one pixel on each side, so that a very thin frame still shows.
    const auto w = static_cast<int32_t>(std::max(1.0, RoundHalfEven(width)));
    const auto h = static_cast<int32_t>(std::max(1.0, RoundHalfEven(height)));
    return ThumbnailBox{kThumbnailLeft, kThumbnailBottom - h, w, h};
}

namespace {

void ShowInformation(const VideoFacts& facts, VideoUpdate& update) {
    if (!facts.informationRead)
        return;
    update.FrameRange = FrameRangeText(facts.firstFrame, facts.frameCount);
    update.FrameSize = FrameSizeText(facts.frameWidth, facts.frameHeight);
}

ChoiceRefusal RefusalOf(const VideoFacts& facts) {
    if (!facts.informationRead)
        return ChoiceRefusal::Unreadable;
    if (!facts.hasDecoder)
        return facts.fewColours ? ChoiceRefusal::FewColours : ChoiceRefusal::Unreadable;
    return facts.frameShown ? ChoiceRefusal::None : ChoiceRefusal::Unreadable;
}

}  // namespace

VideoUpdate ChosenVideo(const std::string& path, const VideoFacts& facts, LoadedSettings& settings,
                        VideoNumbers& numbers) {
    VideoUpdate update;
    // The next choice starts where the user was, whatever becomes of this one.
    settings.AviFolder = FolderOf(path);
    update.refusal = RefusalOf(facts);
    // A file the show could not play is not stored, and the panel keeps describing the one that
    // is: nothing of the refused file reaches a label, a box or the numbers.
    if (update.refusal != ChoiceRefusal::None)
        return update;
    settings.values.AVI_File = path;
    update.Fname = path;
    ShowInformation(facts, update);
    const int64_t last = int64_t{facts.frameCount} + facts.firstFrame - 1;
    update.Boxes =
        FrameBoxTexts{std::to_string(facts.firstFrame), std::to_string(last),
                      std::to_string(facts.frameWidth), std::to_string(facts.frameHeight), "1"};
    numbers.AviWidth = facts.frameWidth;
    numbers.AviHeight = facts.frameHeight;
    update.drawThumbnail = true;
    return update;
}

VideoUpdate UnstorableVideo(const std::string& path, LoadedSettings& settings) {
    VideoUpdate update;
    settings.AviFolder = FolderOf(path);
    update.refusal = ChoiceRefusal::NameNotStorable;
    return update;
}

VideoUpdate StoredVideo(const VideoFacts& facts, VideoNumbers& numbers) {
    VideoUpdate update;
    ShowInformation(facts, update);
    if (!facts.informationRead)
        return update;
    numbers.AviWidth = facts.frameWidth;
    numbers.AviHeight = facts.frameHeight;
    update.drawThumbnail = facts.hasDecoder;
    return update;
}

std::string RefusedColoursMessage(const std::string& path) {
    return "Error : AVI 256色は無効 \r\n" + path;
}

std::string UnstorableNameMessage(const std::string& path) {
    return "このファイルの名前は設定ファイルに保存できません。別の名前のファイルを選んでください。"
           "\r\n" +
           path;
}

std::string SaveFailedMessage(const std::string& settingsFile) {
    return "設定ファイルに書き込めませんでした。設定は保存されていません。\r\n" + settingsFile;
}

}  // namespace kineloop
