// UTF-8 text read line by line, as the peers' table files are written: lines
// end at LF (a CR before it is dropped), a byte-order mark at the start is
// skipped.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

namespace tide {

class Utf8Lines {
public:
    explicit Utf8Lines(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        text_ = text;
    }
    bool AtEnd() const { return text_.empty(); }
    std::string_view Next() {
        const std::size_t end = text_.find('\n');
        std::string_view line = text_.substr(0, end);
        text_ = end == std::string_view::npos ? std::string_view() : text_.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber_;
        return line;
    }
    std::size_t lineNumber() const { return lineNumber_; }

private:
    std::string_view text_;
    std::size_t lineNumber_ = 0;
};

constexpr bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Without spaces, tabs and other ASCII white space at either end. (A loop:
// the fields it trims are a few bytes, where a search per end costs more.)
inline std::string_view TrimAscii(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsAsciiSpace(text[first])) {
        ++first;
    }
    while (last > first && IsAsciiSpace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}

// Lines in `text`, a last one without its end included: what a reader sizes
// its entry list by, so the list is never moved while it fills. Counted
// eight bytes at a time: a byte of `x` is zero exactly where the text has a
// line feed, and each zero byte leaves one high bit in `zeros`.
inline std::size_t CountLines(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    std::size_t count = 1;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof(word));
        const std::uint64_t x = word ^ (kOnes * '\n');
        const std::uint64_t zeros = ~(((x & kLow7) + kLow7) | x | kLow7);
        count += static_cast<std::size_t>(std::popcount(zeros));
    }
    for (; i < text.size(); ++i) {
        count += text[i] == '\n' ? 1 : 0;
    }
    return count;
}

// A C0 control character or DEL. No line of any table format holds one: a
// tab or a line end would split the line, other controls mean nothing there.
constexpr bool IsControlByte(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The one check of what a line of any format can hold, for every word and
// header text a writer writes: no control character. (The UTF-8 decoder
// makes none out of bytes that hold none, so UTF-16 output holds none.)
inline bool LineCanHold(std::string_view text) {
    return std::none_of(text.begin(), text.end(), IsControlByte);
}

// Without control characters (a header value spans one line of any format).
inline std::string PrintableText(std::string_view text) {
    std::string printable;
    std::copy_if(text.begin(), text.end(), std::back_inserter(printable),
                 [](char c) { return !IsControlByte(c); });
    return printable;
}

} // namespace tide
