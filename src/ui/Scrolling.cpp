#include "ui/Scrolling.h"

namespace tide {

ScrollMove MoveScrollBar(HWND window, int bar, int request, int thumb) {
    SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window, bar, &info);
    const int page = static_cast<int>(info.nPage);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: // and SB_LINELEFT
        position -= 1;
        break;
    case SB_LINEDOWN:
        position += 1;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
        position = thumb;
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default: // SB_THUMBPOSITION: the tracking moved it already
        return {info.nPos, info.nPos};
    }
    const int before = info.nPos;
    info.fMask = SIF_POS;
    info.nPos = position;
    ::SetScrollInfo(window, bar, &info, TRUE);
    info.fMask = SIF_POS;
    ::GetScrollInfo(window, bar, &info);
    return {before, info.nPos};
}

void SetScrollExtent(HWND window, int bar, int extent, int page, UINT moreFlags) {
    SCROLLINFO info = {
        sizeof(info), SIF_RANGE | SIF_PAGE | moreFlags, 0, extent, static_cast<UINT>(page), 0, 0};
    ::SetScrollInfo(window, bar, &info, TRUE);
}

} // namespace tide
