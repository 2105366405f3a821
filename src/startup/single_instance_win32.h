// The single-instance rule's named mutex: whichever start takes it first runs, however close
// together two starts come; the window-title check alone lets both through.
#pragma once

namespace kineloop {

// Takes the program's mutex for the rest of the process; false when another instance holds it.
bool TakeInstanceMutex();

// Whether another instance holds the mutex, without taking it (the preview, which the host runs
// beside its own settings and show starts, must not keep them out).
bool InstanceMutexHeld();

}  // namespace kineloop
