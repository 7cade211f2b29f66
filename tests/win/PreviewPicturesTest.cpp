// The skin previews drawn for real with GDI+ from the default skin: their
// sizes follow the layout, their pixels carry the skin's colours, and the
// time to compose each is logged (it is paid on every keystroke of the editor).
#include "win/skin/PreviewPictures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "ui/Controls.h"
#include "win/skin/PreviewCanvas.h"

namespace tide {
namespace {

const std::wstring kDefaultSkin = L"" TIDE_SOURCE_DIR "/data/Skin/Tide.ims";

// The preview windows' font: "Microsoft YaHei UI" of 11 points, or the
// fallback face where it is not installed.
LOGFONTW PreviewFont() {
    LOGFONTW font = {};
    const FontHandle handle = CreateUiFont(::GetDesktopWindow(), L"Microsoft YaHei UI", 11);
    ::GetObjectW(handle.get(), sizeof(font), &font);
    return font;
}

class ScreenDc {
public:
    ScreenDc() : dc_(::GetDC(nullptr)) {}
    ~ScreenDc() { ::ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

Gdiplus::ARGB PixelAt(Gdiplus::GpImage* image, int x, int y) {
    Gdiplus::ARGB color = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image), x, y, &color);
    return color;
}

void SavePicture(Gdiplus::GpImage* picture, const wchar_t* name) {
    const auto png = EncodePng(picture);
    ASSERT_TRUE(png);
    ::CreateDirectoryW(test::ScreenshotFolder().c_str(), nullptr);
    std::ofstream out((test::ScreenshotFolder() + L"\\" + name).c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(png->data()),
              static_cast<std::streamsize>(png->size()));
}

class PreviewPictures : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(skin_.Load(kDefaultSkin.c_str())); }

    ScreenDc screen_;
    LOGFONTW font_ = PreviewFont();
    SkinFile skin_;
};

TEST_F(PreviewPictures, BarsAreAsLargeAsTheirLayoutAndSelectTheFirstCandidate) {
    const BarTextSizes sizes = MeasureBarTexts(screen_.get(), font_);
    ASSERT_GT(sizes.chars.width, 0);
    ASSERT_GT(sizes.chars.height, 0);
    for (const bool vertical : {false, true}) {
        GdiplusImage bar = ComposeBar(skin_, vertical, screen_.get(), font_, sizes);
        ASSERT_TRUE(bar) << vertical;
        const BarSize expected = MeasureBar(skin_.record(), vertical, sizes);
        const SIZE size = ImageSize(bar.get());
        EXPECT_EQ(size.cx, expected.width) << vertical;
        EXPECT_EQ(size.cy, expected.height) << vertical;
        const BarLayout layout = LayoutBar(skin_.record(), vertical, sizes);
        if (layout.selectionBox) {
            // The middle of the selection box's left edge shows its colour.
            const SkinRecord& r = skin_.record();
            const COLORREF box = vertical ? r.vertSelectionBoxColor : r.horzSelectionBoxColor;
            const Gdiplus::ARGB pixel =
                PixelAt(bar.get(), layout.selectionBox->left + 1,
                        (layout.selectionBox->top + layout.selectionBox->bottom) / 2);
            EXPECT_EQ(pixel & 0x00FFFFFF, Argb(box) & 0x00FFFFFF) << vertical;
        }
        SavePicture(bar.get(), vertical ? L"preview-vertical.png" : L"preview-horizontal.png");
    }
}

TEST_F(PreviewPictures, TheStatusBarShowsTheChosenButtonImages) {
    StatusStates states;
    GdiplusImage chinese = ComposeStatus(skin_, states);
    ASSERT_TRUE(chinese);
    const SIZE size = ImageSize(chinese.get());
    EXPECT_EQ(size.cx, ImageSize(skin_.image(SlotStatus)).cx);
    EXPECT_EQ(size.cy, ImageSize(skin_.image(SlotStatus)).cy);
    states.Advance(StatusButton::Language);
    GdiplusImage english = ComposeStatus(skin_, states);
    const SkinBox& lang = skin_.record().langButtonBox;
    bool differs = false;
    for (int y = lang.y; y < lang.y + lang.cy && !differs; ++y) {
        for (int x = lang.x; x < lang.x + lang.cx && !differs; ++x) {
            differs = PixelAt(chinese.get(), x, y) != PixelAt(english.get(), x, y);
        }
    }
    EXPECT_TRUE(differs) << "the language button shows the English image";
    SavePicture(chinese.get(), L"preview-status.png");

    SkinFile empty;
    EXPECT_FALSE(ComposeStatus(empty, states)) << "no status image, no picture";
    EXPECT_FALSE(
        ComposeBar(empty, false, screen_.get(), font_, MeasureBarTexts(screen_.get(), font_)));
}

// Not an assertion: the figures go to the log, to be read against a frame
// (16 ms). Each round measures the texts and composes all three pictures.
TEST_F(PreviewPictures, ComposeTimesAreLogged) {
    using Clock = std::chrono::steady_clock;
    constexpr int kRounds = 50;
    double milliseconds[3] = {};
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        GdiplusImage status = ComposeStatus(skin_, StatusStates());
        auto end = Clock::now();
        milliseconds[0] += std::chrono::duration<double, std::milli>(end - start).count();
        for (const bool vertical : {false, true}) {
            start = Clock::now();
            const BarTextSizes sizes = MeasureBarTexts(screen_.get(), font_);
            GdiplusImage bar = ComposeBar(skin_, vertical, screen_.get(), font_, sizes);
            end = Clock::now();
            milliseconds[vertical ? 2 : 1] +=
                std::chrono::duration<double, std::milli>(end - start).count();
            ASSERT_TRUE(bar);
        }
    }
    std::printf(
        "compose per picture (mean of %d): status %.2f ms, horizontal %.2f ms, "
        "vertical %.2f ms\n",
        kRounds, milliseconds[0] / kRounds, milliseconds[1] / kRounds, milliseconds[2] / kRounds);
}

} // namespace
} // namespace tide
