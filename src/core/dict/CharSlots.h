// The characters that have a slot in a library's CharCodeTable: fifteen
// ranges of CJK code points, numbered consecutively from slot 1.
#pragma once

#include <cstdint>

namespace tide {

inline constexpr std::uint32_t kCharSlotCount = 94307; // highest slot number

// The slot of a code point, or 0 when it has none.
std::uint32_t CharSlotIndex(char32_t codePoint);

inline bool IsTableChar(char32_t codePoint) {
    return CharSlotIndex(codePoint) != 0;
}

} // namespace tide
