// Reading a code table's text: UTF-16 little-endian with a byte-order mark,
// one line per CR LF, spaces trimmed from both ends of each line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dict/LibraryLayout.h"

namespace tide {

inline constexpr char16_t kByteOrderMark = u'\uFEFF';

std::u16string_view TrimSpaces(std::u16string_view text);

// Lines of the text in order. A line ends at CR LF (a lone LF is accepted as
// well, so tables saved with Unix line ends read the same).
class CodeTableLines {
public:
    explicit CodeTableLines(std::u16string_view text) : text_(text) {}

    bool AtEnd() const { return position_ >= text_.size(); }
    // The next line with its spaces trimmed.
    std::u16string_view Next();
    // The line number (from 1) of the line Next gave last; 0 before the first.
    std::size_t lineNumber() const { return lineNumber_; }
    // Where the next line starts in the text.
    std::size_t position() const { return position_; }

private:
    std::u16string_view text_;
    std::size_t position_ = 0;
    std::size_t lineNumber_ = 0;
};

// Decimal conversion that stops at the first character that is not a digit
// (after an optional sign), as the table format has always been read; values
// beyond 32 bits saturate.
std::int32_t ParseDecimal(std::u16string_view text);

// An entry line: "code TAB word [TAB weight]"; a line without a TAB is a code
// with an empty word.
struct EntryLine {
    std::u16string_view code;
    std::u16string_view word;
    std::uint32_t weight = kWeightNone;
};
EntryLine SplitEntryLine(std::u16string_view line);

} // namespace tide
