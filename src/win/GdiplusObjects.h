// Owners of GDI+ objects used for painting, and a double buffer that paints
// into a memory bitmap and copies it to the window at the end.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "win/Handles.h"

namespace tide {

template <typename Object, Gdiplus::GpStatus(WINGDIPAPI* Delete)(Object*)>
struct GdiplusTraits {
    using Value = Object*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { Delete(value); }
};

using GdiplusGraphics =
    UniqueResource<GdiplusTraits<Gdiplus::GpGraphics, Gdiplus::DllExports::GdipDeleteGraphics>>;
using GdiplusBrush =
    UniqueResource<GdiplusTraits<Gdiplus::GpBrush, Gdiplus::DllExports::GdipDeleteBrush>>;
using GdiplusFont =
    UniqueResource<GdiplusTraits<Gdiplus::GpFont, Gdiplus::DllExports::GdipDeleteFont>>;
using GdiplusStringFormat = UniqueResource<
    GdiplusTraits<Gdiplus::GpStringFormat, Gdiplus::DllExports::GdipDeleteStringFormat>>;
using GdiplusPen =
    UniqueResource<GdiplusTraits<Gdiplus::GpPen, Gdiplus::DllExports::GdipDeletePen>>;
using GdiplusPath =
    UniqueResource<GdiplusTraits<Gdiplus::GpPath, Gdiplus::DllExports::GdipDeletePath>>;
using GdiplusImageAttributes = UniqueResource<
    GdiplusTraits<Gdiplus::GpImageAttributes, Gdiplus::DllExports::GdipDisposeImageAttributes>>;
// Any image, bitmaps included.
using GdiplusImage =
    UniqueResource<GdiplusTraits<Gdiplus::GpImage, Gdiplus::DllExports::GdipDisposeImage>>;

// A COLORREF (0x00BBGGRR; its top byte is no alpha) as GDI+'s ARGB; `alpha`
// 255 is opaque.
constexpr Gdiplus::ARGB Argb(COLORREF color, BYTE alpha = 255) {
    return static_cast<Gdiplus::ARGB>(alpha) << 24 | (color & 0xFFu) << 16 | (color & 0xFF00u) |
           (color >> 16 & 0xFFu);
}
static_assert(Argb(0x00112233u, 0xFE) == 0xFE332211u);
static_assert(Argb(0xFF112233u) == 0xFF332211u);
static_assert(Argb(RGB(1, 2, 3), 0) == 0x00010203u);

// Graphics on a DC with anti-aliased, grid-fitted text.
GdiplusGraphics GraphicsForDc(HDC dc);
// Null when GDI+ refuses.
GdiplusBrush SolidBrush(COLORREF color, BYTE alpha = 255);
GdiplusPen SolidPen(COLORREF color, float width, BYTE alpha = 255);
// The GDI+ font of a GDI font, on that DC.
GdiplusFont FontFromGdi(HDC dc, HFONT font);
// Left-aligned; vertically centred or top-aligned.
GdiplusStringFormat TextFormat(bool centreVertically);

// Paints into a memory bitmap of the client size; the destructor copies it
// to the window's DC.
class DoubleBuffer {
public:
    DoubleBuffer(HDC target, const RECT& client);
    DoubleBuffer(const DoubleBuffer&) = delete;
    DoubleBuffer& operator=(const DoubleBuffer&) = delete;
    ~DoubleBuffer();
    HDC dc() const { return memory_.get(); }

private:
    HDC target_;
    RECT client_;
    MemoryDc memory_;
    BitmapHandle bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

} // namespace tide
