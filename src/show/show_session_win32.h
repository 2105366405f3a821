// What the show window and its playback loop share while the show runs.
#pragma once

#include <cstdint>

#include <windows.h>

#include "platform/handles_win32.h"
#include "platform/surface_win32.h"
#include "settings/saver_settings.h"
#include "show/screen_layout.h"

namespace kineloop {

struct ShowSession {
    explicit ShowSession(const SaverSettings& loaded) : settings(loaded) {}

    const SaverSettings& settings;
    HWND window = nullptr;         // Kine_S
    HWND display = nullptr;        // Display: the visible screen
    WindowDc displayDc;            // Display's own device context (its class keeps one per window)
    RetainedSurface displayImage;  // Display's persistent image, shown on every repaint
    RetainedSurface picS;          // Pic_S: the current frame scaled to the tile size
    TileGrid grid;
    // Where the grid lies in Display (the primary monitor); empty means the whole of Display.
    ScreenRect gridArea;
    TilePosition tile;  // in Display's coordinates
    int32_t StreamStart = 0;
    int32_t StreamLength = 0;
    // Cleared when the show ends; the playback loop returns at its next yield, at once when it is
    // pausing.
    bool KeepPlaying = true;
};

}  // namespace kineloop
