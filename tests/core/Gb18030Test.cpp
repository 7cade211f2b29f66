#include "core/base/Gb18030.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/base/Utf16.h"

namespace tide {
namespace {

std::optional<std::u16string> Decode(std::string_view bytes) {
    std::u16string text;
    if (!DecodeGb18030(bytes, text)) {
        return std::nullopt;
    }
    return text;
}

// Expected characters as Python's gb18030 codec decodes them.
TEST(Gb18030, DecodesEachKindOfSequence) {
    struct Case {
        std::string_view bytes;
        std::u16string_view text;
    } const cases[] = {
        {"Ab 1\n", u"Ab 1\n"},
        {"\xC4\xE3\xBA\xC3", u"你好"},         // GB2312
        {"\x81\x40\xE5\x96", u"丂鍠"},         // GBK only
        {"\xA2\xE3", u"€"},                    // two bytes here, not cp936's 0x80
        {"\x81\x30\x81\x30", u"\u0080"},       // the first four-byte sequence
        {"\x81\x30\x84\x36", u"¥"},            // first of its run
        {"\x81\x35\xF4\x37", u"\u1E3F"},       // a lone code point between two-byte ones
        {"\x84\x31\xA4\x39", u"\uFFFF"},       // the last of the BMP
        {"\xA3\xA0\xA1\xA1", u"\uE5E5\u3000"}, // A3A0 stays in private use
        {"\xA8\xBC", u"\uE7C7"},
        {"\x95\x32\x82\x36", u"𠀀"},
        {"\x90\x30\x81\x30\xE3\x32\x9A\x35", u"\U00010000\U0010FFFF"},
        // Random pairs, four-byte BMP sequences and supplementary ones.
        {"\x91\x88\x97\x4F\xD3\x89\xFD\xFC\xD0\x74\xF9\x40\xD3\x47\xAB\xB3\xE4\xCD\xAC\x94\xBC\x9B"
         "\xE9\xE6\xB3\x64\xA2\x4A\x8B\xCF\xB1\x62\x83\x31\xEE\x32\x84\x30\xFE\x35\x81\x32\xD6\x36"
         "\x83\x37\xDE\x30\x81\x31\xD8\x35\x82\x31\xE9\x38\x83\x35\xAC\x38\x81\x36\xB4\x32\xE2\x36"
         "\xB8\x35\xAE\x33\xBE\x33",
         u"\u619F\u6879\u8A05\uE465\u886A\u9D43\u89A9\uE070\u6E2B\u746A\u7D31\u6B92\u782B\uE530"
         u"\u5B12\u7700\uC0E3\uFDFB\u0E4E\uEDDD\u0975\u3DB3\uD205\u20B7\U0010E3A3\U0006D5B9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.bytes), std::u16string(c.text)) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(DecodeGb18030Pair(0xC4, 0xE3), U'你');
    EXPECT_EQ(DecodeGb18030Pair(0xFE, 0xFE), U'\uE4C5');
}

TEST(Gb18030, RefusesInvalidAndCutSequences) {
    const std::string_view invalid[] = {
        "\x80",
        "\xFF",
        "ab\xC4",
        "\x81\x7F",
        "\x81\xFF",
        "\x81\x20",
        "\x81\x30",
        "\x81\x30\x81",
        "\x81\x30\x30\x30",
        "\x81\x30\x81\x3A",
        "\x84\x31\xA5\x30",
        "\x85\x30\x81\x30",
        "\x8F\x39\xFE\x39",
        "\xE3\x32\x9A\x36",
        "\xFE\x39\xFE\x39",
        "\xC4\xE3\xBA",
    };
    for (const std::string_view bytes : invalid) {
        EXPECT_EQ(Decode(bytes), std::nullopt) << testing::PrintToString(bytes);
    }
    EXPECT_EQ(DecodeGb18030Pair(0x80, 0x40), std::nullopt);
    EXPECT_EQ(DecodeGb18030Pair(0xB0, 0x3F), std::nullopt);
    EXPECT_EQ(DecodeGb18030Pair(0xB0, 0x7F), std::nullopt);
    EXPECT_EQ(DecodeGb18030Pair(0xFF, 0xA1), std::nullopt);
}

// ASCII, the pairs and the four-byte BMP sequences name each code point of
// the BMP outside the surrogates exactly once: a table with a slipped row or
// a range off by one breaks that.
TEST(Gb18030, NamesTheBmpOneToOne) {
    std::vector<int> named(0x10000, 0);
    for (char32_t c = 0; c < 0x80; ++c) {
        ++named[c];
    }
    std::size_t pairs = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (const auto c = DecodeGb18030Pair(static_cast<std::uint8_t>(lead),
                                                 static_cast<std::uint8_t>(trail))) {
                ASSERT_LT(*c, 0x10000u);
                ++named[*c];
                ++pairs;
            }
        }
    }
    EXPECT_EQ(pairs, 126u * 190u);
    std::size_t quads = 0;
    for (int b1 = 0x81; b1 <= 0x84; ++b1) {
        for (int b2 = 0x30; b2 <= 0x39; ++b2) {
            for (int b3 = 0x81; b3 <= 0xFE; ++b3) {
                for (int b4 = 0x30; b4 <= 0x39; ++b4) {
                    const auto c = DecodeGb18030Quad(
                        static_cast<std::uint8_t>(b1), static_cast<std::uint8_t>(b2),
                        static_cast<std::uint8_t>(b3), static_cast<std::uint8_t>(b4));
                    if (c) {
                        ASSERT_LT(*c, 0x10000u);
                        ++named[*c];
                        ++quads;
                    }
                }
            }
        }
    }
    EXPECT_EQ(quads, 39420u);
    for (char32_t c = 0; c < 0x10000; ++c) {
        EXPECT_EQ(named[c], IsSurrogate(c) ? 0 : 1) << std::hex << static_cast<std::uint32_t>(c);
    }
}

} // namespace
} // namespace tide
