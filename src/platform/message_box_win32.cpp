// The one way the program shows a message: information icon, OK button, the program's title.
#include "platform/message_box_win32.h"

#include "platform/program_title.h"
#include "platform/text_win32.h"

namespace kineloop {

void ShowInfoMessage(const std::wstring& text, HWND owner) {
    const std::wstring title = Widen(kProgramTitle);
    MessageBoxW(owner, text.c_str(), title.c_str(),
                MB_OK | MB_ICONINFORMATION | MB_TOPMOST | MB_SETFOREGROUND);
}

}  // namespace kineloop
