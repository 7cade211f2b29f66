#include <gtest/gtest.h>

#include "core/base/Utf.h"

namespace tide {
namespace {

TEST(Utf8Decoding, TurnsEveryByteThatBeginsNoSequenceIntoAReplacement) {
    EXPECT_EQ(FromUtf8("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z"), u"a\u00E9\u4E2D\U0001F600z");
    // A surrogate written as three bytes, a sequence cut short at the end, a
    // lead byte whose follower is no continuation, and a stray continuation:
    // one replacement per byte that begins nothing, the rest read on.
    EXPECT_EQ(FromUtf8("\xED\xA0\x80x"), u"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(FromUtf8("x\xE4\xB8"), u"x\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xE4x\xB8\xAD"), u"\uFFFDx\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xE4\xB8\xAD\xE4\xB8"), u"\u4E2D\uFFFD\uFFFD");
    // Overlong forms are no characters: a line feed, a tab or "中" spelled in
    // more bytes than they take come out as replacements, never as themselves.
    EXPECT_EQ(FromUtf8("\xC0\x8A"), u"\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xE0\x80\x89"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xF0\x84\xB8\xAD"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80"), u"\u0080\u0800\U00010000")
        << "the shortest form of each length still decodes";
    // Chinese text survives the way back.
    const std::string text = "\xE6\xBD\xAE\xE6\xB1\x90 tide \xF0\xA0\x80\x80";
    EXPECT_EQ(ToUtf8(FromUtf8(text)), text);
}

} // namespace
} // namespace tide
