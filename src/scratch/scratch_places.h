// Where the scratch bitmap file goes: the program's folder first, and from the first write that
// fails there on, the next place that takes it, for the rest of the run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kineloop {

class ScratchPlaces {
  public:
    // The scratch file's full paths, best first; empty paths (a folder that could not be found)
    // are left out.
    explicit ScratchPlaces(std::vector<std::wstring> paths);

    // Where the next frame is written; nullptr when there is no place at all.
    const std::wstring* Current() const;

    // A write at the current place failed. Moves on to the next place for good and returns true
    // when there is one to try; false when the current place is the last, which stays current
    // (the frame is refused, the next frame tries it again).
    bool WriteFailed();

  private:
    std::vector<std::wstring> paths_;
    size_t index_ = 0;
};

}  // namespace kineloop
