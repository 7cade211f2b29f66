// Text fields of a fixed number of UTF-16 units in file and shared-memory
// records: the text, then NUL up to the end of the field.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace tide {

// The text of a field: up to its terminator, or all N units when a damaged
// record left the terminator out.
template <std::size_t N>
std::u16string_view FixedText(const char16_t (&field)[N]) {
    const auto* end = std::find(field, field + N, u'\0');
    return {field, static_cast<std::size_t>(end - field)};
}

// Stores `text` and clears the rest of the field when it fits with its
// terminator (N - 1 units at most) and holds no NUL of its own; otherwise
// the field stays as it was and the answer is false. Never cut short.
template <std::size_t N>
bool SetFixedText(char16_t (&field)[N], std::u16string_view text) {
    if (text.size() >= N || text.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    std::fill(field, field + N, u'\0');
    std::copy(text.begin(), text.end(), field);
    return true;
}

} // namespace tide
