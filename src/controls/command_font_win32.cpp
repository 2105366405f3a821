#include "controls/command_font_win32.h"

#include <cmath>
#include <string>

#include "platform/screen_dpi_win32.h"
#include "platform/text_win32.h"

namespace kineloop {

namespace {

FontSpec FontSpecOf(const LOGFONTW& logFont, int dotsPerInch) {
    FontSpec font;
    font.name = Narrow(logFont.lfFaceName);
    const double pixels = std::abs(static_cast<double>(logFont.lfHeight));
    // Points to the hundredth, as the container's font objects keep them.
    font.points = pixels > 0 ? std::round(pixels * 72.0 / dotsPerInch * 100.0) / 100.0 : 9.0;
    font.weight = logFont.lfWeight ? logFont.lfWeight : FW_NORMAL;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikethrough = logFont.lfStrikeOut != 0;
    font.charset = logFont.lfCharSet;
    return font;
}

}  // namespace

LOGFONTW LogFontOf(const FontSpec& font, int dotsPerInch) {
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dotsPerInch / 72.0));
    logFont.lfWeight = font.weight;
    logFont.lfItalic = font.italic;
    logFont.lfUnderline = font.underline;
    logFont.lfStrikeOut = font.strikethrough;
    logFont.lfCharSet = font.charset;
    const std::wstring name = Widen(font.name);
    lstrcpynW(logFont.lfFaceName, name.c_str(), LF_FACESIZE);
    return logFont;
}

FontSpec AmbientFontOf(HWND parent) {
    HFONT font = parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW logFont{};
    if (!font || !GetObjectW(font, sizeof logFont, &logFont))
        return ButtonDesignFont();
    return FontSpecOf(logFont, ScreenDotsPerInch());
}

}  // namespace kineloop
