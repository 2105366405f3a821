// The show's frames read and stretched ahead on the video thread.
#include "show/frames_ahead_win32.h"

namespace kineloop {

const StretchedFrame& FramesAhead::Take(int32_t number, const TileShape& shape,
                                        const FrameSequence& following) {
    taken_ = -1;
    if (!ahead_.empty() && ahead_.front().number == number && shape == shape_ &&
        source_.TakeAhead(number)) {
        taken_ = ahead_.front().picture;
        ahead_.pop_front();
    } else {
        // What was read ahead is of no use now (another frame, another shape, a source given up
        // on). A read given up on may still write its picture: such pictures are left to it.
        for (const Ahead& ahead : ahead_)
            pictures_[ahead.picture] = std::make_shared<StretchedFrame>();
        ahead_.clear();
        following_ = std::make_unique<FrameSequence>(following);
        shape_ = shape;
        const void* packed = source_.ReadFrame(number);
        taken_ = 0;
        pictures_[taken_]->Make(packed, source_.FrameBytes(), shape);
    }
    TopUp();
    return *pictures_[taken_];
}

void FramesAhead::Release() {
    taken_ = -1;
    TopUp();
}

bool FramesAhead::Free(int picture) const {
    if (picture == taken_)
        return false;
    for (const Ahead& ahead : ahead_) {
        if (ahead.picture == picture)
            return false;
    }
    return true;
}

void FramesAhead::TopUp() {
    if (!following_)
        return;
    for (int picture = 0; picture < kPictures; ++picture) {
        int32_t number = 0;
        if (!Free(picture) || !following_->Next(number))
            continue;
        const std::shared_ptr<StretchedFrame> into = pictures_[picture];
        const TileShape shape = shape_;
        if (!source_.ReadAhead(number, [into, shape](const void* packed, size_t bytes) {
                into->Make(packed, bytes, shape);
            })) {
            following_.reset();  // this source reads nothing ahead
            return;
        }
        ahead_.push_back({number, picture});
    }
}

}  // namespace kineloop
