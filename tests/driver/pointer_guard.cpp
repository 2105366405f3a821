// Under Wine each of our pointer moves also moves the X pointer, and the program under test hands
// that X move back to Windows as mouse input of its own. A program busy with something else does so
// late, after our next move, and puts the pointer back where it was: a click then lands on the
// control the test clicked before. The virtual display has no mouse of its own, so every pointer
// input the test did not send is such an echo, and a low-level mouse hook drops it.
#include "driver/pointer_guard.h"

namespace kineloop::test {

namespace {

LRESULT CALLBACK DropEchoes(int code, WPARAM message, LPARAM info) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(info);
    if (code == HC_ACTION && !(mouse->flags & LLMHF_INJECTED))
        return 1;
    return CallNextHookEx(nullptr, code, message, info);
}

DWORD WINAPI AnswerTheHook(LPVOID ready) {
    const HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, DropEchoes, GetModuleHandleW(nullptr), 0);
    SetEvent(static_cast<HANDLE>(ready));
    if (!hook)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}

// The hook runs on a thread of its own that does nothing but answer it, so that no input waits
// on a test that is sleeping between two checks. It lives as long as the test program.
void StartGuard() {
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready)
        return;
    if (const HANDLE thread = CreateThread(nullptr, 0, AnswerTheHook, ready, 0, nullptr)) {
        WaitForSingleObject(ready, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(ready);
}

}  // namespace

UINT SendMouseInput(UINT count, INPUT* inputs) {
    static const bool started = (StartGuard(), true);
    (void)started;
    return SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace kineloop::test
