// UTF-8 text read line by line, as the peers' table files are written: lines
// end at LF (a CR before it is dropped), a byte-order mark at the start is
// skipped.
#pragma once

#include <cstddef>
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

// Without spaces, tabs and other ASCII white space at either end.
inline std::string_view TrimAscii(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// Without control characters (a header value spans one line of any format).
inline std::string PrintableText(std::string_view text) {
    std::string printable;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) {
            printable += c;
        }
    }
    return printable;
}

} // namespace tide
