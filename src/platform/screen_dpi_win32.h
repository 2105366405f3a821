// The screen's logical dots per inch, as GDI reports them to this program.
#pragma once

namespace kineloop {

// Dots per inch across (`vertical` false) or down the screen; 96, the standard scaling, when the
// screen's device context cannot be had or reports nothing usable.
int ScreenDotsPerInch(bool vertical = true);

}  // namespace kineloop
