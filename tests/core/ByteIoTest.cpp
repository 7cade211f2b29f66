#include "core/base/ByteIo.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace tide {
namespace {

TEST(ByteIo, RangeFitsNeverOverflows) {
    constexpr auto kMax = std::numeric_limits<std::size_t>::max();
    EXPECT_TRUE(RangeFits(0, 4, 4));
    EXPECT_TRUE(RangeFits(4, 0, 4));
    EXPECT_FALSE(RangeFits(1, 4, 4));
    EXPECT_FALSE(RangeFits(5, 0, 4));
    EXPECT_FALSE(RangeFits(kMax, 2, 4));
    EXPECT_FALSE(RangeFits(2, kMax, 4));
    EXPECT_FALSE(RangeFits(kMax - 1, 4, kMax));
}

TEST(ByteIo, ReadsLittleEndianAndRefusesReadsPastTheEnd) {
    const std::array<std::uint8_t, 6> bytes = {0x78, 0x56, 0x34, 0x12, 0xCD, 0xAB};
    const ByteReader r(bytes);
    EXPECT_EQ(r.U32(0), 0x12345678u);
    EXPECT_EQ(r.U16(4), 0xABCDu);
    EXPECT_EQ(r.U32(1), 0xCD123456u) << "unaligned reads are fine";
    EXPECT_FALSE(r.U32(3).has_value());
    EXPECT_FALSE(r.U16(5).has_value());
    EXPECT_FALSE(r.U8(6).has_value());
}

TEST(ByteIo, WritesStayInsideTheSpan) {
    std::array<std::uint8_t, 8> bytes{};
    ByteWriter w(std::span<std::uint8_t>(bytes).first(6));
    EXPECT_TRUE(w.PutU32(2, 0xA1B2C3D4));
    EXPECT_FALSE(w.PutU32(3, 0xFFFFFFFF));
    EXPECT_EQ(w.PutText(0, u"ab"), 6u);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{'a', 0, 'b', 0, 0, 0, 0, 0}));
    // Text that runs past the end is cut at the end, never beyond it.
    EXPECT_EQ(w.PutText(2, u"xyz"), 10u);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 0);
}

} // namespace
} // namespace tide
