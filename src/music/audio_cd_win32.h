// Background music from the audio CD, as the show window opens, polls and closes it.
#pragma once

#include <cstdint>

namespace kineloop {

void CdOpen();
void CdPoll(int16_t bgmRepeat);
void CdStop();
// Whether the show's poll timer is to keep running after the last poll.
bool CdPollActive();

}  // namespace kineloop
