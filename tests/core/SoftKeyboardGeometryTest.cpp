#include <gtest/gtest.h>

#include <set>

#include "core/config/ConfigRecord.h"
#include "core/config/SoftKeyboardFile.h"
#include "core/config/SoftKeyboardGeometry.h"

namespace tide {
namespace {

TEST(SoftKeyboardGeometry, CapsLieOnThePictureWithoutTouching) {
    std::set<char16_t> keys;
    for (const KeyCap& cap : kKeyCaps) {
        keys.insert(cap.key);
        const PixelRect square = KeyCapSquare(cap, 0, 0);
        EXPECT_GE(square.left, 0);
        EXPECT_LE(square.right, kKeyboardPictureWidth) << static_cast<char>(cap.key);
        EXPECT_LE(square.bottom, kKeyboardPictureHeight);
        for (const KeyCap& other : kKeyCaps) {
            if (&other == &cap) {
                continue;
            }
            const PixelRect next = KeyCapSquare(other, 0, 0);
            const bool apart = next.left >= square.right + 2 || square.left >= next.right + 2 ||
                               next.top >= square.bottom + 2 || square.top >= next.bottom + 2;
            EXPECT_TRUE(apart) << static_cast<char>(cap.key) << " and "
                               << static_cast<char>(other.key);
        }
    }
    EXPECT_EQ(keys.size(), kKeyCaps.size()) << "every key once";
}

TEST(SoftKeyboardGeometry, HitTestUsesTheCapShrunkByOnePixel) {
    // Picture centred at (10, 20): Q's cap is the square from (82, 53) to (110, 81).
    EXPECT_EQ(HitTestKeyCap(96, 67, 10, 20)->key, u'q');
    EXPECT_EQ(HitTestKeyCap(83, 54, 10, 20)->key, u'q');
    EXPECT_EQ(HitTestKeyCap(109, 80, 10, 20)->key, u'q');
    EXPECT_FALSE(HitTestKeyCap(82, 60, 10, 20)) << "the cap's own edge";
    EXPECT_FALSE(HitTestKeyCap(110, 60, 10, 20));
    EXPECT_FALSE(HitTestKeyCap(112, 60, 10, 20)) << "the gap between Q and W";
    EXPECT_EQ(HitTestKeyCap(114, 60, 10, 20)->key, u'w');
    EXPECT_FALSE(HitTestKeyCap(20, 60, 10, 20)) << "Tab has no cap";
    EXPECT_FALSE(HitTestKeyCap(200, 20 + 2 + 4 * 31 + 10, 10, 20)) << "nor has Space";
    EXPECT_EQ(HitTestKeyCap(10 + 2 + 362 + 5, 20 + 2 + 93 + 5, 10, 20)->key, u'/');
}

// The soft-keyboard file names every key but Space in the record's key order.
TEST(SoftKeyboardFile, KeyNamesValuesAndTheCapsOfEveryKey) {
    EXPECT_EQ(SoftKeyName(1), u"Key_0");
    EXPECT_EQ(SoftKeyName(10), u"Key_9");
    EXPECT_EQ(SoftKeyName(11), u"Key_A");
    EXPECT_EQ(SoftKeyName(36), u"Key_Z");
    EXPECT_EQ(SoftKeyName(37), u"Key_Semicolon");
    EXPECT_EQ(SoftKeyName(38), u"Key_Plus");
    EXPECT_EQ(SoftKeyName(47), u"Key_Quote");
    EXPECT_EQ(SoftKeyName(0), u"") << "Space is not written";
    EXPECT_EQ(SoftKeyName(48), u"");

    EXPECT_EQ(SoftKeyValue(u'\0'), u"0");
    EXPECT_EQ(SoftKeyValue(kIdeographicSpace), u"0");
    EXPECT_EQ(SoftKeyValue(u'⑩'), u"⑩");
    EXPECT_EQ(SoftKeyUnit(u""), u'\0');
    EXPECT_EQ(SoftKeyUnit(u"0"), u'\0') << "\"0\" is no character";
    EXPECT_EQ(SoftKeyUnit(u"ab"), u'a') << "the first character";

    // Each cap is one key of the record, the one its US virtual key names.
    std::set<std::size_t> indices;
    for (const KeyCap& cap : kKeyCaps) {
        const auto index = SymbolIndexForCap(cap.key);
        ASSERT_TRUE(index) << static_cast<int>(cap.key);
        indices.insert(*index);
        EXPECT_EQ(SymbolIndexForVirtualKey(VirtualKeyForSymbolIndex(*index)), index);
    }
    EXPECT_EQ(indices.size(), 47u);
    EXPECT_EQ(*indices.begin(), 1u);
    EXPECT_EQ(*indices.rbegin(), 47u);
    EXPECT_EQ(SymbolIndexForCap(u'q'), 27u) << "Q is the 17th letter";
    EXPECT_EQ(SymbolIndexForCap(u'`'), 43u);
    EXPECT_FALSE(SymbolIndexForCap(u' '));
}

} // namespace
} // namespace tide
