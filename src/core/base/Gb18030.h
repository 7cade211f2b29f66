// GB18030 text to UTF-16: ASCII as it is, two-byte characters through a
// table, four-byte characters of the BMP through the ranges of code points
// the two-byte part leaves out, and four-byte characters from 0x90308130 on
// counted straight from U+10000.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tide {

// The character of a two-byte sequence (lead 0x81–0xFE, trail 0x40–0x7E or
// 0x80–0xFE); nothing for any other pair. Every such pair has a character.
std::optional<char32_t> DecodeGb18030Pair(std::uint8_t lead, std::uint8_t trail);

// The character of a four-byte sequence, or nothing when the bytes are no
// valid sequence or name no character.
std::optional<char32_t> DecodeGb18030Quad(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                                          std::uint8_t b4);

// The whole of `bytes` as UTF-16 (characters above U+FFFF as surrogate
// pairs) in `text`; false, with `text` unspecified, at the first invalid or
// cut-off sequence.
bool DecodeGb18030(std::string_view bytes, std::u16string& text);

} // namespace tide
