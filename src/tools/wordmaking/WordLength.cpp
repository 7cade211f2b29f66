#include "tools/wordmaking/WordLength.h"

#include <algorithm>

namespace tide {
namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// True when the last `length` units would begin with the second half of a pair.
bool SplitsPair(std::u16string_view text, std::size_t length) {
    if (length == 0 || length >= text.size()) {
        return false;
    }
    const std::size_t start = text.size() - length;
    return IsLowSurrogate(text[start]) && IsHighSurrogate(text[start - 1]);
}

} // namespace

std::u16string_view LastUnits(std::u16string_view text, std::size_t length) {
    return text.substr(text.size() - std::min(length, text.size()));
}

std::size_t ProposedLength(std::u16string_view text) {
    if (text.size() < 2) {
        return 0;
    }
    return SplitsPair(text, 2) ? 3 : 2;
}

std::optional<std::size_t> LengthAfterUp(std::u16string_view text, std::size_t current) {
    if (text.size() < 2 || current >= text.size()) {
        return std::nullopt;
    }
    const std::size_t length = current + 1;
    return SplitsPair(text, length) ? length + 1 : length;
}

std::optional<std::size_t> LengthAfterDown(std::u16string_view text, std::size_t current) {
    if (text.size() < 2 || current < 3) {
        return std::nullopt;
    }
    std::size_t length = std::min(current - 1, text.size());
    if (SplitsPair(text, length)) {
        --length;
    }
    if (length < 2) {
        return std::nullopt;
    }
    return length;
}

} // namespace tide
