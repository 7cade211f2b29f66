#include "core/dict/CodeTableText.h"

#include <limits>

namespace tide {

std::u16string_view TrimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

std::u16string_view CodeTableLines::Next() {
    ++lineNumber_;
    const std::size_t start = position_;
    std::size_t end = start;
    while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n') {
        ++end;
    }
    position_ = end;
    if (position_ < text_.size() && text_[position_] == u'\r') {
        ++position_;
    }
    if (position_ < text_.size() && text_[position_] == u'\n') {
        ++position_;
    }
    return TrimSpaces(text_.substr(start, end - start));
}

std::int32_t ParseDecimal(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            value = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace tide
