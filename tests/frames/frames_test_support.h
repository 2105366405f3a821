// Helpers of the Windows frames tests: test media paths, pixels of decoded frames, and a watcher
// that answers the message boxes this process shows.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "video/avi_frame_reader_win32.h"
#include "media/test_media.h"

namespace kineloop::test {

std::wstring MediaFile(const char* name);

// Whether this runs under Wine (which has known faults of its own, named where they matter).
bool RunningUnderWine();

// Pixel (x, y), y counted from the top, of a packed bitmap or of a picture's rows.
test_media::Colour PixelOf(const void* packedDib, int x, int yFromTop);
test_media::Colour PixelOfRows(const BITMAPINFOHEADER& header, const uint8_t* rows, int x,
                               int yFromTop);
bool Near(test_media::Colour got, test_media::Colour expected, int tolerance);
std::string Describe(test_media::Colour colour);

// Counts the pixels of a frame (a packed bitmap of the media layout) that are not within
// `tolerance` of what was encoded: the band colour in the top quarter when `band`, the colour
// `expected` elsewhere.
int WrongPixels(const void* packedDib, test_media::Colour expected, bool band, int tolerance);

// A message box as the watcher saw it.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool informationIcon = false;
};

// Answers (OK) every message box of this process while it lives, from a thread of its own; runs
// `onBox` on that thread while each box is still up.
class MessageBoxWatcher {
  public:
    explicit MessageBoxWatcher(std::function<void(const SeenBox&)> onBox = nullptr);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenBox> Boxes();  // the boxes answered so far
    void Clear();

  private:
    void Run();

    std::function<void(const SeenBox&)> onBox_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};

// Whether another program could open the file for writing now (an open reader denies it).
bool WritableByOthers(const std::wstring& path);

// Closes the reader as the program's callers do: an unreadable file is reported with the
// program's "Error : " message, which waits until it is closed.
void CloseAndReport(AviFrameReader& reader);

}  // namespace kineloop::test
