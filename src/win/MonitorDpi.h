#pragma once

#include <windows.h>

namespace tide {

// Fills the horizontal and vertical DPI of the monitor nearest to `window`
// (per-monitor when the system can tell, else the screen's). Always returns 0.
int GetMonitorDpi(HWND window, UINT* outX, UINT* outY);

} // namespace tide
