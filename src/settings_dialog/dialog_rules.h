// The settings dialog's own rules: how it shows the stored settings, where it stands, the keep-
// aspect rule, the video panel's texts and thumbnail box, and what a video choice changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/saver_settings.h"
#include "settings_dialog/dialog_values.h"

namespace kineloop {

// The texts the text boxes and the track list show after loading.
// Flame_From: "###0" when either end of the range is set, otherwise ""; Flame_To, Pic_Width and
// Pic_Height: "####", 0 shows as ""; Flame_Skip: plain decimal, 0 shows as "0".
struct LoadedTexts : FrameBoxTexts {
    std::string BGM_Repeat;  // "##": 0 shows as ""
};
LoadedTexts TextsForLoad(const SaverSettings& settings);

// The track list: an empty entry, then "1" to "30".
std::vector<std::string> RepeatListEntries();

// Where the window's top-left corner goes, in pixels: centred across, a third of the free height
// from the top, worked out in twips (truncating) as the window is placed in twips.
struct DialogPlace {
    int32_t left, top;
};
DialogPlace PlaceOnScreen(int32_t screenWidth, int32_t screenHeight, int32_t windowWidth,
                          int32_t windowHeight, int32_t twipsPerPixelX, int32_t twipsPerPixelY);

// The colour of row `row` of the painted background of a client area `clientHeight` pixels high:
// dark blue at the edges, lightest in the middle.
struct BandColour {
    uint8_t r, g, b;
};
BandColour BackgroundRowColour(int32_t row, int32_t clientHeight);

// The keep-aspect rule: the new text of Pic_Height, kept within 1 to 32767 so that the box shows
// what is saved and the show gets tiles it can draw; or nothing when it must stay as it is (box
// unticked, width not a number, no video read yet, a product beyond 32 bits).
std::optional<std::string> KeepAspectHeight(int checkValue, const std::string& widthText,
                                            int32_t aviWidth, int32_t aviHeight);

// The information labels of the video panel: "first ～ last" and "width * height".
std::string FrameRangeText(int32_t first, int32_t count);
std::string FrameSizeText(int32_t width, int32_t height);

// The thumbnail box inside Pic_B: the frame fitted into 85 x 85 keeping its shape, its bottom
// edge at 101 and its left edge where it was designed. Nothing for a frame without pixels.
struct ThumbnailBox {
    int32_t left, top, width, height;
};
inline constexpr int32_t kThumbnailLeft = 376;
inline constexpr int32_t kThumbnailSide = 85;
inline constexpr int32_t kThumbnailBottom = 101;
std::optional<ThumbnailBox> ThumbnailBoxFor(int32_t frameWidth, int32_t frameHeight);

// What reading a video file found out, as the frame reader reports it.
struct VideoFacts {
    bool informationRead = false;  // opened, with stream start, length and frame size
    bool hasDecoder = false;       // frames can be delivered as 24-bit bitmaps
    int32_t firstFrame = 0;
    int32_t frameCount = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    bool frameShown = false;  // a first frame came out as a picture
    bool fewColours = false;  // the stream's frames come in 256 colours or fewer (8 bits or less)
};

// Why a chosen file is not taken; a refused choice leaves the stored choice, every label, box and
// the thumbnail as they were, and the user is told once.
enum class ChoiceRefusal {
    None,
    NameNotStorable,  // the settings file cannot hold the path, nor its short form
    Unreadable,       // it cannot be opened, or no frame of it can be shown
    FewColours,       // no 24-bit decoder for frames of 256 colours or fewer
};

// The frame size of the chosen video, which the keep-aspect rule works from.
struct VideoNumbers {
    int32_t AviWidth = 0;
    int32_t AviHeight = 0;
};

// What a read video changes in the dialog; every empty field leaves its control alone.
struct VideoUpdate {
    std::optional<std::string> Fname;  // lbl_Fname
    std::optional<std::string> FrameRange;
    std::optional<std::string> FrameSize;
    std::optional<FrameBoxTexts> Boxes;
    bool drawThumbnail = false;
    ChoiceRefusal refusal = ChoiceRefusal::None;
};

// A video chosen in the file-open dialog, `path` in the form the settings file holds. Its folder
// becomes the dialog's start folder; unless it is refused, the path becomes the stored video.
VideoUpdate ChosenVideo(const std::string& path, const VideoFacts& facts, LoadedSettings& settings,
                        VideoNumbers& numbers);

// A video whose path the settings file cannot hold: refused before it is read.
VideoUpdate UnstorableVideo(const std::string& path, LoadedSettings& settings);

// The stored video read again while the dialog loads: labels, numbers and thumbnail only.
VideoUpdate StoredVideo(const VideoFacts& facts, VideoNumbers& numbers);

// The message for a video refused for its colours: "Error : AVI 256色は無効 " CR LF path.
std::string RefusedColoursMessage(const std::string& path);

// The message for a chosen file whose name the settings file cannot hold.
std::string UnstorableNameMessage(const std::string& path);

// What the user is told when the settings file could not be written.
std::string SaveFailedMessage(const std::string& settingsFile);

// The maker's web page, shown and opened by the dialog's link.
inline constexpr char kMakerWebPage[] = "https://kineloop.example.jp/";

}  // namespace kineloop
