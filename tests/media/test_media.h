// The test media that tests/media/make_test_media.sh makes into the build tree: where they are and
// what their frames show.

// Frame n of every video is one solid colour, kFrameColours[n % 10]; in the files made "with
// band" the top quarter of each frame (rows y with 4y < height, counted from the top) is white
// instead, so that a picture upside down is seen.
#pragma once

#include <cstdint>
#include <string>

namespace kineloop::test_media {

struct Colour {
    uint8_t r, g, b;
};

inline constexpr Colour kFrameColours[10] = {
    {255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 0}, {0, 255, 255},
    {255, 0, 255}, {255, 128, 0}, {128, 0, 255}, {0, 128, 64},  {128, 128, 128},
};
inline constexpr Colour kBandColour = {255, 255, 255};

inline Colour FrameColour(int frame) {
    return kFrameColours[((frame % 10) + 10) % 10];
}

// Videos with band, 12 frames of 64 x 48 unless said otherwise.
inline constexpr char kMsVideo1[] = "msvideo1.avi";              // MS Video 1, 16-bit
inline constexpr char kCinepak[] = "cinepak.avi";                // Cinepak
inline constexpr char kUncompressed24[] = "uncompressed24.avi";  // 61 x 45, 24-bit, bottom-up
inline constexpr char kPalette8[] = "palette8.avi";   // 8-bit, a palette of exactly its colours
inline constexpr char kMjpeg[] = "mjpeg.avi";         // Motion JPEG (no decoder here)
inline constexpr char kOneFrame[] = "one_frame.avi";  // Cinepak, 1 frame
// Cinepak, every frame a key frame; its stream header says: start 5, length 7 (of 12 stored).
inline constexpr char kStart5[] = "start5.avi";
inline constexpr int kStart5First = 5;
inline constexpr int kStart5Length = 7;
inline constexpr int kStart5Chunks = 12;

// Files that are no usable video.
inline constexpr char kAudioOnly[] = "audio_only.avi";  // one PCM audio stream, no video
inline constexpr char kNotAvi[] = "not_avi.avi";        // a line of text
inline constexpr char kEmpty[] = "empty.avi";           // zero bytes

// Videos that open but can never show a frame.
inline constexpr char kWideUncompressed[] = "wide_uncompressed.avi";  // 16400 x 4, 24-bit, 3 frames
inline constexpr char kCinepakHalf[] = "cinepak_half.avi";            // cinepak.avi's first half
inline constexpr char kTopDown8[] = "topdown8.avi";                   // 8-bit, rows top-down

// Videos with band that only Media Foundation decodes, 12 frames of 64 x 48 at 10 a second
// unless said otherwise.
inline constexpr char kH264[] = "h264.mp4";
inline constexpr char kH264WithAudio[] = "h264_audio.mp4";  // and an AAC audio track
inline constexpr char kH264Odd[] = "h264_350x198.mp4";      // 350 x 198
inline constexpr char kMpeg4Avi[] = "mpeg4.avi";            // MPEG-4 Part 2 (XVID) in AVI
inline constexpr char kWmv[] = "wmv8.wmv";                  // Windows Media Video 8 in ASF
inline constexpr char kVp9[] = "vp9.webm";                  // VP9 in WebM
inline constexpr char kVp9WithAudio[] = "vp9_opus.webm";    // and an Opus audio track
inline constexpr char kVp9Mkv[] = "vp9.mkv";                // vp9.webm's stream in MKV

// Phone videos of 6 frames, one picture of four colours stored turned a quarter to the left
// (128 x 96), with a turn in the track header; beside each, ffmpeg's own turned decode of its
// first frame as RGB rows (".rgb", top row first), of the size given.
struct TurnedVideo {
    const char* file;
    const char* reference;
    int32_t width, height;
};
inline constexpr TurnedVideo kPhoneUpright = {"phone_upright.mp4", "phone_upright.rgb", 96, 128};
inline constexpr TurnedVideo kPhoneTurned90 = {"phone_turned90.mp4", "phone_turned90.rgb", 96, 128};
inline constexpr TurnedVideo kPhoneTurned180 = {"phone_turned180.mp4", "phone_turned180.rgb", 128,
                                                96};
// H.264 of 6 frames with band, 720 x 480 stored with pixels of 32:27 (853 x 480 seen).
inline constexpr char kAnamorphic[] = "anamorphic.mp4";
// H.264, 12 frames at 10 a second then 36 at 30, joined, with 5 s of sound: 48 frames.
inline constexpr char kVariableRate[] = "variable_rate.mp4";
inline constexpr int kVariableRateFrames = 48;
// VP9 in WebM, 36 black frames at 30 a second, then 12 at 10: 48 frames in 2.4 s.
inline constexpr char kVariableRateWebm[] = "variable_rate.webm";

// Cinepak, 10 frames, no band: frame n is kFrameColours[n] all over.
inline constexpr char kClip160x120[] = "clip10_160x120.avi";
inline constexpr char kClip320x240[] = "clip10_320x240.avi";

// Standard bitmap files written by ffmpeg: 61 x 45, frame 0 of the videos with band.
inline constexpr char kPicture16[] = "picture16.bmp";  // 5-5-5 bits
inline constexpr char kPicture24[] = "picture24.bmp";
inline constexpr char kPicture32[] = "picture32.bmp";

// Benchmark clips (target kineloop_bench_media): a moving test pattern, 60 frames.
inline constexpr char kBench320x240[] = "bench_320x240.avi";
inline constexpr char kBench640x480[] = "bench_640x480.avi";
inline constexpr char kBench1280x720[] = "bench_1280x720.mp4";  // H.264, 150 frames

// The full path of a media file in the build tree (a Unix path; Windows tests convert it with
// test::WindowsPath).
inline std::string MediaPath(const std::string& name) {
    return std::string(KINELOOP_MEDIA_DIR) + "/" + name;
}

}  // namespace kineloop::test_media
