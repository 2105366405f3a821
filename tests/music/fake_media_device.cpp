// A stand-in for the media control interface with an audio CD drive and an MP3 device.
#include "music/fake_media_device.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kineloop::test {

namespace {

// Splits a command into words as the command parser does: blanks separate, quotes group.
bool SplitWords(const std::string& command, std::vector<std::string>& words) {
    size_t i = 0;
    while (i < command.size()) {
        if (command[i] == ' ') {
            ++i;
        } else if (command[i] == '"') {
            const size_t close = command.find('"', i + 1);
            if (close == std::string::npos)
                return false;
            words.push_back(command.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const size_t end = std::min(command.find(' ', i), command.size());
            words.push_back(command.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

const char* ModeText(FakeMediaDevice::Mode mode) {
    switch (mode) {
        case FakeMediaDevice::Mode::kPlaying:
            return "playing";
        case FakeMediaDevice::Mode::kPaused:
            return "paused";
        default:
            return "stopped";
    }
}

// Reads "mm:ss:ff"; false for anything else.
bool ReadCdPosition(const std::string& text, int& ms) {
    int minutes = 0, seconds = 0, frames = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &minutes, &seconds, &frames, &rest) != 3)
        return false;
    ms = (minutes * 60 + seconds) * 1000 + frames * 1000 / 75;
    return true;
}

}  // namespace

std::string CdPositionText(int ms) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", ms / 60000, ms / 1000 % 60,
                  (ms % 1000) * 75 / 1000);
    return text;
}

MciAnswer FakeMediaDevice::SendString(const std::string& command, size_t replyLength) {
    sent.push_back(command);
    MciAnswer answer;
    std::vector<std::string> words;
    if (const auto failure = failing.find(command); failure != failing.end())
        answer.code = failure->second;
    else if (!SplitWords(command, words) || words.size() < 2)
        answer.code = kMciUnrecognizedCommand;
    else if (Lower(words[1]) == "cdaudio")
        answer.code = Cd(words, answer.reply);
    else
        answer.code = Mp3(words, answer.reply);
    if (answer.code != 0 || replyLength == 0)
        answer.reply.clear();
    else if (answer.reply.size() >= replyLength)
        answer.reply.resize(replyLength - 1);
    return answer;
}

std::optional<std::string> FakeMediaDevice::ErrorString(int32_t code, size_t textLength) {
    if (!errorTextsAvailable)
        return std::nullopt;
    std::string text = "error text " + std::to_string(code);
    if (text.size() >= textLength)
        text.resize(textLength - 1);
    return text;
}

int FakeMediaDevice::DiscLengthMs() const {
    return TrackStartMs(static_cast<int>(trackLengthsMs.size()) + 1);
}

int FakeMediaDevice::TrackStartMs(int track) const {
    int start = 0;
    for (int i = 1; i < track; ++i)
        start += trackLengthsMs[static_cast<size_t>(i - 1)];
    return start;
}

int FakeMediaDevice::CdTrack() const {
    int track = 1;
    while (track < static_cast<int>(trackLengthsMs.size()) &&
           cd_.positionMs >= TrackStartMs(track + 1))
        ++track;
    return track;
}

void FakeMediaDevice::Advance(int ms) {
    for (Device* device : {&cd_, &mp3_}) {
        if (device->mode != Mode::kPlaying)
            continue;
        device->positionMs += ms;
        if (device->positionMs >= device->endMs) {
            device->mode = Mode::kStopped;
            // A drive that has played to the end of the disc goes back to its start.
            device->positionMs =
                device == &cd_ && device->endMs == DiscLengthMs() ? 0 : device->endMs;
        }
    }
}

int32_t FakeMediaDevice::Cd(const std::vector<std::string>& words, std::string& reply) {
    const std::string verb = Lower(words[0]);
    if (verb == "open" && words.size() == 2) {
        if (!hasCdDrive)
            return kMciCannotLoadDriver;
        cd_.open = true;
        return 0;
    }
    if (!cd_.open)
        return kMciInvalidDeviceName;
    const bool hasDisc = !trackLengthsMs.empty();
    const int trackCount = static_cast<int>(trackLengthsMs.size());
    if (verb == "set" && words.size() == 5 && Lower(words[2]) == "time" &&
        Lower(words[3]) == "format")
        return Lower(words[4]) == "msf" || Lower(words[4]) == "tmsf" ? 0 : kMciBadTimeFormat;
    if (verb == "status" && words.size() >= 3) {
        std::string item = Lower(words[2]);
        for (size_t i = 3; i < words.size(); ++i)
            item += " " + Lower(words[i]);
        if (item == "mode") {
            reply = hasDisc ? ModeText(cd_.mode) : "not ready";
            return 0;
        }
        if (!hasDisc)
            return kMciHardware;
        if (item == "current track") {
            reply = std::to_string(CdTrack());
        } else if (item == "number of tracks") {
            reply = std::to_string(trackCount);
        } else if (item.rfind("position track ", 0) == 0 && words.size() == 5) {
            const int track = std::atoi(words[4].c_str());
            if (track < 1 || track > trackCount)
                return kMciOutOfRange;
            reply = CdPositionText(TrackStartMs(track));
        } else {
            return kMciUnrecognizedKeyword;
        }
        return 0;
    }
    if (verb == "play") {
        if (!hasDisc)
            return kMciHardware;
        int from = cd_.positionMs, to = DiscLengthMs();
        for (size_t i = 2; i + 1 < words.size(); i += 2) {
            int& target = Lower(words[i]) == "from" ? from : to;
            if (!ReadCdPosition(words[i + 1], target))
                return kMciBadInteger;
        }
        if (words.size() % 2 != 0 || from >= DiscLengthMs())
            return kMciOutOfRange;
        cd_ = Device{true, Mode::kPlaying, from, to};
        return 0;
    }
    if (verb == "stop" && words.size() == 2) {
        cd_.mode = Mode::kStopped;
        return 0;
    }
    if (verb == "close" && words.size() == 2) {
        cd_ = Device{};
        return 0;
    }
    return kMciUnrecognizedCommand;
}

int32_t FakeMediaDevice::Mp3(const std::vector<std::string>& words, std::string& reply) {
    const std::string verb = Lower(words[0]);
    if (verb == "open") {
        // open <file> type MPEGVideo alias <name>
        if (words.size() != 6 || Lower(words[2]) != "type" || Lower(words[4]) != "alias")
            return kMciUnrecognizedKeyword;
        if (Lower(words[3]) != "mpegvideo" || words[5] != "MP3Play")
            return kMciInvalidDeviceName;
        const auto file = files.find(words[1]);
        if (file == files.end())
            return kMciFileNotFound;
        if (mp3_.open)
            return kMciInternal;
        mp3_ = Device{true, Mode::kStopped, 0, file->second};
        mp3LengthMs_ = file->second;
        return 0;
    }
    if (Lower(words[1]) != "mp3play" || !mp3_.open)
        return kMciInvalidDeviceName;
    if (verb == "play" && (words.size() == 2 || (words.size() == 4 && Lower(words[2]) == "from"))) {
        const int from = words.size() == 4 ? std::atoi(words[3].c_str()) : mp3_.positionMs;
        mp3_ = Device{true, Mode::kPlaying, from >= mp3LengthMs_ ? 0 : from, mp3LengthMs_};
        return 0;
    }
    if (verb == "status" && words.size() == 3 && Lower(words[2]) == "mode") {
        reply = ModeText(mp3_.mode);
        return 0;
    }
    if (verb == "stop" && words.size() == 2) {
        mp3_.mode = Mode::kStopped;
        return 0;
    }
    if (verb == "close" && words.size() == 2) {
        mp3_ = Device{};
        return 0;
    }
    return kMciUnrecognizedCommand;
}

}  // namespace kineloop::test
