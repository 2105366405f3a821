// The settings dialog's picture boxes: child windows that keep their drawing in a retained
// surface, paint the labels on them see-through, draw the option bullets and hand their
// controls' notifications up to the dialog.
#pragma once

#include <windows.h>

#include "platform/surface_win32.h"

namespace kineloop {

class DialogPanel;

// Creates a panel of `width` x `height` pixels with a surface of the same size (cleared black).
HWND CreateDialogPanel(HWND parent, int id, int x, int y, int width, int height);
RetainedSurface* PanelSurface(HWND window);

// Copies what `surface` (the drawing of `container`) shows under `control` into `dc`, the
// control's own client DC: the control then looks see-through.
void PaintBehind(HDC dc, HWND control, HWND container, const RetainedSurface& surface);

// An option bullet: an owner-drawn static whose picture (a bitmap with magenta as see-through
// colour) is kept and drawn by its panel.
HWND CreateBullet(HWND panel, int id, int x, int y, int width, int height);
void SetBulletPicture(HWND bullet, HBITMAP picture);

}  // namespace kineloop
