// The scratch bitmap file: each frame shown is written to it, read back as a picture and deleted
// again, by the show and by the settings dialog alike. It goes beside the program, or where the
// run has fallen back to when that folder cannot be written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "frames/fdib_pointer.h"
#include "frames/scratch_places.h"

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

class ScratchSnapshot {
  public:
    // At the program's places (ProgramScratchPlaces), kept by this snapshot alone.
    ScratchSnapshot();
    // At `path` only, with no fallback.
    explicit ScratchSnapshot(std::wstring path);
    // At `places`, which outlive the snapshot and may be shared with other snapshots.
    explicit ScratchSnapshot(ScratchPlaces& places);

    // Writes the frame to the scratch file at the current place, moving on to the next place
    // when a write fails; false (and no file left) when no place took it.
    bool Write(const FDIBPointer& frame);
    // Reads the scratch file back and checks it; the pixels are read straight into the picture's
    // buffer, with no copy after the read. On success `into` holds the picture, otherwise `into`
    // is left as it was.
    bool Load(Picture& into);
    // Deletes the scratch file.
    void Delete();

    // The whole trip of one picture through one handle: creates the scratch file at the current
    // place as a temporary file that is deleted when closed, writes the bitmap file (`headers`,
    // then `rows`), reads it back into `into` as Load does, and closes it. The file exists only
    // meanwhile, and a program killed meanwhile leaves none behind. A place that refuses the
    // write gives way to the next, as with Write.
    enum class Trip { kNoPlace, kNotReadBack, kReadBack };
    Trip PassThrough(const std::array<uint8_t, kBitmapHeadersBytes>& headers, const uint8_t* rows,
                     size_t rowBytes, Picture& into);

    // Where the last write went (or the next one goes, before any write).
    const std::wstring& Path() const { return path_; }

  private:
    ScratchPlaces& Places() { return shared_ ? *shared_ : own_; }
    // Moves the run on to the next place after a failed write; false when there is none.
    bool NextPlace();
    // Reads the bitmap file of `file`, from its start, into `into` (see Load).
    bool ReadPicture(HANDLE file, Picture& into);

    ScratchPlaces own_;                // the one place of a snapshot made with a path
    ScratchPlaces* shared_ = nullptr;  // places shared with other snapshots, when given
    std::wstring path_;
    // The buffer the next picture is read into; it trades places with the picture's own buffer on
    // success, so that neither reading nor the trade allocates once the size is steady.
    std::vector<uint8_t> spare_;
};

// Draws the whole picture stretched into the rectangle (x, y, width, height) of `dc`, with the
// stretch mode already set on `dc`. Returns whether anything was drawn.
bool StretchPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);

}  // namespace kineloop
