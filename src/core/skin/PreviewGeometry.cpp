#include "core/skin/PreviewGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace tide {
namespace {

// The fields of one bar, so both bars share one layout.
struct BarFields {
    const SkinEdges& margins;
    int separatorLeft, separatorRight, separatorWidth, separatorGap;
    int pagerAfterCode, pagerEdgeDistance;
    int codeEmbedded;
    int selectionStyle;
    float itemHeight;
};

BarFields FieldsOf(const SkinRecord& skin, bool vertical) {
    if (vertical) {
        return {skin.vertMargins,           skin.vertSeparatorLeft, skin.vertSeparatorRight,
                skin.vertSeparatorWidth,    skin.vertSeparatorGap,  skin.vertPagerAfterCode,
                skin.vertPagerEdgeDistance, skin.vertCodeEmbedded,  skin.vertSelectionStyle,
                skin.vertItemHeight};
    }
    return {skin.horzMargins,           skin.horzSeparatorLeft, skin.horzSeparatorRight,
            skin.horzSeparatorWidth,    skin.horzSeparatorGap,  skin.horzPagerAfterCode,
            skin.horzPagerEdgeDistance, skin.horzCodeEmbedded,  skin.horzSelectionStyle,
            skin.horzItemHeight};
}

int RowHeight(const BarTextSizes& sizes, float itemHeight) {
    return static_cast<int>(static_cast<float>(sizes.chars.height) * itemHeight);
}

// The room a horizontal candidate takes past its text.
int ItemSpacing(const SkinRecord& skin, const BarTextSizes& sizes) {
    return static_cast<int>(static_cast<float>(sizes.chars.width) * skin.horzItemSpacing);
}

std::optional<ImageSlice> Slice(int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return std::nullopt;
    }
    return ImageSlice{{sx, sy, sx + sw, sy + sh}, {dx, dy, dx + dw, dy + dh}};
}

} // namespace

CharMetrics CharMetricsOf(float sampleWidth, float sampleHeight) {
    const int characters = static_cast<int>(kCharSample.size());
    return {static_cast<int>(sampleWidth) / characters, static_cast<int>(sampleHeight)};
}

BarSize MeasureBar(const SkinRecord& skin, bool vertical, const BarTextSizes& sizes) {
    const BarFields bar = FieldsOf(skin, vertical);
    const int rowHeight = RowHeight(sizes, bar.itemHeight);
    // The separator's width and gaps count as stored, drawn or not.
    const int separator = bar.separatorWidth + 2 * bar.separatorGap;
    BarSize size;
    if (vertical) {
        int widest = 8 * sizes.chars.width;
        for (int text : sizes.candidateWidths) {
            widest = std::max(widest, sizes.chars.width + text);
        }
        size.width = widest + bar.margins.left + bar.margins.right;
        size.height = rowHeight * (bar.codeEmbedded ? 4 : 5) +
                      (bar.pagerAfterCode == 0 ? rowHeight : 0) + bar.margins.top +
                      bar.margins.bottom + separator;
        return size;
    }
    for (int text : sizes.candidateWidths) {
        size.width += text + ItemSpacing(skin, sizes);
    }
    size.width += (bar.pagerAfterCode == 0 ? 2 * sizes.chars.width : 0) + bar.margins.left +
                  bar.margins.right;
    size.height =
        rowHeight * (bar.codeEmbedded ? 1 : 2) + bar.margins.top + bar.margins.bottom + separator;
    return size;
}

BarLayout LayoutBar(const SkinRecord& skin, bool vertical, const BarTextSizes& sizes) {
    const BarFields bar = FieldsOf(skin, vertical);
    const SkinEdges& margins = bar.margins;
    BarLayout layout;
    const BarSize size = MeasureBar(skin, vertical, sizes);
    layout.width = size.width;
    layout.height = size.height;
    layout.rowHeight = RowHeight(sizes, bar.itemHeight);
    layout.codeShown = bar.codeEmbedded == 0;
    const int row = layout.rowHeight;

    if (layout.codeShown && bar.separatorWidth != 0) {
        const int y = margins.top + bar.separatorGap + row;
        layout.separator = PreviewLine{bar.separatorLeft, y, layout.width - bar.separatorRight, y};
        layout.separatorPen = std::abs(bar.separatorWidth);
        if (bar.separatorWidth < 0) {
            layout.separatorBox = PreviewRect{3, 3, layout.width - 3, y - 1};
        }
    }
    if (layout.codeShown) {
        layout.code = {margins.left, margins.top, margins.left + sizes.codeWidth,
                       margins.top + row};
        const int x = margins.left + sizes.codeTypographicWidth;
        const int top = margins.top + (row - sizes.codeTypographicHeight) / 2;
        layout.caret = {x, top, x, top + sizes.codeTypographicHeight};
    }

    if (vertical) {
        int y = margins.top;
        if (layout.codeShown) {
            y += std::abs(bar.separatorWidth) + row + 2 * bar.separatorGap;
        }
        for (std::size_t i = 0; i < layout.candidates.size(); ++i) {
            layout.candidates[i] = {margins.left, y,
                                    margins.left + sizes.chars.width + sizes.candidateWidths[i],
                                    y + row};
            y += row;
        }
    } else {
        int x = margins.left;
        const int bottom = layout.height - margins.bottom;
        for (std::size_t i = 0; i < layout.candidates.size(); ++i) {
            const int right = x + sizes.candidateWidths[i] + ItemSpacing(skin, sizes);
            layout.candidates[i] = {x, bottom - row, right, bottom};
            x = right;
        }
    }
    if (bar.selectionStyle == 1 || bar.selectionStyle == 2) {
        PreviewRect box = layout.candidates[0];
        if (vertical) {
            box.right = layout.width - margins.right;
        }
        layout.selectionBox = box;
        layout.selectionRounded = bar.selectionStyle == 2;
    }

    const int side = sizes.chars.width;
    const int edge = bar.pagerEdgeDistance;
    const int d = (row - side) / 2;
    int top = 0;
    int firstLeft = layout.width - edge - 2 * side - 1;
    int secondLeft = layout.width - edge - side;
    if (bar.pagerAfterCode != 0) { // as measured: any value but 0 is after the code
        top = margins.top + d;
    } else if (!vertical) {
        top = layout.height - d - side - margins.bottom;
    } else {
        top = layout.height - d - margins.bottom - side;
        firstLeft = edge;
        secondLeft = edge + side + 1;
    }
    layout.pageButtons = {PreviewRect{firstLeft, top, firstLeft + side, top + side},
                          PreviewRect{secondLeft, top, secondLeft + side, top + side}};
    return layout;
}

BackgroundPlan PlanBackground(const SkinEdges& edges, int imageWidth, int imageHeight, int x, int y,
                              int width, int height) {
    BackgroundPlan plan;
    const int iw = imageWidth;
    const int ih = imageHeight;
    if (edges.left == 0 && edges.top == 0 && edges.right == 0 && edges.bottom == 0) {
        plan.whole = true;
        plan.wholeSlice = {{0, 0, iw, ih}, {0, 0, width, height}};
        return plan;
    }
    const int l = edges.left, t = edges.top, r = edges.right, b = edges.bottom;
    plan.intermediateWidth = iw;
    plan.intermediateHeight = height;
    plan.verticalPass = {Slice(0, 0, iw, t, 0, 0, iw, t),
                         Slice(0, t, iw, ih - t - b, 0, t, iw, height - t - b),
                         Slice(0, ih - b, iw, b, 0, height - b, iw, b)};
    plan.horizontalPass = {Slice(0, 0, l, height, x, y, l, height),
                           Slice(l, 0, iw - l - r, height, x + l, y, width - l - r, height),
                           Slice(iw - r, 0, r, height, x + width - r, y, r, height)};
    return plan;
}

float BoxCornerRadius(int width, int height, bool rounded) {
    const int radius = std::min(width / 10 - 1, height / 10 - 1);
    return rounded && radius >= 1 ? static_cast<float>(radius) : 0.5f;
}

void StatusStates::Advance(StatusButton button) {
    switch (button) {
    case StatusButton::Language:
        language = (language + 1) % 3;
        break;
    case StatusButton::Shape:
        shape ^= 1;
        break;
    case StatusButton::Punctuation:
        punctuation ^= 1;
        break;
    case StatusButton::None:
        break;
    }
}

SkinSlot StatusStates::LanguageSlot() const {
    constexpr SkinSlot kSlots[] = {SlotChineseButton, SlotEnglishButton, SlotCapsLockButton};
    return kSlots[language % 3];
}

SkinSlot StatusStates::ShapeSlot() const {
    return shape == 0 ? SlotFullShapeButton : SlotHalfShapeButton;
}

SkinSlot StatusStates::PunctuationSlot() const {
    return punctuation == 0 ? SlotCSymbolButton : SlotESymbolButton;
}

StatusButton HitStatusButton(const SkinRecord& skin, int clientWidth, int clientHeight,
                             int pictureWidth, int pictureHeight, int scroll, int x, int y) {
    const int originX = StatusPictureX(clientWidth, pictureWidth, scroll);
    const int originY = CentredPictureY(clientHeight, pictureHeight);
    const struct {
        const SkinBox& box;
        StatusButton button;
    } kButtons[] = {{skin.langButtonBox, StatusButton::Language},
                    {skin.shapeButtonBox, StatusButton::Shape},
                    {skin.punctButtonBox, StatusButton::Punctuation}};
    for (const auto& candidate : kButtons) {
        const PreviewRect area{originX + candidate.box.x, originY + candidate.box.y,
                               originX + candidate.box.x + candidate.box.cx,
                               originY + candidate.box.y + candidate.box.cy};
        if (area.Contains(x, y)) {
            return candidate.button;
        }
    }
    return StatusButton::None;
}

int StatusPictureX(int clientWidth, int pictureWidth, int scroll) {
    return (pictureWidth < clientWidth ? (clientWidth - pictureWidth) / 2 : 0) - scroll;
}

int CentredPictureY(int clientHeight, int pictureHeight) {
    return (clientHeight - pictureHeight) / 2;
}

} // namespace tide
