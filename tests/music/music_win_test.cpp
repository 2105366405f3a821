// The music on the real media control interface and sound player under Wine: command failures
// and their texts, the CD without a drive, and the sound a WAV and an MP3 file send to a recorded
// device (run through with-sound-server.sh).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "driver/driver.h"
#include "music/music_players_win32.h"
#include "music/sound_recording.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using test::kRecordingRate;

TEST(MciChannelWinTest, FailedQueryGivesTheErrorNumberAndThePlatformsText) {
    MusicPlayers players;
    const std::string result = players.Channel().MciQuery("status MP3Play mode");
    const int32_t code = players.Channel().LastError();
    EXPECT_NE(code, 0);
    EXPECT_EQ(result, "Error:" + std::to_string(code));
    // The platform's text of that error, whole and converted from UTF-16 (Japanese here).
    wchar_t text[256] = {};
    ASSERT_TRUE(mciGetErrorStringW(static_cast<MCIERROR>(code), text, 256));
    EXPECT_EQ(players.Channel().LastReply(), Narrow(text));
    EXPECT_FALSE(players.Channel().LastReply().empty());

    const std::string count = players.Channel().MciQuery("sysinfo all quantity");
    EXPECT_GT(ReadNumber(count), 0) << count;
}

TEST(AudioCdWinTest, NoDriveStopsPollingAtTheFirstPoll) {
    MusicPlayers players;
    players.CdOpen();
    EXPECT_NE(players.Channel().LastError(), 0);
    players.CdPoll(0);
    EXPECT_FALSE(players.CdPollActive());
    EXPECT_FALSE(players.Channel().LastReply().empty());
}

TEST(MusicFileWinTest, MissingMp3LeavesTheDeviceClosed) {
    MusicPlayers players;
    players.MusicOpenPlay("C:\\no such folder\\no such.mp3");
    EXPECT_NE(players.Channel().LastError(), 0);
    EXPECT_FALSE(players.MusicIsPlaying());
    players.MusicRepeatCheck();
    EXPECT_NE(players.Channel().LastError(), 0);
}

// Tones as the build generates them: half of full scale.
constexpr double kToneRms = 16384 / 1.41421356;
constexpr double kWavTone = 440;
constexpr double kMp3Tone = 660;

class MusicSoundTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    test::SoundRecording recording;
    MusicPlayers players;
    // Paths with blanks and Japanese text, which the open command has to keep whole.
    std::wstring musicFolder = folder / L"音楽 テスト";
    std::wstring wavFile = musicFolder + L"\\ラの 音.wav";
    std::wstring mp3File = musicFolder + L"\\ミの 音.mp3";

    void SetUp() override {
        ASSERT_TRUE(recording.Available()) << "run through tests/music/with-sound-server.sh";
        ASSERT_TRUE(CreateDirectoryW(musicFolder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(test::WindowsPath(KINELOOP_TONE_WAV).c_str(), wavFile.c_str(), TRUE));
        ASSERT_TRUE(CopyFileW(test::WindowsPath(KINELOOP_TONE_MP3).c_str(), mp3File.c_str(), TRUE));
    }

    // From `stop` on the device falls silent: after a second for what was already on its way,
    // two and a half seconds are recorded (longer than a loop of the WAV file) without a sound.
    void ExpectSilenceAfter(size_t stop) {
        const size_t from = stop + kRecordingRate;
        const size_t to = from + 5 * kRecordingRate / 2;
        ASSERT_TRUE(recording.WaitForSamples(to));
        EXPECT_TRUE(test::IsSilent(recording.Samples(from, to)));
    }
};

TEST_F(MusicSoundTest, WavFileLoopsUntilStopped) {
    const size_t start = recording.SampleCount();
    EXPECT_TRUE(players.WavePlay(Narrow(wavFile)));  // PlaySound accepted it
    const std::optional<size_t> first = recording.WaitForTone(start, kWavTone, kToneRms);
    ASSERT_TRUE(first) << "the WAV file's tone never reached the sound device";

    // Still heard four and a half seconds later: the two-second file has looped twice.
    const std::optional<size_t> later =
        recording.WaitForTone(*first + 9 * kRecordingRate / 2, kWavTone, kToneRms);
    ASSERT_TRUE(later) << "the WAV file did not loop";
    EXPECT_LT(*later, *first + 6 * kRecordingRate);

    players.WaveStop();
    ExpectSilenceAfter(recording.SampleCount());
}

// Makes a sound the system's default sound (the one played for sounds that cannot be found)
// for one scope.
class DefaultSoundScope {
  public:
    explicit DefaultSoundScope(const std::wstring& path) {
        for (const wchar_t* name : kNames)
            WriteProfileStringW(L"Sounds", name, path.c_str());
    }
    ~DefaultSoundScope() {
        for (const wchar_t* name : kNames)
            WriteProfileStringW(L"Sounds", name, nullptr);
    }
    DefaultSoundScope(const DefaultSoundScope&) = delete;
    DefaultSoundScope& operator=(const DefaultSoundScope&) = delete;

  private:
    static constexpr const wchar_t* kNames[] = {L"Default", L"SystemDefault"};
};

TEST_F(MusicSoundTest, MissingWavFileLeavesTheShowSilent) {
    DefaultSoundScope defaultSound(wavFile);
    const size_t start = recording.SampleCount();
    players.WavePlay(Narrow(folder / L"no such.wav"));
    ASSERT_TRUE(recording.WaitForSamples(start + 3 * kRecordingRate));
    EXPECT_TRUE(test::IsSilent(recording.Samples(start, start + 3 * kRecordingRate)))
        << "the system's default sound played in place of the missing file";
    players.WaveStop();
}

TEST_F(MusicSoundTest, Mp3PlaysIsRestartedFromItsBeginningAndCloses) {
    const size_t start = recording.SampleCount();
    players.MusicOpenPlay(Narrow(mp3File));
    EXPECT_EQ(players.Channel().LastError(), 0);  // the play after a successful open
    EXPECT_TRUE(players.MusicIsPlaying());
    ASSERT_TRUE(recording.WaitForTone(start, kMp3Tone, kToneRms))
        << "the MP3 file's tone never reached the sound device";

    // While it plays the repeat check leaves it alone; once it has ended it starts it again.
    players.MusicRepeatCheck();
    EXPECT_EQ(players.Channel().MciQuery("status MP3Play mode"), "playing");
    ASSERT_TRUE(test::WaitUntil([&] { return !players.MusicIsPlaying(); }, 20000, 100));
    const size_t ended = recording.SampleCount();
    players.MusicRepeatCheck();
    EXPECT_TRUE(players.MusicIsPlaying());
    EXPECT_LT(ReadNumber(players.Channel().MciQuery("status MP3Play position")), 1500);
    ASSERT_TRUE(recording.WaitForTone(ended, kMp3Tone, kToneRms))
        << "the restarted MP3 was not heard";

    ASSERT_TRUE(players.MusicIsPlaying());  // so that the silence below is the stop's doing
    players.MusicStop();
    const size_t stopped = recording.SampleCount();
    EXPECT_EQ(players.Channel().MciQuery("status MP3Play mode").rfind("Error:", 0), 0u);
    ExpectSilenceAfter(stopped);
}

}  // namespace
}  // namespace kineloop
