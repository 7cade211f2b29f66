#include "win/skin/PreviewCanvas.h"

#include <cstdlib>

namespace tide {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

const WCHAR* Units(std::u16string_view text) {
    return reinterpret_cast<const WCHAR*>(text.data());
}

GdiplusBrush Brush(COLORREF color) {
    return SolidBrush(color, kPreviewAlpha);
}

GdiplusFont Font(HDC dc, const LOGFONTW* font) {
    GpFont* result = nullptr;
    if (font) {
        GdipCreateFontFromLogfontW(dc, font, &result);
    } else {
        GdipCreateFontFromDC(dc, &result);
    }
    return GdiplusFont(result);
}

// The generic typographic format (a copy this code owns) or the default one.
GdiplusStringFormat Format(bool typographic) {
    GpStringFormat* format = nullptr;
    if (typographic) {
        GpStringFormat* shared = nullptr;
        if (GdipStringFormatGetGenericTypographic(&shared) == Ok) {
            GdipCloneStringFormat(shared, &format);
        }
    } else {
        GdipCreateStringFormat(0, LANG_NEUTRAL, &format);
    }
    return GdiplusStringFormat(format);
}

StringAlignment Alignment(TextAlign align) {
    switch (align) {
    case TextAlign::Near:
        return StringAlignmentNear;
    case TextAlign::Far:
        return StringAlignmentFar;
    case TextAlign::Centre:
        break;
    }
    return StringAlignmentCenter;
}

// Four lines and four quarter arcs, clockwise from the top left.
GdiplusPath BoxPath(float x, float y, float w, float h, bool rounded) {
    GpPath* path = nullptr;
    if (GdipCreatePath(FillModeAlternate, &path) != Ok) {
        return {};
    }
    const float e = BoxCornerRadius(static_cast<int>(w), static_cast<int>(h), rounded);
    GdipAddPathLine(path, x + e, y, x + w - e, y);
    GdipAddPathArc(path, x + w - 2 * e, y, 2 * e, 2 * e, 270, 90);
    GdipAddPathLine(path, x + w, y + e, x + w, y + h - e);
    GdipAddPathArc(path, x + w - 2 * e, y + h - 2 * e, 2 * e, 2 * e, 0, 90);
    GdipAddPathLine(path, x + w - e, y + h, x + e, y + h);
    GdipAddPathArc(path, x, y + h - 2 * e, 2 * e, 2 * e, 90, 90);
    GdipAddPathLine(path, x, y + h - e, x, y + e);
    GdipAddPathArc(path, x, y, 2 * e, 2 * e, 180, 90);
    GdipClosePathFigure(path);
    return GdiplusPath(path);
}

} // namespace

GdiplusImage NewPicture(int width, int height) {
    GpBitmap* bitmap = nullptr;
    if (width <= 0 || height <= 0 ||
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) != Ok) {
        return {};
    }
    return GdiplusImage(bitmap);
}

PreviewCanvas::PreviewCanvas(GpGraphics* graphics) : graphics_(graphics) {
    if (graphics) {
        Check(GdipSetTextRenderingHint(graphics, TextRenderingHintAntiAliasGridFit));
    }
}

PreviewCanvas PreviewCanvas::ForDc(HDC dc) {
    GpGraphics* graphics = nullptr;
    GdipCreateFromHDC(dc, &graphics);
    return PreviewCanvas(graphics);
}

PreviewCanvas PreviewCanvas::ForPicture(GpImage* picture) {
    GpGraphics* graphics = nullptr;
    if (picture) {
        GdipGetImageGraphicsContext(picture, &graphics);
    }
    return PreviewCanvas(graphics);
}

void PreviewCanvas::Check(GpStatus status) {
    if (status != Ok) {
        status_ = status;
    }
}

void PreviewCanvas::DrawText(HDC dc, std::u16string_view text, COLORREF color, const LOGFONTW* font,
                             TextAlign vertical, TextAlign horizontal, const PreviewRect& box) {
    GpGraphics* g = graphics_.get();
    const GdiplusFont gpFont = Font(dc, font);
    const GdiplusStringFormat format = Format(true);
    const GdiplusBrush brush = Brush(color);
    if (!g || !gpFont || !format || !brush) {
        Check(GenericError);
        return;
    }
    GdipSetStringFormatAlign(format.get(), Alignment(horizontal));
    GdipSetStringFormatLineAlign(format.get(), Alignment(vertical));
    GdipSetCompositingMode(g, CompositingModeSourceOver);
    GdipSetCompositingQuality(g, CompositingQualityHighSpeed);
    GdipSetInterpolationMode(g, InterpolationModeHighQuality);
    GdipSetPixelOffsetMode(g, PixelOffsetModeHighSpeed);
    GdipSetSmoothingMode(g, SmoothingModeNone);
    const RectF layout(static_cast<REAL>(box.left), static_cast<REAL>(box.top),
                       static_cast<REAL>(box.width()), static_cast<REAL>(box.height()));
    Check(GdipDrawString(g, Units(text), static_cast<INT>(text.size()), gpFont.get(), &layout,
                         format.get(), brush.get()));
}

void PreviewCanvas::DrawLine(COLORREF color, float width, const PreviewLine& line) {
    const GdiplusPen pen = SolidPen(color, width, kPreviewAlpha);
    if (!graphics_ || !pen) {
        Check(GenericError);
        return;
    }
    Check(GdipDrawLineI(graphics_.get(), pen.get(), line.x1, line.y1, line.x2, line.y2));
}

void PreviewCanvas::DrawBox(COLORREF border, COLORREF fill, float penWidth, bool rounded,
                            const PreviewRect& box) {
    GpGraphics* g = graphics_.get();
    if (!g) {
        return;
    }
    GdipSetSmoothingMode(g, SmoothingModeHighQuality);
    const auto x = static_cast<float>(box.left);
    const auto y = static_cast<float>(box.top);
    const auto w = static_cast<float>(box.width());
    const auto h = static_cast<float>(box.height());
    if (penWidth >= 0) {
        const GdiplusPath path = BoxPath(x, y, w, h, rounded);
        const GdiplusBrush brush = Brush(fill);
        GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
        Check(path && brush ? GdipFillPath(g, brush.get(), path.get()) : GenericError);
        if (penWidth == 0) {
            return;
        }
    }
    const GdiplusPath outline = BoxPath(x, y, w - 1, h - 1, rounded);
    const GdiplusPen pen = SolidPen(border, std::abs(penWidth), kPreviewAlpha);
    if (!outline || !pen) {
        Check(GenericError);
        return;
    }
    GdipSetPixelOffsetMode(g, PixelOffsetModeDefault);
    Check(GdipDrawPath(g, pen.get(), outline.get()));
}

void PreviewCanvas::DrawImage(GpImage* image, const PreviewRect& destination,
                              const PreviewRect& source, bool crisp) {
    GpGraphics* g = graphics_.get();
    if (!g || !image) {
        return;
    }
    if (crisp) {
        GdipSetPageUnit(g, UnitPixel);
        GdipSetInterpolationMode(g, InterpolationModeNearestNeighbor);
        GdipSetSmoothingMode(g, SmoothingModeNone);
        GdipSetPixelOffsetMode(g, PixelOffsetModeHalf);
    } else {
        GdipSetCompositingQuality(g, CompositingQualityHighQuality);
        GdipSetInterpolationMode(g, InterpolationModeHighQualityBicubic);
    }
    Check(GdipDrawImageRectRectI(g, image, destination.left, destination.top, destination.width(),
                                 destination.height(), source.left, source.top, source.width(),
                                 source.height(), UnitPixel, nullptr, nullptr, nullptr));
}

SIZE MeasurePreviewText(HDC dc, std::u16string_view text, const LOGFONTW* font, bool typographic) {
    SIZE size = {};
    const GdiplusGraphics graphics = GraphicsForDc(dc);
    const GdiplusFont gpFont = Font(dc, font);
    const GdiplusStringFormat format = Format(typographic);
    const RectF layout(0, 0, 0, 0);
    RectF bounds;
    if (graphics && gpFont && format &&
        GdipMeasureString(graphics.get(), Units(text), static_cast<INT>(text.size()), gpFont.get(),
                          &layout, format.get(), &bounds, nullptr, nullptr) == Ok) {
        size.cx = static_cast<LONG>(bounds.Width);
        size.cy = static_cast<LONG>(bounds.Height);
        return size;
    }
    // GDI+ could not tell: the DC's own measure with the font selected.
    FontHandle selected(font ? ::CreateFontIndirectW(font) : nullptr);
    const HGDIOBJ old = selected ? ::SelectObject(dc, selected.get()) : nullptr;
    ::GetTextExtentPoint32W(dc, Units(text), static_cast<int>(text.size()), &size);
    if (old) {
        ::SelectObject(dc, old);
    }
    return size;
}

} // namespace tide
