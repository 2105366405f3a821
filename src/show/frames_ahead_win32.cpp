// The show's frames read and stretched ahead on the video thread.
#include "show/frames_ahead_win32.h"

#include "video/tile_sampler.h"

namespace kineloop {

namespace {

// What the video thread makes of a frame: its tile picture, sampled from the decoder's buffer.
FrameSource::FrameWork TileWork(std::shared_ptr<StretchedFrame> into, const TileShape& shape) {
    return [into = std::move(into), shape](const DecodedFrame& frame) {
        into->MakeWith(shape, FrameSamplable(frame), [&](TileImage& image, int width, int height) {
            return SampleFrameToTile(frame, width, height, image);
        });
    };
}

}  // namespace

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
        taken_ = 0;
        if (!source_.ReadWith(number, TileWork(pictures_[taken_], shape))) {
            // Not read, or given up on and perhaps still being written: a picture of its own
            // stands for the frame refused.
            pictures_[taken_] = std::make_shared<StretchedFrame>();
        }
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
        if (!source_.ReadAhead(number, TileWork(pictures_[picture], shape_))) {
            following_.reset();  // this source reads nothing ahead
            return;
        }
        ahead_.push_back({number, picture});
    }
}

}  // namespace kineloop
