// The audio CD's commands and poll decisions.
#include "music/audio_cd_player.h"

#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace kineloop {

bool IsQueryFailure(const std::string& result) {
    return UpperAscii(result).find("ERR") != std::string::npos;
}

int64_t ReadNumber(const std::string& text) {
    const std::optional<double> value = LeadingNumber(text);
    if (!value)
        return 0;
    // A longer number than any track stays large instead of overflowing.
    const double whole = std::trunc(*value);
    return FitInto<int64_t>(whole).value_or(whole < 0 ? std::numeric_limits<int64_t>::min()
                                                      : std::numeric_limits<int64_t>::max());
}

void AudioCdPlayer::CdOpen() {
    channel_.Send("open cdaudio");
    channel_.Send("set cdaudio time format tmst");
}

void AudioCdPlayer::CdPoll(int16_t bgmRepeat) {
    cdPollActive_ = true;
    const std::string current = channel_.MciQuery("status cdaudio current track");
    if (IsQueryFailure(current)) {
        cdPollActive_ = false;
        return;
    }
    if (IsQueryFailure(channel_.MciQuery("status cdaudio number of tracks"))) {
        cdPollActive_ = false;
        return;
    }
    channel_.SendInto("status cdaudio mode", modeAnswer_);
    const bool stopped = modeAnswer_.StartsWith("stopped");

    if (bgmRepeat != 0) {
        if (stopped || ReadNumber(current) != bgmRepeat) {
            // Positions go back to the drive exactly as it reported them, in its own format.
            const std::string position =
                channel_.MciQuery("status cdaudio position track " + std::to_string(bgmRepeat));
            channel_.MciPlay("cdaudio", position, "");
        }
    } else if (stopped) {
        channel_.MciPlay("cdaudio", "", "");
    }
}

void AudioCdPlayer::CdStop() {
    channel_.Send("stop cdaudio");
    channel_.Send("close cdaudio");
}

}  // namespace kineloop
