// Writing a library back as code-table text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/dict/CodeTableHeader.h"
#include "core/dict/LibraryView.h"

namespace tide {

// Text of a code table being written: starts with the byte-order mark.
class CodeTableWriter {
public:
    CodeTableWriter() { text_.push_back(u'\uFEFF'); }

    void Append(std::u16string_view text) { text_.append(text); }
    void AppendNumber(std::int64_t number);
    void AppendLine(std::u16string_view text) { text_.append(text).append(u"\r\n"); }

    const std::u16string& text() const { return text_; }
    // The file's bytes: UTF-16 little-endian.
    std::string Bytes() const;

private:
    std::u16string text_;
};

// The header section, rule lines included, ending with "[CODETABLE]".
void WriteHeaderText(CodeTableWriter& writer, const CodeTableHeader& header);

// "code TAB word" for WeightNone, else "code TAB word TAB weight"; CR LF.
void WriteEntryLine(CodeTableWriter& writer, std::u16string_view code, std::u16string_view word,
                    std::uint32_t weight);

// Every entry that belongs to the code table (not user entries, not carried
// ones). False when the library turns out to be damaged: the text is then
// not to be written.
bool ExportEntries(const LibraryView& library, CodeTableWriter& writer);

} // namespace tide
