// The show's music end to end: the real Kineloop.scr beside a recorded sound device (run through
// tests/music/with-sound-server.sh). The music starts when the show loads and stops when it ends.
#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "media/test_media.h"
#include "music/sound_recording.h"
#include "platform/text_win32.h"

namespace kineloop {
namespace {

using namespace test;

const double kToneRms = 16384 / std::sqrt(2.0);  // the test tones are at half of full scale
constexpr double kWavTone = 440, kMp3Tone = 660;

class ShowMusicTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::wstring scr = InstallScreenSaver(folder);
    std::wstring ini = folder / L"Kineloop.ini";
    SoundRecording recording;

    void SetUp() override {
        ASSERT_TRUE(recording.Available()) << "run through tests/music/with-sound-server.sh";
        WriteSetting(ini, "AVI_File",
                     Narrow(WindowsPath(test_media::MediaPath(test_media::kClip160x120))));
        WriteSetting(ini, "Pic_Width", "160");
        WriteSetting(ini, "Pic_Height", "120");
        WriteSetting(ini, "Fast", "50");
    }

    void UseMusic(int kind, const std::wstring& file) {
        WriteSetting(ini, "BGM区分", std::to_string(kind));
        WriteSetting(ini, "BGMﾌｧｲﾙ", Narrow(file));
    }

    std::wstring CopyTone(const char* built, const std::wstring& name) {
        const std::wstring copy = folder / name;
        CopyFileW(WindowsPath(built).c_str(), copy.c_str(), FALSE);
        return copy;
    }

    std::unique_ptr<SaverProcess> StartShow() {
        auto saver = std::make_unique<SaverProcess>(scr, L"/s", folder.Path());
        EXPECT_TRUE(WaitForTopWindow(saver->Id(), L"Kine_Main"));
        return saver;
    }

    // Ends the show with a click and expects the device silent from a second after it (for what
    // was already on its way) for two and a half seconds.
    void EndAndExpectSilence(SaverProcess& saver) {
        ClickAt(512, 384);
        ASSERT_TRUE(saver.WaitForExit());
        const size_t from = recording.SampleCount() + kRecordingRate;
        const size_t to = from + 5 * kRecordingRate / 2;
        ASSERT_TRUE(recording.WaitForSamples(to));
        EXPECT_TRUE(IsSilent(recording.Samples(from, to))) << "the music went on after the show";
    }
};

TEST_F(ShowMusicTest, AWavFileLoopsFromTheStartOfTheShowUntilItsEnd) {
    UseMusic(2, CopyTone(KINELOOP_TONE_WAV, L"ラの音.WAV"));
    const size_t start = recording.SampleCount();
    const auto saver = StartShow();
    const std::optional<size_t> first = recording.WaitForTone(start, kWavTone, kToneRms);
    ASSERT_TRUE(first) << "the WAV file was not heard";
    // The file lasts two seconds: still heard four and a half seconds on, it has looped.
    EXPECT_TRUE(recording.WaitForTone(*first + 9 * kRecordingRate / 2, kWavTone, kToneRms));
    EndAndExpectSilence(*saver);
}

TEST_F(ShowMusicTest, AnMp3FileIsRepeatedAfterItEndsAndStopsWithTheShow) {
    UseMusic(2, CopyTone(KINELOOP_TONE_MP3, L"ミの 音.mp3"));
    const size_t start = recording.SampleCount();
    const auto saver = StartShow();
    const std::optional<size_t> first = recording.WaitForTone(start, kMp3Tone, kToneRms);
    ASSERT_TRUE(first) << "the MP3 file was not heard";
    // The file lasts three seconds: heard again after that, the repeat check restarted it.
    EXPECT_TRUE(recording.WaitForTone(*first + 13 * kRecordingRate / 4, kMp3Tone, kToneRms))
        << "the MP3 file was not restarted";
    EndAndExpectSilence(*saver);
}

TEST_F(ShowMusicTest, OtherFileKindsAndAMissingCdDriveLeaveTheShowSilentButRunning) {
    for (int kind : {1, 2}) {
        UseMusic(kind, CopyTone(KINELOOP_TONE_WAV, L"tone.wma"));
        const size_t start = recording.SampleCount();
        const auto saver = StartShow();
        ASSERT_TRUE(recording.WaitForSamples(start + 3 * kRecordingRate));
        EXPECT_TRUE(IsSilent(recording.Samples(start, start + 3 * kRecordingRate))) << kind;
        EXPECT_TRUE(saver->Running());
        ClickAt(512, 384);
        EXPECT_TRUE(saver->WaitForExit());
    }
}

}  // namespace
}  // namespace kineloop
