#include "core/dict/CharSlots.h"

namespace tide {
namespace {

struct SlotRange {
    char32_t first;
    char32_t last;
    std::uint32_t firstSlot;
};

// clang-format off
constexpr SlotRange kSlotRanges[] = {
    {0x2E80,  0x2EF3,  1},     // CJK radicals supplement
    {0x2F00,  0x2FD5,  117},   // Kangxi radicals
    {0x3007,  0x3007,  331},   // 〇
    {0x31C0,  0x31E3,  332},   // CJK strokes
    {0x3400,  0x4DBF,  368},   // extension A
    {kUnifiedFirst, kUnifiedLast, kUnifiedFirstSlot}, // unified ideographs
    {0xE815,  0xE864,  27949}, // private-use components
    {0xF900,  0xFAD9,  28029}, // compatibility ideographs
    {0x20000, 0x2A6DD, 28503}, // extension B
    {0x2A700, 0x2B734, 71221}, // extension C
    {0x2B740, 0x2B81D, 75370}, // extension D
    {0x2B820, 0x2CEA1, 75592}, // extension E
    {0x2CEB0, 0x2EBE0, 81354}, // extension F
    {0x2F800, 0x2FA1D, 88827}, // compatibility supplement
    {0x30000, 0x3134A, 89369}, // extension G
};
// clang-format on

// Each range continues the numbering of the one before it.
constexpr bool RangesAreConsecutive() {
    std::uint32_t next = 1;
    for (const auto& range : kSlotRanges) {
        if (range.firstSlot != next || range.last < range.first) {
            return false;
        }
        next = range.firstSlot + (range.last - range.first) + 1;
    }
    return next - 1 == kCharSlotCount;
}
static_assert(RangesAreConsecutive());

} // namespace

std::uint32_t OtherCharSlotIndex(char32_t codePoint) {
    for (const auto& range : kSlotRanges) {
        if (codePoint < range.first) {
            return 0;
        }
        if (codePoint <= range.last) {
            return range.firstSlot + (codePoint - range.first);
        }
    }
    return 0;
}

} // namespace tide
