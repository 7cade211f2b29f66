#include "core/dict/CodeTableText.h"

#include <algorithm>
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

EntryLine SplitEntryLine(std::u16string_view line) {
    EntryLine entry;
    const auto firstTab = line.find(u'\t');
    entry.code = TrimSpaces(line.substr(0, firstTab));
    if (firstTab == std::u16string_view::npos) {
        return entry;
    }
    const std::u16string_view rest = line.substr(firstTab + 1);
    const auto secondTab = rest.find(u'\t');
    // A word ends at a NUL: records keep words zero-terminated.
    entry.word = TrimSpaces(rest.substr(0, std::min(secondTab, rest.find(u'\0'))));
    if (secondTab != std::u16string_view::npos) {
        const std::u16string_view weight = TrimSpaces(rest.substr(secondTab + 1));
        if (!weight.empty()) {
            entry.weight = static_cast<std::uint32_t>(ParseDecimal(weight));
        }
    }
    return entry;
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
