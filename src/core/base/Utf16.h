// UTF-16 code units and code points: surrogate pairs are one character.
#pragma once

#include <cstddef>
#include <string_view>

namespace tide {

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}
constexpr char32_t CombineSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}
constexpr char16_t HighSurrogateOf(char32_t codePoint) {
    return static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
}
constexpr char16_t LowSurrogateOf(char32_t codePoint) {
    return static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
}
static_assert(CombineSurrogates(HighSurrogateOf(U'𠀀'), LowSurrogateOf(U'𠀀')) == U'𠀀');

// Whether a surrogate pair starts at `index` of `text`.
constexpr bool IsPairAt(std::u16string_view text, std::size_t index) {
    return index + 1 < text.size() && IsHighSurrogate(text[index]) &&
           IsLowSurrogate(text[index + 1]);
}

} // namespace tide
