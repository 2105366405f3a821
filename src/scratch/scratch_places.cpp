// Where the scratch bitmap file goes: the program's folder first, then the fallbacks in order.
#include "scratch/scratch_places.h"

#include <algorithm>
#include <utility>

namespace kineloop {

ScratchPlaces::ScratchPlaces(std::vector<std::wstring> paths) : paths_(std::move(paths)) {
    paths_.erase(std::remove_if(paths_.begin(), paths_.end(),
                                [](const std::wstring& path) { return path.empty(); }),
                 paths_.end());
}

const std::wstring* ScratchPlaces::Current() const {
    return index_ < paths_.size() ? &paths_[index_] : nullptr;
}

bool ScratchPlaces::WriteFailed() {
    if (index_ + 1 >= paths_.size())
        return false;
    ++index_;
    return true;
}

}  // namespace kineloop
