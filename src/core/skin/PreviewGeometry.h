// Where the skin editor's preview pictures put everything: the status bar's
// buttons, the candidate bars' size, separator, code, caret, candidates,
// selection box and page buttons, and the slices of a background stretched
// with fixed edges. Pure arithmetic on the skin record and a few measured
// text sizes, so the painter only draws what this says.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/skin/SkinFormat.h"

namespace tide {

// The sample content of the candidate bars; the first candidate is selected.
inline constexpr std::u16string_view kPreviewCode = u"aaa";
inline constexpr std::array<std::u16string_view, 4> kPreviewCandidates = {u"1.工", u"2.工a",
                                                                          u"3.工期d", u"4.工艺n"};
// The text whose size gives the width and height of one Chinese character.
inline constexpr std::u16string_view kCharSample = u"潮汐输入法";

struct PreviewRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const PreviewRect&, const PreviewRect&) = default;
};

// Record colours are COLORREF (0x00BBGGRR); pictures draw them with this alpha.
inline constexpr std::uint8_t kPreviewAlpha = 254;

// The size of one Chinese character, from the measured size of kCharSample.
struct CharMetrics {
    int width = 0;
    int height = 0;
};
CharMetrics CharMetricsOf(float sampleWidth, float sampleHeight);

// Text sizes the bars are laid out with, measured by the painter.
struct BarTextSizes {
    CharMetrics chars;
    std::array<int, 4> candidateWidths{}; // default string format
    int codeWidth = 0;                    // default string format
    int codeTypographicWidth = 0;
    int codeTypographicHeight = 0;
};

struct PreviewLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const PreviewLine&, const PreviewLine&) = default;
};

struct BarLayout {
    int width = 0;
    int height = 0;
    int rowHeight = 0;
    bool codeShown = false;
    // The separator under the code row, drawn with a pen of `separatorPen`.
    std::optional<PreviewLine> separator;
    int separatorPen = 0;
    // A light box above a separator of negative width.
    std::optional<PreviewRect> separatorBox;
    PreviewRect code;  // only when the code is shown
    PreviewLine caret; // only when the code is shown
    std::array<PreviewRect, 4> candidates{};
    std::optional<PreviewRect> selectionBox; // under the first candidate
    bool selectionRounded = false;
    // The first square takes the previous- and first-page images, the second
    // the next- and last-page images.
    std::array<PreviewRect, 2> pageButtons{};
};

// The size of a bar alone (what the bar's picture is made).
struct BarSize {
    int width = 0;
    int height = 0;
};
BarSize MeasureBar(const SkinRecord& skin, bool vertical, const BarTextSizes& sizes);

BarLayout LayoutBar(const SkinRecord& skin, bool vertical, const BarTextSizes& sizes);

// A part of an image drawn into a rectangle: source and destination as
// x, y, width, height.
struct ImageSlice {
    PreviewRect source;
    PreviewRect destination;
};

// How a background of `imageWidth` x `imageHeight` with fixed edges fills
// (x, y, width, height): one stretch of the whole image when every edge is 0,
// else two crisp passes through an intermediate picture imageWidth wide and
// `height` high, top and bottom rows first, then left and right columns.
// Slices with nothing to draw (an edge of 0, or edges wider than the image
// or the target) are left out.
struct BackgroundPlan {
    bool whole = false;
    ImageSlice wholeSlice;
    int intermediateWidth = 0;
    int intermediateHeight = 0;
    std::array<std::optional<ImageSlice>, 3> verticalPass;   // image -> intermediate
    std::array<std::optional<ImageSlice>, 3> horizontalPass; // intermediate -> target
};
BackgroundPlan PlanBackground(const SkinEdges& edges, int imageWidth, int imageHeight, int x, int y,
                              int width, int height);

// The corner radius of a box: 0.5 for a square box; w / 10 - 1 or h / 10 - 1,
// the smaller, for a rounded one. A rounded box under 20 pixels either way
// would get no radius at all and is drawn square.
float BoxCornerRadius(int width, int height, bool rounded);

// The status bar's buttons as the preview shows them; a click on one of the
// three state buttons shows its next state.
enum class StatusButton { None, Language, Shape, Punctuation };
struct StatusStates {
    int language = 0;    // 0 Chinese, 1 English, 2 CapsLock
    int shape = 0;       // 0 full width, 1 half width
    int punctuation = 0; // 0 Chinese, 1 English

    void Advance(StatusButton button);
    SkinSlot LanguageSlot() const;
    SkinSlot ShapeSlot() const;
    SkinSlot PunctuationSlot() const;
};
// The button under (x, y) of a preview window of clientWidth x clientHeight
// showing the status picture where StatusPictureX puts it (scrolled by
// `scroll`) and centred vertically.
StatusButton HitStatusButton(const SkinRecord& skin, int clientWidth, int clientHeight,
                             int pictureWidth, int pictureHeight, int scroll, int x, int y);

// Where a preview window draws its picture.
int StatusPictureX(int clientWidth, int pictureWidth, int scroll);
int CentredPictureY(int clientHeight, int pictureHeight);
inline int BarPictureX(int scroll) {
    return 1 - scroll;
}

} // namespace tide
