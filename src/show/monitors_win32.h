// The desk's monitors as the system reports them, for the show's layout.
#pragma once

#include <cstdint>

#include "show/screen_layout.h"

namespace kineloop {

// The show's window and grid on the monitors attached now. Without a monitor list (a failed
// enumeration) the primary screen alone is covered, as the system metrics give it.
ShowLayout MeasureShowLayout(int16_t picWidth, int16_t picHeight);

}  // namespace kineloop
