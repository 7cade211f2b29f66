#include "core/convert/TideTableFormat.h"

#include <algorithm>
#include <cstring>

#include "core/base/FixedText.h"
#include "core/base/Utf.h"
#include "core/convert/PhraseFormulas.h"
#include "core/convert/TextLines.h"
#include "core/dict/CodeTableHeaderParser.h"
#include "core/dict/CodeTableWriter.h"

namespace tide {
namespace {

// At most `units` UTF-16 units of `text`, not splitting a surrogate pair.
std::u16string CutToUnits(std::u16string text, std::size_t units) {
    if (text.size() > units) {
        const bool splitsPair = text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF;
        text.resize(splitsPair ? units - 1 : units);
    }
    return text;
}

// Stores a header text, noting where it came from or that it was cut.
void SetHeaderText(char16_t (&field)[kHeaderTextUnits], std::string_view key,
                   const std::string& value, std::string_view origin,
                   std::vector<std::string>& notes) {
    const std::u16string full = FromUtf8(PrintableText(value));
    const std::u16string text = CutToUnits(full, kHeaderTextUnits - 1);
    SetFixedText(field, text);
    if (!origin.empty() || text.size() != full.size()) {
        notes.push_back(
            std::string(key) + "=" + ToUtf8(text) + " (" +
            (text.size() != full.size() ? "cut to 20 characters" : std::string(origin)) + ")");
    }
}

bool IsCodeLetters(std::string_view code) {
    return !code.empty() &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A word a line can hold: what any line holds, and no space at either end
// (the reader trims it).
bool FitsEntryLine(std::string_view word) {
    return !word.empty() && word.front() != ' ' && word.back() != ' ' && LineCanHold(word);
}

} // namespace

LoadedTable ReadTideTable(std::string_view bytes, std::string& storage) {
    LoadedTable table;
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') {
        table.error = "not a UTF-16 little-endian text with a byte-order mark";
        return table;
    }
    std::u16string text((bytes.size() - 2) / 2, u'\0');
    std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
    CodeTableLines lines(text);
    const HeaderParseResult parsed = ParseHeader(lines);
    if (!parsed.header) {
        table.error = ToUtf8(parsed.message);
        return table;
    }
    const CodeTableHeader& header = *parsed.header;
    table.info.name = ToUtf8(FixedText(header.Name));
    table.info.version = ToUtf8(FixedText(header.Version));
    table.info.author = ToUtf8(FixedText(header.Author));
    table.info.scheme = ToUtf8(FixedText(header.CodeScheme));
    table.info.codeLength = header.CodeLength;
    table.info.rules = FormulasOfHeader(header);
    if (header.BWCodeLength != 0) {
        table.notes.emplace_back("the second codes after \"/\" are left out");
    }

    storage = ToUtf8(std::u16string_view(text).substr(lines.position()));
    Utf8Lines entryLines(storage);
    table.entries.reserve(CountLines(storage));
    while (!entryLines.AtEnd()) {
        const std::string_view line = TrimAscii(entryLines.Next());
        if (line.empty()) {
            continue;
        }
        const std::size_t tab = line.find('\t');
        std::string_view code = TrimAscii(line.substr(0, tab));
        code = code.substr(0, code.find('/'));
        std::string_view word;
        if (tab != std::string_view::npos) {
            const std::string_view rest = line.substr(tab + 1);
            word = TrimAscii(rest.substr(0, rest.find('\t')));
        }
        if (word.empty()) {
            ++table.skipped.emptyWord;
        } else if (code.empty()) {
            ++table.skipped.noCode;
        } else {
            table.entries.push_back({code, word, 0});
        }
    }
    return table;
}

std::string WriteTideTable(const LoadedTable& table, std::string_view fallbackName,
                           SkippedLines& skipped, std::vector<std::string>& notes,
                           std::string& error) {
    CodeTableHeader header;
    std::memset(&header, 0, sizeof(header));
    error = StoreFormulasInHeader(table.info.rules, header, notes);
    if (!error.empty()) {
        return {};
    }
    const TableInfo& info = table.info;
    const bool named = !info.name.empty();
    const std::string name = named ? info.name : std::string(fallbackName);
    SetHeaderText(header.Name, "Name", name, named ? "" : "from the file name", notes);
    SetHeaderText(header.Version, "Version", info.version.empty() ? "1.0" : info.version,
                  info.version.empty() ? "the source has none" : "", notes);
    SetHeaderText(header.Author, "Author", info.author, "", notes);
    SetHeaderText(header.CodeScheme, "CodeScheme", info.scheme.empty() ? name : info.scheme,
                  info.scheme.empty() ? "the name" : "", notes);

    // A phrase's code is as long as its rule: the table's code length must
    // hold both.
    std::size_t longest = 0;
    for (const TableEntry& entry : table.entries) {
        longest = std::max(longest, entry.code.size());
    }
    for (const PhraseFormula& rule : info.rules) {
        longest = std::max(longest, rule.elements.size());
    }
    std::size_t codeLength =
        std::max(longest, static_cast<std::size_t>(std::max(info.codeLength, 0)));
    codeLength = std::clamp<std::size_t>(codeLength, 1, kMaxCharCodeWidth);
    header.CodeLength = static_cast<std::uint8_t>(codeLength);
    if (info.codeLength <= 0 || static_cast<std::size_t>(info.codeLength) != codeLength) {
        notes.push_back(
            "CodeLength=" + std::to_string(codeLength) + " (" +
            (longest > kMaxCharCodeWidth ? "the most a table holds" : "the longest code or rule") +
            ")");
    }

    CodeTableWriter writer;
    WriteHeaderText(writer, header);
    // The entry lines go straight into the file's bytes (UTF-16 little-endian,
    // as the header's), each turned from UTF-8 in a scratch line.
    std::string bytes = writer.Bytes();
    bytes.reserve(bytes.size() + table.entries.size() * 24);
    std::u16string line;
    for (const TableEntry& entry : table.entries) {
        if (entry.word.empty()) {
            ++skipped.emptyWord;
        } else if (!IsCodeLetters(entry.code)) {
            ++(entry.code.empty() ? skipped.noCode : skipped.codeOutsideKeys);
        } else if (!FitsEntryLine(entry.word)) {
            ++skipped.wordNotWritable;
        } else {
            line.resize(entry.code.size() + entry.word.size() + 3);
            // The code is letters a-z: each byte is its unit.
            char16_t* end = std::copy(entry.code.begin(), entry.code.end(), line.data());
            *end++ = u'\t';
            end = Utf8ToUtf16(entry.word, end);
            *end++ = u'\r';
            *end++ = u'\n';
            bytes.append(reinterpret_cast<const char*>(line.data()),
                         static_cast<std::size_t>(end - line.data()) * sizeof(char16_t));
        }
    }
    // A table is at least as long as a library's header; empty lines make up
    // the difference for a small one.
    while (bytes.size() < kHeaderSize) {
        bytes.append("\r\0\n\0", 4);
    }
    return bytes;
}

} // namespace tide
