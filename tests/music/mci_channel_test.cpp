// The command channel: its replies and failure texts, and the play commands it builds.
#include "music/mci_channel.h"

#include <gtest/gtest.h>

#include "music/fake_media_device.h"

namespace kineloop {
namespace {

using test::FakeMediaDevice;

class MciChannelTest : public ::testing::Test {
  protected:
    FakeMediaDevice device;
    MciChannel channel{device};
};

TEST_F(MciChannelTest, EmptyCommandIsNeverSent) {
    std::string reply = "old";
    EXPECT_EQ(channel.MciSend("", reply), -1);
    EXPECT_EQ(reply, "コマンド文字列が指定されていません");
    EXPECT_EQ(channel.MciQuery(""), "Error:-1");
    EXPECT_TRUE(device.sent.empty());
}

TEST_F(MciChannelTest, FailureGivesTheErrorTextOrAFixedText) {
    std::string reply;
    EXPECT_EQ(channel.MciSend("status cdaudio mode", reply), test::kMciInvalidDeviceName);
    EXPECT_EQ(reply, "error text 263");
    EXPECT_EQ(channel.LastError(), 263);

    device.errorTextsAvailable = false;
    EXPECT_EQ(channel.MciQuery("status cdaudio mode"), "Error:263");
    EXPECT_EQ(channel.LastReply(), "Error (文字列が取れません)");

    device.failing["status cdaudio current track"] = test::kMciInternal;
    EXPECT_EQ(channel.MciQuery("status cdaudio current track"), "Error:277");
}

TEST_F(MciChannelTest, SuccessfulCommandWithoutAnswerGivesAnEmptyReply) {
    device.trackLengthsMs = {60000, 60000};
    ASSERT_EQ(channel.Send("open cdaudio"), 0);
    EXPECT_EQ(channel.MciQuery("status cdaudio number of tracks"), "2");
    EXPECT_EQ(channel.MciQuery("stop cdaudio"), "");
    EXPECT_EQ(channel.LastReply(), "");
}

TEST_F(MciChannelTest, PlayCommandNamesOnlyTheGivenPositions) {
    EXPECT_EQ(MciPlayCommand("cdaudio", "", ""), "play cdaudio");
    EXPECT_EQ(MciPlayCommand("cdaudio", "01:30:00", ""), "play cdaudio from 01:30:00");
    EXPECT_EQ(MciPlayCommand("cdaudio", "", "02:00:00"), "play cdaudio to 02:00:00");
    EXPECT_EQ(MciPlayCommand("cdaudio", "01:30:00", "02:00:00"),
              "play cdaudio from 01:30:00 to 02:00:00");

    device.trackLengthsMs = {60000, 60000, 60000};
    channel.Send("open cdaudio");
    EXPECT_EQ(channel.MciPlay("cdaudio", "01:00:00", "02:00:00"), 0);
    EXPECT_EQ(device.sent.back(), "play cdaudio from 01:00:00 to 02:00:00");
    EXPECT_EQ(device.CdTrack(), 2);
    EXPECT_EQ(device.CdMode(), FakeMediaDevice::Mode::kPlaying);

    // A position the drive cannot read makes the play fail with the error's text as reply.
    EXPECT_EQ(channel.MciPlay("cdaudio", "Error:282", ""), test::kMciBadInteger);
    EXPECT_EQ(device.sent.back(), "play cdaudio from Error:282");
    EXPECT_EQ(channel.LastReply(), "error text 270");
}

TEST_F(MciChannelTest, FailedCommandLeavesAKeptAnswerAsItWas) {
    device.files["C:\\a.mp3"] = 1000;
    channel.Send("open \"C:\\a.mp3\" type MPEGVideo Alias MP3Play");
    AnswerBuffer mode(30);
    EXPECT_EQ(channel.SendInto("status MP3Play mode", mode), 0);
    EXPECT_EQ(mode.Text(), "stopped");
    device.failing["status MP3Play mode"] = test::kMciInternal;
    EXPECT_EQ(channel.SendInto("status MP3Play mode", mode), test::kMciInternal);
    EXPECT_EQ(mode.Text(), "stopped");
}

}  // namespace
}  // namespace kineloop
