// The audio CD's commands and poll decisions.
#include "music/audio_cd_player.h"

#include <limits>

namespace kineloop {

bool IsQueryFailure(const std::string& result) {
    std::string upper = result;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper.find("ERR") != std::string::npos;
}

int64_t ReadNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < kLimit)  // a longer number than any track stays large instead of overflowing
            value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
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
