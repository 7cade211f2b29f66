// The drawing primitives of the skin previews on GDI+: text measured and
// drawn with anti-aliased, grid-fitted rendering, lines, boxes (square or
// rounded, filled and outlined), and images scaled into rectangles, normally
// or crisply for the fixed edges of a background. Every colour is drawn with
// alpha 254, as the input method draws it. A step that fails draws nothing
// and leaves its status as the canvas's last status; drawing goes on.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string_view>

#include "core/skin/PreviewGeometry.h"
#include "win/GdiplusObjects.h"
#include "win/ImageCodec.h"

namespace tide {

// A 32-bit ARGB picture of that size; nothing when it cannot be made.
GdiplusImage NewPicture(int width, int height);

enum class TextAlign { Near, Centre, Far };

class PreviewCanvas {
public:
    static PreviewCanvas ForDc(HDC dc);
    static PreviewCanvas ForPicture(Gdiplus::GpImage* picture);

    explicit operator bool() const { return static_cast<bool>(graphics_); }
    Gdiplus::GpStatus lastStatus() const { return status_; }
    Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }

    void DrawText(HDC dc, std::u16string_view text, COLORREF color, const LOGFONTW* font,
                  TextAlign vertical, TextAlign horizontal, const PreviewRect& box);
    void DrawLine(COLORREF color, float width, const PreviewLine& line);
    // A pen width of 0 fills only; a negative one outlines only.
    void DrawBox(COLORREF border, COLORREF fill, float penWidth, bool rounded,
                 const PreviewRect& box);
    void DrawImage(Gdiplus::GpImage* image, const PreviewRect& destination,
                   const PreviewRect& source, bool crisp);

private:
    explicit PreviewCanvas(Gdiplus::GpGraphics* graphics);
    void Check(Gdiplus::GpStatus status);

    GdiplusGraphics graphics_;
    Gdiplus::GpStatus status_ = Gdiplus::Ok;
};

// The size of `text` in `font` (the DC's own font when null): the bounding
// box of the typographic or the default string format, truncated; the GDI
// text extent when GDI+ cannot tell.
SIZE MeasurePreviewText(HDC dc, std::u16string_view text, const LOGFONTW* font, bool typographic);

} // namespace tide
