// The scratch bitmap file: each picture shown is written to it and read back, by the show and by
// the settings dialog alike. It goes beside the program, or where the run has fallen back to when
// that folder cannot be written, and is deleted when its ScratchFile goes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/handles_win32.h"
#include "scratch/bitmap_file.h"
#include "scratch/scratch_places.h"

namespace kineloop {

// The program's folder followed by "\Dummy.bmp".
std::wstring ScratchPath();

// The places for the scratch file, best first: beside the program, else in
// %LOCALAPPDATA%\Kineloop (made when first needed), else in the temporary folder. Whoever shows
// frames keeps one set for as long as it runs, so that a place that refused a write is not tried
// again.
ScratchPlaces ProgramScratchPlaces();

// A picture read back from a bitmap file: header and rows as StretchDIBits takes them (no colour
// table, uncompressed, 16, 24 or 32 bits, either row order).
struct Picture {
    BITMAPINFOHEADER header{};
    std::vector<uint8_t> bits;
};

class ScratchFile {
  public:
    // At the program's places (ProgramScratchPlaces), kept by this file alone.
    ScratchFile();
    // At `places`, which outlive this file and may be shared with other scratch files.
    explicit ScratchFile(ScratchPlaces& places);

    // The whole trip of one picture: writes the bitmap file (`headers`, then `rows`) over the
    // scratch file at the current place and reads it back into `into`. The pixels are read
    // straight into the picture's buffer; when they cannot be read back, `into` is left as it
    // was. The file is opened at the first trip as a temporary file that is deleted when closed,
    // and kept open for the next: each open and close is a round trip to the file system's
    // server and a name made and removed on the disk. It goes when this ScratchFile goes, and a
    // program killed meanwhile leaves none behind. A place that refuses the write gives way to
    // the next for the rest of the run.
    enum class Trip { kNoPlace, kNotReadBack, kReadBack };
    Trip PassThrough(const std::array<uint8_t, kBitmapHeadersBytes>& headers, const uint8_t* rows,
                     size_t rowBytes, Picture& into);

    // Where the last write went (or the next one goes, before any write).
    const std::wstring& Path() const { return path_; }

  private:
    ScratchPlaces& Places() { return shared_ ? *shared_ : own_; }
    // Writes the bitmap file over the kept handle from its start, opening it first if needed.
    bool Write(const std::array<uint8_t, kBitmapHeadersBytes>& headers, const uint8_t* rows,
               size_t rowBytes);
    // Moves the run on to the next place after a failed write; false when there is none.
    bool NextPlace();
    // Reads the bitmap file of `file`, from its start, into `into` (see PassThrough).
    bool ReadPicture(HANDLE file, Picture& into);

    ScratchPlaces own_;                // the program's places, when none are given
    ScratchPlaces* shared_ = nullptr;  // places shared with other scratch files, when given
    std::wstring path_;
    UniqueHandle file_;       // the scratch file at path_, once opened
    uint64_t fileBytes_ = 0;  // how long it is; a file that was there already is cut at once
    // The buffer the next picture is read into; it trades places with the picture's own buffer on
    // success, so that neither reading nor the trade allocates once the size is steady.
    std::vector<uint8_t> spare_;
};

// Draws the whole picture stretched into the rectangle (x, y, width, height) of `dc`, with the
// stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);

}  // namespace kineloop
