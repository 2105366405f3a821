// The music file: which player a file goes to, and the MP3 commands and repeat rule.
#include "music/music_file_player.h"

#include <gtest/gtest.h>

#include "music/fake_media_device.h"
#include "music/music_kind.h"

namespace kineloop {
namespace {

using test::FakeMediaDevice;
using Strings = std::vector<std::string>;

TEST(MusicFileKindTest, LastThreeCharactersUpperCased) {
    EXPECT_EQ(MusicFileKind("C:\\Music\\song.mp3"), "MP3");
    EXPECT_EQ(MusicFileKind("C:\\Music\\Loop.Wav"), "WAV");
    EXPECT_EQ(MusicFileKind("C:\\Music\\song.wma"), "WMA");
    EXPECT_EQ(MusicFileKind("C:\\Music\\song.mp3 "), "P3 ");
    EXPECT_EQ(MusicFileKind("p3"), "P3");
    EXPECT_EQ(MusicFileKind(""), "");
    // Japanese endings stay whole characters and are not taken for the ASCII kinds.
    EXPECT_EQ(MusicFileKind("C:\\曲\\歌.ｍｐ３"), "ｍｐ３");
    EXPECT_EQ(MusicFileKind("C:\\曲\\音楽"), "\\音楽");
}

class MusicFilePlayerTest : public ::testing::Test {
  protected:
    const std::string path = "C:\\My Music\\夜の 曲.mp3";
    const std::string openCommand = "open \"" + path + "\" type MPEGVideo Alias MP3Play";
    FakeMediaDevice device;
    MciChannel channel{device};
    MusicFilePlayer player{channel};

    void SetUp() override { device.files[path] = 3000; }
    // The commands sent by one call of `action`.
    template <typename Action>
    Strings SentBy(Action action) {
        device.sent.clear();
        action();
        return device.sent;
    }
};

TEST_F(MusicFilePlayerTest, OpensTheQuotedPathAndPlays) {
    EXPECT_EQ(SentBy([&] { player.MusicOpenPlay(path); }), (Strings{openCommand, "play MP3Play"}));
    EXPECT_EQ(device.Mp3Mode(), FakeMediaDevice::Mode::kPlaying);
    EXPECT_TRUE(player.MusicIsPlaying());
    EXPECT_EQ(device.sent.back(), "status MP3Play mode");
}

TEST_F(MusicFilePlayerTest, FailedOpenSendsNoPlayAndLaterRestartsFailQuietly) {
    EXPECT_EQ(SentBy([&] { player.MusicOpenPlay("C:\\gone.mp3"); }),
              Strings{"open \"C:\\gone.mp3\" type MPEGVideo Alias MP3Play"});
    EXPECT_FALSE(device.Mp3Open());
    EXPECT_EQ(SentBy([&] { player.MusicRepeatCheck(); }),
              (Strings{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    EXPECT_EQ(channel.LastError(), test::kMciInvalidDeviceName);
}

TEST_F(MusicFilePlayerTest, RestartsFromTheBeginningOnlyOnceItHasEnded) {
    player.MusicOpenPlay(path);
    for (int second = 1; second <= 2; ++second) {
        device.Advance(1000);
        EXPECT_EQ(SentBy([&] { player.MusicRepeatCheck(); }), Strings{"status MP3Play mode"});
    }
    device.Advance(1000);
    ASSERT_EQ(device.Mp3Mode(), FakeMediaDevice::Mode::kStopped);
    EXPECT_EQ(SentBy([&] { player.MusicRepeatCheck(); }),
              (Strings{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    EXPECT_EQ(device.Mp3Mode(), FakeMediaDevice::Mode::kPlaying);
    EXPECT_EQ(device.Mp3PositionMs(), 0);
}

TEST_F(MusicFilePlayerTest, FailingModeQueryKeepsTheLastAnswer) {
    player.MusicOpenPlay(path);
    player.MusicRepeatCheck();  // answers "playing"
    device.failing["status MP3Play mode"] = test::kMciInternal;
    device.Advance(5000);
    EXPECT_TRUE(player.MusicIsPlaying());
    EXPECT_EQ(SentBy([&] { player.MusicRepeatCheck(); }), Strings{"status MP3Play mode"});

    device.failing.clear();
    player.MusicRepeatCheck();
    EXPECT_EQ(device.Mp3Mode(), FakeMediaDevice::Mode::kPlaying);
}

TEST_F(MusicFilePlayerTest, StopStopsAndCloses) {
    player.MusicOpenPlay(path);
    EXPECT_EQ(SentBy([&] { player.MusicStop(); }), (Strings{"stop MP3Play", "close MP3Play"}));
    EXPECT_FALSE(device.Mp3Open());
}

}  // namespace
}  // namespace kineloop
