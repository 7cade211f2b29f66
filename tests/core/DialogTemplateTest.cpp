#include "core/ui/DialogTemplate.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/base/ByteIo.h"

namespace tide {
namespace {

constexpr std::uint32_t kChildStyle = 0x40000000;

DialogTemplateFields Fields(std::uint32_t style, std::u16string_view title) {
    DialogTemplateFields fields;
    fields.style = style;
    fields.title = title;
    return fields;
}

std::u16string ReadText(const ByteReader& reader, std::size_t offset) {
    std::u16string text;
    while (auto unit = reader.U16(offset)) {
        if (*unit == 0) {
            break;
        }
        text.push_back(static_cast<char16_t>(*unit));
        offset += 2;
    }
    return text;
}

TEST(DialogTemplate, LaysOutTheClassicTemplateWithFont) {
    const std::u16string_view title = u"潮汐输入法 设置";
    std::vector<std::uint8_t> buffer(DialogTemplateSize(title), 0);
    ASSERT_EQ(buffer.size(), 2 * 8 + 38u);
    DialogTemplateFields fields;
    fields.style = 0x80C80880; // the launcher's style, DS_SETFONT included
    fields.extendedStyle = 0x00000100;
    fields.title = title;
    fields.x = 0;
    fields.y = -3;
    fields.width = 342;
    fields.height = 240;
    ASSERT_TRUE(FillDialogTemplate(fields, kPreferredUiFace, buffer));

    const ByteReader r(buffer);
    EXPECT_EQ(r.U32(0), 0x80C80880u | kDsSetFont);
    EXPECT_EQ(r.U32(4), 0x100u);
    EXPECT_EQ(r.U16(8), 0u);
    EXPECT_EQ(r.U16(10), 0u);
    EXPECT_EQ(r.U16(12), 0xFFFDu);
    EXPECT_EQ(r.U16(14), 342u);
    EXPECT_EQ(r.U16(16), 240u);
    EXPECT_EQ(r.U16(18), 0u);
    EXPECT_EQ(r.U16(20), 0u);
    EXPECT_EQ(ReadText(r, 22), title);
    const std::size_t points = 22 + 2 * (title.size() + 1);
    EXPECT_EQ(r.U16(points), 9u);
    EXPECT_EQ(ReadText(r, points + 2), u"微软雅黑");
}

TEST(DialogTemplate, AddsSetFontAndFitsBothFacesForAnEmptyTitle) {
    for (std::u16string_view face : {kPreferredUiFace, kFallbackUiFace}) {
        std::vector<std::uint8_t> buffer(DialogTemplateSize(u""), 0xAA);
        ASSERT_TRUE(FillDialogTemplate(Fields(kChildStyle, u""), face, buffer)) << "face fits";
        const ByteReader r(buffer);
        EXPECT_EQ(r.U32(0), kChildStyle | kDsSetFont);
        EXPECT_EQ(r.U16(22), 0u) << "empty title";
        EXPECT_EQ(r.U16(24), 9u);
        EXPECT_EQ(ReadText(r, 26), face);
    }
}

TEST(DialogTemplate, FallbackFaceScalesTheTemplate) {
    DialogTemplateFields fields = Fields(0, u"x");
    fields.x = 12;
    fields.y = 30;
    fields.width = 262;
    fields.height = 177;
    std::vector<std::uint8_t> preferred(DialogTemplateSize(u"x"), 0);
    std::vector<std::uint8_t> fallback(DialogTemplateSize(u"x"), 0);
    ASSERT_TRUE(FillDialogTemplate(fields, kPreferredUiFace, preferred));
    ASSERT_TRUE(FillDialogTemplate(fields, kFallbackUiFace, fallback));
    const ByteReader p(preferred);
    const ByteReader f(fallback);
    EXPECT_EQ(p.U16(16), 177u);
    EXPECT_EQ(f.U16(10), 14u);  // 12 * 7 / 6
    EXPECT_EQ(f.U16(12), 42u);  // 30 * 213 / 150 = 42.6
    EXPECT_EQ(f.U16(14), 305u); // 262 * 7 / 6 = 305.6
    EXPECT_EQ(f.U16(16), 251u); // 177 * 213 / 150 = 251.3
    // Controls sit one unit lower than the plain ratio.
    EXPECT_EQ(ScaleControlForFallbackFace({30, 20, 132, 35}), (DialogRect{35, 29, 154, 49}));
    EXPECT_EQ(ScaleTemplateForFallbackFace({30, 20, 132, 35}), (DialogRect{35, 28, 154, 49}));
}

TEST(DialogTemplate, RefusesABufferTooSmallAndWritesNothing) {
    std::vector<std::uint8_t> buffer(DialogTemplateSize(u"abc") - 1, 0);
    EXPECT_FALSE(FillDialogTemplate(Fields(0, u"abc"), kPreferredUiFace, buffer));
    for (auto byte : buffer) {
        ASSERT_EQ(byte, 0);
    }
    // A face longer than the template's spare room does not fit either.
    std::vector<std::uint8_t> exact(DialogTemplateSize(u"abc"), 0);
    EXPECT_FALSE(FillDialogTemplate(Fields(0, u"abc"), u"A much longer face name", exact));
}

} // namespace
} // namespace tide
