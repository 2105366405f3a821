// The audio CD poll: whole disc or one track kept playing, and when polling stops.
#include "music/audio_cd_player.h"

#include <gtest/gtest.h>

#include "music/fake_media_device.h"

namespace kineloop {
namespace {

using test::FakeMediaDevice;
using Strings = std::vector<std::string>;

class AudioCdTest : public ::testing::Test {
  protected:
    FakeMediaDevice device;
    MciChannel channel{device};
    AudioCdPlayer player{channel};

    void SetUp() override { device.trackLengthsMs.assign(10, 60000); }
    // One tick of the show's poll timer; returns the commands the poll sent.
    Strings Tick(int16_t bgmRepeat, int elapsedMs = 200) {
        device.Advance(elapsedMs);
        device.sent.clear();
        player.CdPoll(bgmRepeat);
        return device.sent;
    }
    static Strings Queries(std::initializer_list<std::string> more) {
        Strings commands{"status cdaudio current track", "status cdaudio number of tracks",
                         "status cdaudio mode"};
        commands.insert(commands.end(), more);
        return commands;
    }
};

TEST_F(AudioCdTest, OpenAndStopSendTheirCommands) {
    player.CdOpen();
    EXPECT_EQ(device.sent, (Strings{"open cdaudio", "set cdaudio time format tmst"}));
    EXPECT_TRUE(device.CdOpen());
    device.sent.clear();
    player.CdStop();
    EXPECT_EQ(device.sent, (Strings{"stop cdaudio", "close cdaudio"}));
    EXPECT_FALSE(device.CdOpen());
}

TEST_F(AudioCdTest, WholeDiscStartsAndIsPlayedAgainWhenStopped) {
    player.CdOpen();
    EXPECT_EQ(Tick(0), Queries({"play cdaudio"}));
    EXPECT_TRUE(player.CdPollActive());
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPlaying);
    EXPECT_EQ(Tick(0), Queries({}));

    // The disc plays to its end; the next poll starts it again from the first track.
    EXPECT_EQ(Tick(0, 600000), Queries({"play cdaudio"}));
    EXPECT_EQ(device.CdTrack(), 1);
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPlaying);
    EXPECT_TRUE(player.CdPollActive());
}

TEST_F(AudioCdTest, ChosenTrackRestartsWithinOnePollOfTheNextTrack) {
    player.CdOpen();
    EXPECT_EQ(Tick(3), Queries({"status cdaudio position track 3", "play cdaudio from 02:00:00"}));
    EXPECT_EQ(device.CdTrack(), 3);

    int plays = 0;
    for (int tick = 0; tick < 700; ++tick) {  // 140 s, a little over two plays of the track
        for (const std::string& command : Tick(3))
            plays += command.rfind("play ", 0) == 0;
        ASSERT_EQ(device.CdTrack(), 3) << "after tick " << tick;
        ASSERT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPlaying);
    }
    EXPECT_EQ(plays, 2);
}

TEST_F(AudioCdTest, ChosenTrackIsStartedAgainWhenTheDriveStopped) {
    player.CdOpen();
    Tick(3);
    channel.Send("stop cdaudio");
    EXPECT_EQ(Tick(3), Queries({"status cdaudio position track 3", "play cdaudio from 02:00:00"}));
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPlaying);
}

TEST_F(AudioCdTest, NoDiscOrNoDriveStopsPollingAtTheFirstPoll) {
    device.trackLengthsMs.clear();
    player.CdOpen();
    EXPECT_EQ(Tick(0), Strings{"status cdaudio current track"});
    EXPECT_FALSE(player.CdPollActive());

    FakeMediaDevice noDrive;
    noDrive.hasCdDrive = false;
    MciChannel noDriveChannel{noDrive};
    AudioCdPlayer noDrivePlayer{noDriveChannel};
    noDrivePlayer.CdOpen();
    noDrivePlayer.CdPoll(0);
    EXPECT_FALSE(noDrivePlayer.CdPollActive());
}

TEST_F(AudioCdTest, FailingTrackCountStopsPolling) {
    player.CdOpen();
    device.failing["status cdaudio number of tracks"] = test::kMciHardware;
    EXPECT_EQ(Tick(0),
              (Strings{"status cdaudio current track", "status cdaudio number of tracks"}));
    EXPECT_FALSE(player.CdPollActive());
}

TEST_F(AudioCdTest, PausedDriveIsLeftAlone) {
    player.CdOpen();
    Tick(3);
    device.PauseCd();
    EXPECT_EQ(Tick(3), Queries({}));
    Tick(0);  // mode "paused" is not "stopped" either
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPaused);
    EXPECT_TRUE(player.CdPollActive());
}

TEST_F(AudioCdTest, TrackBeyondTheDiscKeepsPollingWithoutMusic) {
    player.CdOpen();
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(Tick(12),
                  Queries({"status cdaudio position track 12", "play cdaudio from Error:282"}));
        EXPECT_TRUE(player.CdPollActive());
    }
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kStopped);
}

TEST(ReadNumberTest, ReadsLeadingNumberLikeTheDriveWritesIt) {
    EXPECT_EQ(ReadNumber("3"), 3);
    EXPECT_EQ(ReadNumber(" 12"), 12);
    EXPECT_EQ(ReadNumber("7 tracks"), 7);
    EXPECT_EQ(ReadNumber(""), 0);
    EXPECT_EQ(ReadNumber("abc"), 0);
    EXPECT_GT(ReadNumber("99999999999999999999999999"), 32767);
    EXPECT_TRUE(IsQueryFailure("Error:263"));
    EXPECT_TRUE(IsQueryFailure("device error"));
    EXPECT_FALSE(IsQueryFailure("10"));
}

}  // namespace
}  // namespace kineloop
