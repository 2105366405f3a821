// The Command push button as a window of class "Kine.Command": creation from the container's
// stored design, Initialize, the Enabled property, and Click raised to the parent as WM_COMMAND.
#pragma once

#include <string>

#include <windows.h>

#include "controls/property_store.h"

namespace kineloop {

// Registers the window class "Kine.Command" (once; later calls just return true).
bool RegisterCommandClass();

// Creates one Command control, a child of `parent` with control id `id`, at pixel rectangle
// (x, y, width, height), its persisted properties read from `design` (the container's stored
// design; keys matched without regard to case). Returns nullptr on failure.
HWND CreateCommand(HWND parent, int id, const PropertyStore& design, int x, int y, int width,
                   int height);

// Initialize(): ButtonState 1 and the 100 ms TmrMouse from now on.
void InitializeCommand(HWND command);

// Whether `window` is a Command control.
bool IsCommand(HWND window);

// The Enabled property, written and read with its side effects.
void SetCommandEnabled(HWND command, bool enabled);
bool CommandEnabled(HWND command);

// Click is raised as WM_COMMAND with MAKEWPARAM(id, BN_CLICKED) and the control's HWND, sent to
// the parent window.

// The caption shown.
std::wstring CommandCaption(HWND command);

// Whether the face is painted (255) or the container shows through under the caption (0); any
// value but 0 written makes it opaque. Stored as the design's "Visible" property.
BYTE CommandOpaqueBackground(HWND command);
void SetCommandOpaqueBackground(HWND command, BYTE opaque);

// ButtonState (0 before Initialize; 1 Normal, 2 HighLight, 3 Selected, 4 HighLightSelect).
int CommandButtonState(HWND command);

}  // namespace kineloop
