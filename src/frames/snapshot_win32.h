// The scratch bitmap file beside the program: each frame shown is written to it, read back as a
// picture and deleted again, by the show and by the settings dialog alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "frames/fdib_pointer.h"

namespace kineloop {

// The program's folder followed by "\Dummy.bmp".
std::wstring ScratchPath();

// A picture read back from a bitmap file: header and rows as StretchDIBits takes them (no colour
// table, uncompressed, 16, 24 or 32 bits, either row order).
struct Picture {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;
};

class ScratchSnapshot {
  public:
    explicit ScratchSnapshot(std::wstring path = ScratchPath());

    // Writes the frame to the scratch file; false (and no file left) when it could not.
    bool Write(const FDIBPointer& frame);
    // Reads the scratch file back and checks it; the pixels are read straight into the picture's
    // buffer, with no copy after the read. On success `into` holds the picture, otherwise `into`
    // is left as it was.
    bool Load(Picture& into);
    // Deletes the scratch file.
    void Delete();

    const std::wstring& Path() const { return path_; }

  private:
    std::wstring path_;
    // The buffer the next picture is read into; it trades places with the picture's own buffer on
    // success, so that neither reading nor the trade allocates once the size is steady.
    std::vector<uint8_t> spare_;
};

// Draws the whole picture stretched into the rectangle (x, y, width, height) of `dc`, with the
// stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);

}  // namespace kineloop
