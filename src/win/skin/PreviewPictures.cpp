#include "win/skin/PreviewPictures.h"

#include "win/skin/PreviewCanvas.h"

namespace tide {
namespace {

constexpr COLORREF kLightBoxColor = RGB(0xC0, 0xC0, 0xC0);

// The slots of one bar's images.
struct BarSlots {
    SkinSlot background, previous, next, first, last;
};
constexpr BarSlots kHorizontalSlots = {SlotHorzCand, SlotHPrevPage, SlotHNextPage, SlotHHomePage,
                                       SlotHEndPage};
constexpr BarSlots kVerticalSlots = {SlotVertCand, SlotVPrevPage, SlotVNextPage, SlotVHomePage,
                                     SlotVEndPage};

// The bar's colours, so both bars draw from one routine.
struct BarColors {
    COLORREF separator, code, selectionBox, selectedItem, item;
};
BarColors ColorsOf(const SkinRecord& skin, bool vertical) {
    if (vertical) {
        return {skin.vertSeparatorColor, skin.vertCodeColor, skin.vertSelectionBoxColor,
                skin.vertSelectedItemColor, skin.vertItemColor};
    }
    return {skin.horzSeparatorColor, skin.horzCodeColor, skin.horzSelectionBoxColor,
            skin.horzSelectedItemColor, skin.horzItemColor};
}

PreviewRect ImageRect(Gdiplus::GpImage* image) {
    const SIZE size = ImageSize(image);
    return {0, 0, size.cx, size.cy};
}

PreviewRect BoxRect(const SkinBox& box) {
    return {box.x, box.y, box.x + box.cx, box.y + box.cy};
}

void DrawBackground(PreviewCanvas& canvas, Gdiplus::GpImage* image, const SkinEdges& edges,
                    int width, int height) {
    const SIZE size = ImageSize(image);
    const BackgroundPlan plan = PlanBackground(edges, size.cx, size.cy, 0, 0, width, height);
    if (plan.whole) {
        canvas.DrawImage(image, plan.wholeSlice.destination, plan.wholeSlice.source, false);
        return;
    }
    // Top and bottom rows first, into a picture as wide as the image.
    GdiplusImage middle = NewPicture(plan.intermediateWidth, plan.intermediateHeight);
    {
        PreviewCanvas pass = PreviewCanvas::ForPicture(middle.get());
        for (const auto& slice : plan.verticalPass) {
            if (slice) {
                pass.DrawImage(image, slice->destination, slice->source, true);
            }
        }
    }
    for (const auto& slice : plan.horizontalPass) {
        if (slice) {
            canvas.DrawImage(middle.get(), slice->destination, slice->source, true);
        }
    }
}

} // namespace

BarTextSizes MeasureBarTexts(HDC dc, const LOGFONTW& font) {
    BarTextSizes sizes;
    const SIZE sample = MeasurePreviewText(dc, kCharSample, &font, false);
    sizes.chars = CharMetricsOf(static_cast<float>(sample.cx), static_cast<float>(sample.cy));
    for (std::size_t i = 0; i < kPreviewCandidates.size(); ++i) {
        sizes.candidateWidths[i] = MeasurePreviewText(dc, kPreviewCandidates[i], &font, false).cx;
    }
    sizes.codeWidth = MeasurePreviewText(dc, kPreviewCode, &font, false).cx;
    const SIZE typographic = MeasurePreviewText(dc, kPreviewCode, &font, true);
    sizes.codeTypographicWidth = typographic.cx;
    sizes.codeTypographicHeight = typographic.cy;
    return sizes;
}

GdiplusImage ComposeStatus(const SkinFile& skin, const StatusStates& states) {
    Gdiplus::GpImage* window = skin.image(SlotStatus);
    if (!window) {
        return {};
    }
    const PreviewRect whole = ImageRect(window);
    GdiplusImage picture = NewPicture(whole.width(), whole.height());
    PreviewCanvas canvas = PreviewCanvas::ForPicture(picture.get());
    if (!canvas) {
        return {};
    }
    canvas.DrawImage(window, whole, whole, false);
    const SkinRecord& record = skin.record();
    const struct {
        SkinSlot slot;
        const SkinBox& box;
    } kButtons[] = {
        {SlotLogo, record.logoBox},
        {states.LanguageSlot(), record.langButtonBox},
        {states.ShapeSlot(), record.shapeButtonBox},
        {states.PunctuationSlot(), record.punctButtonBox},
        {SlotSoftkbButton, record.softkbButtonBox},
        {SlotConfigButton, record.menuButtonBox},
    };
    for (const auto& button : kButtons) {
        if (Gdiplus::GpImage* image = skin.image(button.slot)) {
            canvas.DrawImage(image, BoxRect(button.box), ImageRect(image), false);
        }
    }
    return picture;
}

GdiplusImage ComposeBar(const SkinFile& skin, bool vertical, HDC dc, const LOGFONTW& font,
                        const BarTextSizes& sizes) {
    const BarSlots& slots = vertical ? kVerticalSlots : kHorizontalSlots;
    Gdiplus::GpImage* background = skin.image(slots.background);
    if (!background) {
        return {};
    }
    const SkinRecord& record = skin.record();
    const BarLayout layout = LayoutBar(record, vertical, sizes);
    GdiplusImage picture = NewPicture(layout.width, layout.height);
    PreviewCanvas canvas = PreviewCanvas::ForPicture(picture.get());
    if (!canvas) {
        return {};
    }
    const BarColors colors = ColorsOf(record, vertical);
    DrawBackground(canvas, background, vertical ? record.vertFixedEdges : record.horzFixedEdges,
                   layout.width, layout.height);
    if (layout.separator) {
        canvas.DrawLine(colors.separator, static_cast<float>(layout.separatorPen),
                        *layout.separator);
    }
    if (layout.separatorBox) {
        canvas.DrawBox(kLightBoxColor, kLightBoxColor, 1, false, *layout.separatorBox);
    }
    if (layout.codeShown) {
        canvas.DrawText(dc, kPreviewCode, colors.code, &font, TextAlign::Centre, TextAlign::Near,
                        layout.code);
        canvas.DrawLine(colors.code, 1, layout.caret);
    }
    if (layout.selectionBox) {
        canvas.DrawBox(colors.selectionBox, colors.selectionBox, 0, layout.selectionRounded,
                       *layout.selectionBox);
    }
    for (std::size_t i = 0; i < kPreviewCandidates.size(); ++i) {
        canvas.DrawText(dc, kPreviewCandidates[i], i == 0 ? colors.selectedItem : colors.item,
                        &font, TextAlign::Centre, TextAlign::Centre, layout.candidates[i]);
    }
    const SkinSlot pagerImages[][2] = {{slots.previous, slots.next}, {slots.first, slots.last}};
    for (const auto& pair : pagerImages) {
        for (std::size_t i = 0; i < 2; ++i) {
            if (Gdiplus::GpImage* image = skin.image(pair[i])) {
                canvas.DrawImage(image, layout.pageButtons[i], ImageRect(image), false);
            }
        }
    }
    return picture;
}

} // namespace tide
