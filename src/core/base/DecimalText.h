// Whole numbers as UTF-16 decimal text ("-12"), for messages, statistics and
// code tables.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

namespace tide {

// Appends the decimal digits of `value` (with "-" when it is negative).
inline void AppendDecimal(std::u16string& text, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    text.append(digits, end);
}

inline std::u16string DecimalText(std::int64_t value) {
    std::u16string text;
    AppendDecimal(text, value);
    return text;
}

} // namespace tide
