// Letting the window system run inside a long-running loop of the user-interface thread.
#include "platform/message_pump_win32.h"

namespace kineloop {

namespace {

void Pump(UINT which) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | which)) {
        if (message.message == WM_QUIT) {
            // A nested loop must not swallow the request to quit: hand it on to the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void PumpPendingMessages() {
    Pump(0);
}

void PumpPendingMessagesExceptInput() {
    Pump(PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE);
}

void PauseWithMessages(DWORD milliseconds) {
    const bool always = true;
    PauseWhile(always, milliseconds);
}

void PauseWhile(const bool& keepGoing, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        PumpPendingMessages();
        const ULONGLONG now = GetTickCount64();
        if (!keepGoing || now >= deadline)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

}  // namespace kineloop
