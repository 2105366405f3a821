// The desk's monitors as the system reports them, for the show's layout.
#include "show/monitors_win32.h"

#include <vector>

#include <windows.h>

namespace kineloop {

namespace {

struct MonitorList {
    std::vector<ScreenRect> all;
    ScreenRect primary;
    bool primaryFound = false;
};

ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    auto& monitors = *reinterpret_cast<MonitorList*>(list);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    monitors.all.push_back(FromRect(info.rcMonitor));
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0 && !monitors.primaryFound) {
        monitors.primary = monitors.all.back();
        monitors.primaryFound = true;
    }
    return TRUE;
}

}  // namespace

ShowLayout MeasureShowLayout(int16_t picWidth, int16_t picHeight) {
    MonitorList monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (!monitors.primaryFound) {
        // The primary monitor's corner is the origin of the screen coordinates.
        monitors.primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return LayOutShow(monitors.all, monitors.primary, picWidth, picHeight);
}

}  // namespace kineloop
