// A stand-in for the media control interface with an audio CD drive and an MP3 device, which
// answers command strings as the real devices do and plays on a clock the test moves.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "music/mci_port.h"

namespace kineloop::test {

// Error numbers as the platform gives them.
enum : int32_t {
    kMciUnrecognizedKeyword = 259,
    kMciUnrecognizedCommand = 261,
    kMciHardware = 262,
    kMciInvalidDeviceName = 263,
    kMciCannotLoadDriver = 266,
    kMciBadInteger = 270,
    kMciFileNotFound = 275,
    kMciInternal = 277,
    kMciOutOfRange = 282,
    kMciBadTimeFormat = 293,
};

class FakeMediaDevice : public MciPort {
  public:
    enum class Mode { kStopped, kPlaying, kPaused };

    MciAnswer SendString(const std::string& command, size_t replyLength) override;
    std::optional<std::string> ErrorString(int32_t code, size_t textLength) override;

    // Every command received, in order.
    std::vector<std::string> sent;
    bool errorTextsAvailable = true;
    // Commands that fail with the given code, as long as they are listed here.
    std::map<std::string, int32_t> failing;

    // The drive and its disc: one length in milliseconds per track; no tracks means no disc.
    bool hasCdDrive = true;
    std::vector<int> trackLengthsMs;
    // The music files that exist, with their lengths in milliseconds.
    std::map<std::string, int> files;

    // Lets the devices play on for `ms` milliseconds.
    void Advance(int ms);
    void PauseCd() { cd_.mode = Mode::kPaused; }
    Mode CdMode() const { return cd_.mode; }
    int CdTrack() const;  // the track at the drive's position
    bool CdOpen() const { return cd_.open; }
    Mode Mp3Mode() const { return mp3_.mode; }
    int Mp3PositionMs() const { return mp3_.positionMs; }
    bool Mp3Open() const { return mp3_.open; }

  private:
    struct Device {
        bool open = false;
        Mode mode = Mode::kStopped;
        int positionMs = 0;
        int endMs = 0;
    };
    int32_t Cd(const std::vector<std::string>& words, std::string& reply);
    int32_t Mp3(const std::vector<std::string>& words, std::string& reply);
    int DiscLengthMs() const;
    int TrackStartMs(int track) const;

    Device cd_;
    Device mp3_;
    int mp3LengthMs_ = 0;
};

// Positions of the audio CD in the drive's default format, minutes:seconds:frames (75 a second).
std::string CdPositionText(int ms);

}  // namespace kineloop::test
