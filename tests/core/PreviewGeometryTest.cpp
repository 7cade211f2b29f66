#include "core/skin/PreviewGeometry.h"

#include <gtest/gtest.h>

namespace tide {
namespace {

// A character 12 x 16 pixels; the four candidates 20, 26, 38 and 40 wide.
BarTextSizes Sizes() {
    BarTextSizes sizes;
    sizes.chars = {12, 16};
    sizes.candidateWidths = {20, 26, 38, 40};
    sizes.codeWidth = 21;
    sizes.codeTypographicWidth = 19;
    sizes.codeTypographicHeight = 14;
    return sizes;
}

SkinRecord Skin() {
    SkinRecord skin = {};
    skin.horzMargins = {4, 3, 5, 6};
    skin.horzItemSpacing = 0.5f; // 6 pixels
    skin.horzItemHeight = 1.5f;  // rows of 24
    skin.horzSeparatorLeft = 2;
    skin.horzSeparatorRight = 7;
    skin.horzSeparatorWidth = 1;
    skin.horzSeparatorGap = 2;
    skin.horzPagerEdgeDistance = 3;
    skin.vertMargins = {8, 2, 9, 1};
    skin.vertItemHeight = 1.25f; // rows of 20
    skin.vertSeparatorWidth = -2;
    skin.vertSeparatorGap = 3;
    skin.vertPagerEdgeDistance = 4;
    return skin;
}

TEST(PreviewGeometry, Characters) {
    EXPECT_EQ(CharMetricsOf(101.7f, 19.9f).width, 20) << "the width is truncated, then divided";
    EXPECT_EQ(CharMetricsOf(101.7f, 19.9f).height, 19);
    EXPECT_EQ(CharMetricsOf(99.9f, 0).width, 19);
}

TEST(PreviewGeometry, AHorizontalBarWithItsCodeRowAndPagerInTheCandidateRow) {
    const SkinRecord skin = Skin();
    const BarLayout bar = LayoutBar(skin, false, Sizes());
    // Candidates with their spacing, two page buttons, the margins.
    EXPECT_EQ(bar.width, (20 + 26 + 38 + 40 + 4 * 6) + 2 * 12 + 4 + 5);
    EXPECT_EQ(bar.height, 2 * 24 + 3 + 6 + 1 + 2 * 2);
    EXPECT_EQ(bar.rowHeight, 24);
    ASSERT_TRUE(bar.separator);
    EXPECT_EQ(*bar.separator, (PreviewLine{2, 3 + 2 + 24, bar.width - 7, 3 + 2 + 24}));
    EXPECT_EQ(bar.separatorPen, 1);
    EXPECT_FALSE(bar.separatorBox);
    EXPECT_EQ(bar.code, (PreviewRect{4, 3, 4 + 21, 3 + 24}));
    EXPECT_EQ(bar.caret, (PreviewLine{4 + 19, 3 + 5, 4 + 19, 3 + 5 + 14}));
    const int bottom = bar.height - 6;
    EXPECT_EQ(bar.candidates[0], (PreviewRect{4, bottom - 24, 30, bottom}));
    EXPECT_EQ(bar.candidates[1], (PreviewRect{30, bottom - 24, 62, bottom}));
    EXPECT_EQ(bar.candidates[3].right, 4 + 124 + 24);
    EXPECT_FALSE(bar.selectionBox) << "selection style 0";
    const int top = bar.height - (24 - 12) / 2 - 12 - 6;
    EXPECT_EQ(bar.pageButtons[0],
              (PreviewRect{bar.width - 3 - 24 - 1, top, bar.width - 3 - 12 - 1, top + 12}));
    EXPECT_EQ(bar.pageButtons[1], (PreviewRect{bar.width - 3 - 12, top, bar.width - 3, top + 12}));
}

TEST(PreviewGeometry, AnEmbeddedCodeDropsItsRowButTheSeparatorStillCounts) {
    SkinRecord skin = Skin();
    skin.horzCodeEmbedded = 1;
    skin.horzPagerAfterCode = 1;
    skin.horzSelectionStyle = 2;
    const BarLayout bar = LayoutBar(skin, false, Sizes());
    EXPECT_EQ(bar.height, 24 + 3 + 6 + 1 + 2 * 2);
    EXPECT_EQ(bar.width, 124 + 4 * 6 + 4 + 5) << "no room for page buttons after the candidates";
    EXPECT_FALSE(bar.codeShown);
    EXPECT_FALSE(bar.separator);
    ASSERT_TRUE(bar.selectionBox);
    EXPECT_EQ(*bar.selectionBox, bar.candidates[0]);
    EXPECT_TRUE(bar.selectionRounded);
    EXPECT_EQ(bar.pageButtons[0].top, 3 + (24 - 12) / 2) << "in the code row";

    // Any value but 0 is "after the code", for the room measured and for the
    // place laid out alike; a style other than 1 or 2 draws no selection box.
    skin.horzPagerAfterCode = 7;
    skin.horzSelectionStyle = 5;
    const BarLayout odd = LayoutBar(skin, false, Sizes());
    EXPECT_EQ(odd.width, bar.width);
    EXPECT_EQ(odd.pageButtons[0], bar.pageButtons[0]);
    EXPECT_EQ(odd.pageButtons[1], bar.pageButtons[1]);
    EXPECT_FALSE(odd.selectionBox);
}

TEST(PreviewGeometry, AVerticalBarAndItsThreePagerPlaces) {
    SkinRecord skin = Skin();
    skin.vertSelectionStyle = 1;
    BarLayout bar = LayoutBar(skin, true, Sizes());
    EXPECT_EQ(bar.width, 8 * 12 + 8 + 9) << "at least eight characters wide";
    EXPECT_EQ(bar.height, 5 * 20 + 20 + 2 + 1 - 2 + 2 * 3) << "the stored width, negative or not";
    ASSERT_TRUE(bar.separator);
    EXPECT_EQ(bar.separatorPen, 2);
    ASSERT_TRUE(bar.separatorBox) << "a negative width adds the light box";
    EXPECT_EQ(*bar.separatorBox, (PreviewRect{3, 3, bar.width - 3, bar.separator->y1 - 1}));
    const int first = 2 + 2 + 20 + 2 * 3;
    EXPECT_EQ(bar.candidates[0], (PreviewRect{8, first, 8 + 12 + 20, first + 20}));
    EXPECT_EQ(bar.candidates[3], (PreviewRect{8, first + 60, 8 + 12 + 40, first + 80}));
    ASSERT_TRUE(bar.selectionBox);
    EXPECT_EQ(*bar.selectionBox, (PreviewRect{8, first, bar.width - 9, first + 20}));
    EXPECT_FALSE(bar.selectionRounded);
    const int top = bar.height - (20 - 12) / 2 - 1 - 12;
    EXPECT_EQ(bar.pageButtons[0], (PreviewRect{4, top, 16, top + 12})) << "at the left";
    EXPECT_EQ(bar.pageButtons[1], (PreviewRect{17, top, 29, top + 12}));

    skin.vertCodeEmbedded = 1;
    skin.vertPagerAfterCode = 1;
    bar = LayoutBar(skin, true, Sizes());
    EXPECT_EQ(bar.height, 4 * 20 + 2 + 1 - 2 + 2 * 3) << "no code row, no pager row";
    EXPECT_EQ(bar.candidates[0].top, 2);
    EXPECT_EQ(bar.pageButtons[1].left, bar.width - 4 - 12);

    BarTextSizes wide = Sizes();
    wide.candidateWidths[2] = 100;
    EXPECT_EQ(MeasureBar(skin, true, wide).width, 12 + 100 + 8 + 9);
}

TEST(PreviewGeometry, BoxCornersAreRoundedFromTwentyPixels) {
    EXPECT_EQ(BoxCornerRadius(200, 20, true), 1.0f) << "the smaller side rules";
    EXPECT_EQ(BoxCornerRadius(60, 45, true), 3.0f);
    EXPECT_EQ(BoxCornerRadius(60, 19, true), 0.5f) << "under 20 pixels: square";
    EXPECT_EQ(BoxCornerRadius(60, 45, false), 0.5f);
}

TEST(PreviewGeometry, BackgroundsStretchWholeOrKeepTheirFixedEdges) {
    const BackgroundPlan whole = PlanBackground({0, 0, 0, 0}, 30, 20, 0, 0, 150, 40);
    EXPECT_TRUE(whole.whole);
    EXPECT_EQ(whole.wholeSlice.source, (PreviewRect{0, 0, 30, 20}));
    EXPECT_EQ(whole.wholeSlice.destination, (PreviewRect{0, 0, 150, 40}));

    const BackgroundPlan sides = PlanBackground({5, 0, 5, 0}, 30, 20, 0, 0, 150, 40);
    EXPECT_FALSE(sides.whole);
    EXPECT_EQ(sides.intermediateWidth, 30);
    EXPECT_EQ(sides.intermediateHeight, 40);
    EXPECT_FALSE(sides.verticalPass[0]) << "no top edge";
    ASSERT_TRUE(sides.verticalPass[1]);
    EXPECT_EQ(sides.verticalPass[1]->source, (PreviewRect{0, 0, 30, 20}));
    EXPECT_EQ(sides.verticalPass[1]->destination, (PreviewRect{0, 0, 30, 40}));
    EXPECT_FALSE(sides.verticalPass[2]);
    ASSERT_TRUE(sides.horizontalPass[0] && sides.horizontalPass[1] && sides.horizontalPass[2]);
    EXPECT_EQ(sides.horizontalPass[0]->destination, (PreviewRect{0, 0, 5, 40})) << "unscaled";
    EXPECT_EQ(sides.horizontalPass[1]->source, (PreviewRect{5, 0, 25, 40}));
    EXPECT_EQ(sides.horizontalPass[1]->destination, (PreviewRect{5, 0, 145, 40}));
    EXPECT_EQ(sides.horizontalPass[2]->source, (PreviewRect{25, 0, 30, 40}));
    EXPECT_EQ(sides.horizontalPass[2]->destination, (PreviewRect{145, 0, 150, 40}));

    const BackgroundPlan all = PlanBackground({2, 3, 4, 5}, 30, 20, 10, 7, 100, 50);
    EXPECT_EQ(all.verticalPass[0]->destination, (PreviewRect{0, 0, 30, 3}));
    EXPECT_EQ(all.verticalPass[1]->source, (PreviewRect{0, 3, 30, 15}));
    EXPECT_EQ(all.verticalPass[1]->destination, (PreviewRect{0, 3, 30, 45}));
    EXPECT_EQ(all.verticalPass[2]->source, (PreviewRect{0, 15, 30, 20}));
    EXPECT_EQ(all.verticalPass[2]->destination, (PreviewRect{0, 45, 30, 50}));
    EXPECT_EQ(all.horizontalPass[2]->destination, (PreviewRect{106, 7, 110, 57}));

    const BackgroundPlan tooWide = PlanBackground({20, 0, 20, 0}, 30, 20, 0, 0, 150, 40);
    EXPECT_FALSE(tooWide.horizontalPass[1]) << "edges wider than the image leave no middle";
}

TEST(PreviewGeometry, StatusButtonsAnswerClicksAndCycleTheirImages) {
    SkinRecord skin = {};
    skin.langButtonBox = {10, 2, 16, 16};
    skin.shapeButtonBox = {30, 2, 16, 16};
    skin.punctButtonBox = {50, 2, 16, 16};
    // A 100 x 20 picture centred in a 200 x 40 window: its origin is (50, 10).
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 100, 20, 0, 60, 12), StatusButton::Language);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 100, 20, 0, 75, 27), StatusButton::Language);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 100, 20, 0, 76, 12), StatusButton::None);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 100, 20, 0, 85, 20), StatusButton::Shape);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 100, 20, 0, 100, 20), StatusButton::Punctuation);
    // A 300 x 20 picture in the same window starts at its left edge and moves
    // with the scroll bar: scrolled by 40, each button lies 40 further left.
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 300, 20, 0, 12, 12), StatusButton::Language);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 300, 20, 40, 0, 12), StatusButton::Shape);
    EXPECT_EQ(HitStatusButton(skin, 200, 40, 300, 20, 40, 12, 12), StatusButton::Punctuation);

    StatusStates states;
    EXPECT_EQ(states.LanguageSlot(), SlotChineseButton);
    states.Advance(StatusButton::Language);
    EXPECT_EQ(states.LanguageSlot(), SlotEnglishButton);
    states.Advance(StatusButton::Language);
    EXPECT_EQ(states.LanguageSlot(), SlotCapsLockButton);
    states.Advance(StatusButton::Language);
    EXPECT_EQ(states.LanguageSlot(), SlotChineseButton) << "three clicks come back";
    states.Advance(StatusButton::Shape);
    states.Advance(StatusButton::Punctuation);
    EXPECT_EQ(states.ShapeSlot(), SlotHalfShapeButton);
    EXPECT_EQ(states.PunctuationSlot(), SlotESymbolButton);

    EXPECT_EQ(StatusPictureX(200, 100, 0), 50);
    EXPECT_EQ(StatusPictureX(80, 100, 7), -7) << "wider than the window: scrolled";
    EXPECT_EQ(CentredPictureY(41, 20), 10);
    EXPECT_EQ(BarPictureX(5), -4);
}

} // namespace
} // namespace tide
