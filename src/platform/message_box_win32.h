// The one way the program shows a message: information icon, OK button, the program's title.
#pragma once

#include <string>

#include <windows.h>

namespace kineloop {

// Shows the message and waits until the user closes it. The box is topmost so that it is seen
// above a full-screen show window.
void ShowInfoMessage(const std::wstring& text, HWND owner = nullptr);

}  // namespace kineloop
