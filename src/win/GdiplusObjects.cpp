#include "win/GdiplusObjects.h"

namespace tide {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

GdiplusGraphics GraphicsForDc(HDC dc) {
    GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Ok) {
        return {};
    }
    GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAliasGridFit);
    return GdiplusGraphics(graphics);
}

GdiplusBrush SolidBrush(COLORREF color, BYTE alpha) {
    GpSolidFill* brush = nullptr;
    if (GdipCreateSolidFill(Argb(color, alpha), &brush) != Ok) {
        return {};
    }
    return GdiplusBrush(brush);
}

GdiplusPen SolidPen(COLORREF color, float width, BYTE alpha) {
    GpPen* pen = nullptr;
    if (GdipCreatePen1(Argb(color, alpha), width, UnitPixel, &pen) != Ok) {
        return {};
    }
    return GdiplusPen(pen);
}

GdiplusFont FontFromGdi(HDC dc, HFONT font) {
    LOGFONTW logFont = {};
    GpFont* result = nullptr;
    if (::GetObjectW(font, sizeof(logFont), &logFont) != 0) {
        GdipCreateFontFromLogfontW(dc, &logFont, &result);
    }
    return GdiplusFont(result);
}

GdiplusStringFormat TextFormat(bool centreVertically) {
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
    if (format) {
        GdipSetStringFormatAlign(format, StringAlignmentNear);
        GdipSetStringFormatLineAlign(format, centreVertically ? StringAlignmentCenter
                                                              : StringAlignmentNear);
    }
    return GdiplusStringFormat(format);
}

DoubleBuffer::DoubleBuffer(HDC target, const RECT& client)
    : target_(target), client_(client), memory_(::CreateCompatibleDC(target)),
      bitmap_(::CreateCompatibleBitmap(target, client.right - client.left,
                                       client.bottom - client.top)) {
    if (memory_ && bitmap_) {
        oldBitmap_ = ::SelectObject(memory_.get(), bitmap_.get());
    }
}

DoubleBuffer::~DoubleBuffer() {
    if (oldBitmap_) {
        ::BitBlt(target_, client_.left, client_.top, client_.right - client_.left,
                 client_.bottom - client_.top, memory_.get(), 0, 0, SRCCOPY);
        ::SelectObject(memory_.get(), oldBitmap_);
    }
}

} // namespace tide
