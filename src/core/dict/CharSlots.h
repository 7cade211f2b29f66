// The characters that have a slot in a library's CharCodeTable: fifteen
// ranges of CJK code points, numbered consecutively from slot 1.
#pragma once

#include <cstdint>

namespace tide {

inline constexpr std::uint32_t kCharSlotCount = 94307; // highest slot number

// The unified ideographs, nearly every character looked up.
inline constexpr char32_t kUnifiedFirst = 0x4E00;
inline constexpr char32_t kUnifiedLast = 0x9FFC;
inline constexpr std::uint32_t kUnifiedFirstSlot = 6960;

// The slot of a code point outside the unified ideographs, or 0 when it has none.
std::uint32_t OtherCharSlotIndex(char32_t codePoint);

// The slot of a code point, or 0 when it has none.
inline std::uint32_t CharSlotIndex(char32_t codePoint) {
    return codePoint >= kUnifiedFirst && codePoint <= kUnifiedLast
               ? kUnifiedFirstSlot + (codePoint - kUnifiedFirst)
               : OtherCharSlotIndex(codePoint);
}

inline bool IsTableChar(char32_t codePoint) {
    return CharSlotIndex(codePoint) != 0;
}

} // namespace tide
