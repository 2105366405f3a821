// Reads the sound that with-sound-server.sh records from its device while a test runs, and tells
// a tone from silence. Usable by any Windows test started through that wrapper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kineloop::test {

inline constexpr int kRecordingRate = 8000;  // samples a second, mono, signed 16-bit

// Loudness (root mean square) and pitch (from zero crossings) of a stretch of sound.
struct ToneMeasure {
    double rms = 0;
    double frequency = 0;
};
ToneMeasure MeasureTone(const std::vector<int16_t>& samples);
// Within 5 % of the pitch and 30 % of the loudness expected.
bool IsTone(const ToneMeasure& measure, double frequency, double rms);
bool IsSilent(const std::vector<int16_t>& samples);

// The live recording named by KINELOOP_SOUND_RECORDING.
class SoundRecording {
  public:
    SoundRecording();
    bool Available() const { return !path_.empty(); }
    size_t SampleCount() const;
    // Samples [from, to); fewer when the recording is not that long yet.
    std::vector<int16_t> Samples(size_t from, size_t to) const;
    // Waits until `count` samples have been recorded.
    bool WaitForSamples(size_t count, unsigned timeoutMs = 20000) const;
    // Waits for the first quarter second at or after sample `from` that holds the tone; returns
    // where it starts.
    std::optional<size_t> WaitForTone(size_t from, double frequency, double rms,
                                      unsigned timeoutMs = 20000) const;

  private:
    std::wstring path_;
};

}  // namespace kineloop::test
