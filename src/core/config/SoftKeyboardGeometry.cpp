#include "core/config/SoftKeyboardGeometry.h"

namespace tide {

PixelRect KeyCapSquare(const KeyCap& cap, int originX, int originY) {
    const int left = originX + 2 + cap.columnOffset;
    const int top = originY + 2 + kKeyRowPitch * cap.row;
    return {left, top, left + kKeyCapSize, top + kKeyCapSize};
}

std::optional<KeyCap> HitTestKeyCap(int x, int y, int originX, int originY) {
    for (const KeyCap& cap : kKeyCaps) {
        const PixelRect square = KeyCapSquare(cap, originX, originY);
        const PixelRect inner = {square.left + 1, square.top + 1, square.right - 1,
                                 square.bottom - 1};
        if (inner.Contains(x, y)) {
            return cap;
        }
    }
    return std::nullopt;
}

PixelRect PlainLabelArea(const PixelRect& cap) {
    return {cap.left + 2, cap.top + 14, cap.left + 16, cap.top + 29};
}

PixelRect ShiftedLabelArea(const PixelRect& cap) {
    return {cap.left + 14, cap.top + 2, cap.left + 29, cap.top + 16};
}

} // namespace tide
