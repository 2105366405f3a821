// The audio CD: the whole disc started again whenever it has stopped, or one chosen track played
// over and over, kept going by a poll every 200 ms until the drive stops answering.
#pragma once

#include <cstdint>
#include <string>

#include "music/mci_channel.h"

namespace kineloop {

inline constexpr size_t kCdModeLength = 255;

// Whether a `MciQuery` result stands for a failure: it contains "ERR" in any letter case.
bool IsQueryFailure(const std::string& result);
// A device's number text read as a number: leading blanks, a sign and digits; 0 when none.
int64_t ReadNumber(const std::string& text);

class AudioCdPlayer {
  public:
    explicit AudioCdPlayer(MciChannel& channel) : channel_(channel) {}

    void CdOpen();
    // One poll: starts the disc (`bgmRepeat` 0) or the track `bgmRepeat` again when needed, and
    // ends polling for good when the drive cannot tell its tracks.
    void CdPoll(int16_t bgmRepeat);
    void CdStop();
    bool CdPollActive() const { return cdPollActive_; }

  private:
    MciChannel& channel_;
    AnswerBuffer modeAnswer_{kCdModeLength};
    bool cdPollActive_ = false;
};

}  // namespace kineloop
