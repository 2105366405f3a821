// The single-instance rule's named mutex: whichever start takes it first runs, however close
// together two starts come; the window-title check alone lets both through.
#include "startup/single_instance_win32.h"

#include <windows.h>

namespace kineloop {

namespace {

// One name for every copy of the program in the user's session.
constexpr wchar_t kMutexName[] = L"Kineloop.SingleInstance";

}  // namespace

bool TakeInstanceMutex() {
    // The handle stays open until the process ends; the system then releases the name.
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (mutex == nullptr)
        return GetLastError() != ERROR_ACCESS_DENIED;  // held under another account's rights
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    return true;
}

bool InstanceMutexHeld() {
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
    if (mutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(mutex);
    return true;
}

}  // namespace kineloop
