// A window's text (a caption, a label's or a text box's contents).
#pragma once

#include <string>

#include <windows.h>

namespace kineloop {

// The whole text of `window`; empty for no window.
std::wstring WindowText(HWND window);

}  // namespace kineloop
