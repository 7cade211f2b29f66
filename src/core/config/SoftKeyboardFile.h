// The soft-keyboard text file: an INI file with the plain characters of the
// user layout in section "CUSTOMKEYS" and the shifted ones in "SHIFTKEYS",
// one key per character key but Space, each value a single character or "0"
// for none.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tide {

inline constexpr std::u16string_view kPlainKeysSection = u"CUSTOMKEYS";
inline constexpr std::u16string_view kShiftedKeysSection = u"SHIFTKEYS";
inline constexpr char16_t kIdeographicSpace = u'\u3000';

// The key name of a character key by its index in UserSymbols' key order
// (1 to 47; Space, index 0, has none): "Key_0", "Key_A", "Key_Semicolon"...
std::u16string SoftKeyName(std::size_t symbolIndex);

// What the file holds for a unit: the character, or "0" for none (0 or U+3000).
std::u16string SoftKeyValue(char16_t unit);
// The unit a value gives: its first character; 0 for an empty value and "0".
char16_t SoftKeyUnit(std::u16string_view value);

// The index in UserSymbols' key order of the key with this cap (its US
// character without Shift); nothing for a character that is no key.
std::optional<std::size_t> SymbolIndexForCap(char16_t cap);

} // namespace tide
