// Scroll bars moved as their notifications ask: a line is one step, a page
// the bar's page, the thumb tracks, top and bottom go to the ends.
#pragma once

#include <windows.h>

namespace tide {

struct ScrollMove {
    int before;
    int after; // as the system clamped it
};

// Gives `bar` (SB_HORZ or SB_VERT) of `window` the range 0..`extent` and a
// page of `page` units. `moreFlags` adds SIF_POS (back to 0) or
// SIF_DISABLENOSCROLL.
void SetScrollExtent(HWND window, int bar, int extent, int page, UINT moreFlags = 0);

// Moves `bar` (SB_HORZ or SB_VERT) of `window` for a WM_HSCROLL/WM_VSCROLL
// request; a request that moves nothing leaves before == after.
ScrollMove MoveScrollBar(HWND window, int bar, int request, int thumb);

} // namespace tide
