// Reads the sound that with-sound-server.sh records, and tells a tone from silence.
#include "music/sound_recording.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "driver/driver.h"
#include "platform/handles_win32.h"

namespace kineloop::test {

namespace {

constexpr size_t kWindow = kRecordingRate / 4;
// Below this the recording counts as silent: far under any tone a test plays, above rounding.
constexpr int kSilenceLevel = 64;

}  // namespace

ToneMeasure MeasureTone(const std::vector<int16_t>& samples) {
    ToneMeasure measure;
    if (samples.size() < 2)
        return measure;
    double sum = 0;
    int crossings = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        if (i > 0 && (samples[i - 1] < 0) != (samples[i] < 0))
            ++crossings;
    }
    measure.rms = std::sqrt(sum / static_cast<double>(samples.size()));
    measure.frequency = crossings / 2.0 * kRecordingRate / static_cast<double>(samples.size());
    return measure;
}

bool IsTone(const ToneMeasure& measure, double frequency, double rms) {
    return std::fabs(measure.frequency - frequency) <= frequency * 0.05 &&
           std::fabs(measure.rms - rms) <= rms * 0.3;
}

bool IsSilent(const std::vector<int16_t>& samples) {
    for (int16_t sample : samples)
        if (std::abs(sample) > kSilenceLevel)
            return false;
    return true;
}

SoundRecording::SoundRecording() {
    if (const char* path = std::getenv("KINELOOP_SOUND_RECORDING"); path && *path)
        path_ = WindowsPath(path);
}

size_t SoundRecording::SampleCount() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data))
        return 0;
    const uint64_t bytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return static_cast<size_t>(bytes / sizeof(int16_t));
}

std::vector<int16_t> SoundRecording::Samples(size_t from, size_t to) const {
    std::vector<int16_t> samples;
    const size_t count = SampleCount();
    to = to < count ? to : count;
    if (from >= to)
        return samples;
    UniqueHandle file(CreateFileW(path_.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(from * sizeof(int16_t));
    if (!file || !SetFilePointerEx(file.Get(), offset, nullptr, FILE_BEGIN))
        return samples;
    samples.resize(to - from);
    DWORD read = 0;
    if (!ReadFile(file.Get(), samples.data(), static_cast<DWORD>(samples.size() * sizeof(int16_t)),
                  &read, nullptr))
        read = 0;
    samples.resize(read / sizeof(int16_t));
    return samples;
}

bool SoundRecording::WaitForSamples(size_t count, unsigned timeoutMs) const {
    return WaitUntil([&] { return SampleCount() >= count; }, timeoutMs);
}

std::optional<size_t> SoundRecording::WaitForTone(size_t from, double frequency, double rms,
                                                  unsigned timeoutMs) const {
    // Quarter seconds on a grid of an eighth, so that one of them lies wholly inside the tone.
    std::optional<size_t> found;
    size_t next = from;
    WaitUntil(
        [&] {
            for (; next + kWindow <= SampleCount(); next += kWindow / 2) {
                if (IsTone(MeasureTone(Samples(next, next + kWindow)), frequency, rms)) {
                    found = next;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

}  // namespace kineloop::test
