// The Command button's caption font: the container's ambient font and the GDI font of a font
// description.
#pragma once

#include <windows.h>

#include "controls/command_model.h"

namespace kineloop {

// The GDI description of `font` at `dotsPerInch`.
LOGFONTW LogFontOf(const FontSpec& font, int dotsPerInch);

// The container's ambient font: the font the parent window answers WM_GETFONT with, else the
// system's default interface font.
FontSpec AmbientFontOf(HWND parent);

}  // namespace kineloop
