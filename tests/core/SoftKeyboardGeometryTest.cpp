#include <gtest/gtest.h>

#include <set>

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

} // namespace
} // namespace tide
