#include "core/dict/ForeignWordList.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

#include "core/base/ByteIo.h"
#include "core/base/Utf.h"

namespace tide {
namespace {

// A cell dictionary: its magic, where its name is (UTF-16, up to the next
// field) and where the groups of words start, after the pinyin table.
constexpr std::uint8_t kScelMagic[] = {0x40, 0x15, 0x00, 0x00, 0x44, 0x43, 0x53, 0x01};
constexpr std::size_t kScelName = 0x130;
constexpr std::size_t kScelNameEnd = 0x338;
constexpr std::size_t kScelWords = 0x2628;
// Some cell dictionaries end with a table of deleted words after this mark.
constexpr std::u16string_view kScelDeleted = u"DELTBL";

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool HasNonAscii(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x80; });
}

// The fields of a line split at TABs and spaces.
std::vector<std::u16string_view> Fields(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsSpace(line[at])) {
            ++at;
        }
        const std::size_t start = at;
        while (at < line.size() && !IsSpace(line[at])) {
            ++at;
        }
        if (at > start) {
            fields.push_back(line.substr(start, at - start));
        }
    }
    return fields;
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && (IsSpace(text.front()) || text.front() == u'\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsSpace(text.back()) || text.back() == u'\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsNumber(std::u16string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool IsCodeOfOurs(std::u16string_view code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](char16_t c) {
        return c > u' ' && c < 0x7F && c != u'\'' && c != u'|';
    });
}

// The bytes as UTF-16 text: with a byte-order mark, UTF-8 (valid, with or
// without its mark), or UTF-16LE without a mark when its line ends say so.
bool DecodeText(std::span<const std::uint8_t> bytes, std::u16string& text, bool& markedUtf16) {
    markedUtf16 = false;
    const auto utf16 = [&](std::size_t from, bool bigEndian) {
        text.resize((bytes.size() - from) / 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::uint8_t a = bytes[from + 2 * i];
            const std::uint8_t b = bytes[from + 2 * i + 1];
            text[i] = static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a);
        }
    };
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        markedUtf16 = true;
        utf16(2, false);
        return true;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        utf16(2, true);
        return true;
    }
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string_view body = raw.substr(0, 3) == "\xEF\xBB\xBF" ? raw.substr(3) : raw;
    text = FromUtf8(body);
    // Valid UTF-8: no replacement character but those the bytes spell, and no NUL.
    const bool valid =
        text.find(u'\uFFFD') == std::u16string::npos || body.find("\xEF\xBF\xBD") != body.npos;
    if (valid && text.find(u'\0') == std::u16string::npos) {
        return true;
    }
    // UTF-16LE without a mark: its line feeds are "\n\0".
    if (bytes.size() % 2 == 0 && raw.find(std::string_view("\n\0", 2)) != std::string_view::npos) {
        utf16(0, false);
        return true;
    }
    return false;
}

void ReadScel(std::span<const std::uint8_t> bytes, ForeignWordList& list) {
    list.format = WordListFormat::Scel;
    const ByteReader reader(bytes);
    std::u16string name;
    for (std::size_t at = kScelName; at + 1 < kScelNameEnd; at += 2) {
        const auto unit = reader.Get<std::uint16_t>(at);
        if (!unit || *unit == 0) {
            break;
        }
        name += static_cast<char16_t>(*unit);
    }
    list.scelName = ToUtf8(name);
    std::size_t at = kScelWords;
    if (!RangeFits(at, 0, bytes.size())) {
        list.error = "the cell dictionary ends before its words";
        return;
    }
    while (at < bytes.size()) {
        // The deleted words' table, where there is one, ends the words.
        if (RangeFits(at, kScelDeleted.size() * 2, bytes.size()) &&
            std::memcmp(bytes.data() + at, kScelDeleted.data(), kScelDeleted.size() * 2) == 0) {
            break;
        }
        const auto same = reader.Get<std::uint16_t>(at);
        const auto pinyinBytes = reader.Get<std::uint16_t>(at + 2);
        if (!same || !pinyinBytes || !RangeFits(at + 4, *pinyinBytes, bytes.size())) {
            list.error = "the cell dictionary's words are cut short";
            return;
        }
        at += 4 + *pinyinBytes;
        for (std::uint16_t i = 0; i < *same; ++i) {
            const auto wordBytes = reader.Get<std::uint16_t>(at);
            if (!wordBytes || !RangeFits(at + 2, *wordBytes, bytes.size())) {
                list.error = "the cell dictionary's words are cut short";
                return;
            }
            std::u16string word(*wordBytes / 2, u'\0');
            std::memcpy(word.data(), bytes.data() + at + 2, word.size() * 2);
            at += 2 + *wordBytes;
            const auto extraBytes = reader.Get<std::uint16_t>(at);
            if (!extraBytes || !RangeFits(at + 2, *extraBytes, bytes.size())) {
                list.error = "the cell dictionary's words are cut short";
                return;
            }
            at += 2 + *extraBytes;
            if (word.empty()) {
                ++list.linesWithoutWord;
            } else {
                list.words.push_back(std::move(word));
            }
        }
        if (*same == 0 && *pinyinBytes == 0) {
            break; // padding at the end
        }
    }
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    for (std::u16string_view rest = text; !rest.empty();) {
        const std::size_t end = rest.find(u'\n');
        lines.push_back(Trim(rest.substr(0, end)));
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    }
    return lines;
}

// The first lines of `bytes`, up to the end of the last whole line within
// `limit` bytes (a UTF-16 line feed with its zero byte).
std::span<const std::uint8_t> LeadingLines(std::span<const std::uint8_t> bytes, std::size_t limit) {
    if (bytes.size() <= limit) {
        return bytes;
    }
    std::size_t end = limit;
    while (end > 0 && bytes[end - 1] != '\n') {
        --end;
    }
    if (end == 0) {
        return bytes.first(limit);
    }
    return bytes.first(bytes[end] == 0 ? end + 1 : end);
}

// The format the first lines with a word show.
WordListFormat Recognise(const std::vector<std::u16string_view>& lines, bool markedUtf16) {
    bool ours = markedUtf16;
    bool sawLine = false;
    WordListFormat shape = WordListFormat::PlainWords;
    std::size_t looked = 0;
    for (const std::u16string_view line : lines) {
        if (line.substr(0, 22) == u"# Rime user dictionary") {
            return WordListFormat::RimeUserDb;
        }
        if (line.empty() || line.front() == u'#') {
            continue;
        }
        if (++looked > 200) {
            break;
        }
        const std::vector<std::u16string_view> fields = Fields(line);
        const std::size_t tab = line.find(u'\t');
        if (fields.size() >= 3 && fields[2].substr(0, 2) == u"c=") {
            return WordListFormat::RimeUserDb;
        }
        // Ours: "code TAB word" or a word alone, nothing more.
        const bool oursLine =
            fields.size() == 1 || (fields.size() == 2 && tab != std::u16string_view::npos &&
                                   IsCodeOfOurs(fields[0]) && HasNonAscii(fields[1]));
        ours = ours && oursLine;
        if (!sawLine) {
            sawLine = true;
            if (fields.size() >= 3 && tab != std::u16string_view::npos && HasNonAscii(fields[0]) &&
                IsNumber(fields.back())) {
                shape = WordListFormat::RimeExport;
            } else if (fields.size() >= 2 && HasNonAscii(fields[0])) {
                shape = WordListFormat::WordFirst;
            } else if (fields.size() >= 2) {
                shape = WordListFormat::PinyinFirst;
            }
        }
    }
    return ours && sawLine ? WordListFormat::Ours : shape;
}

} // namespace

namespace {

struct FormatNames {
    WordListFormat format;
    std::string_view key;     // on the command line
    std::u16string_view name; // as the user dictionary tool shows it
};

constexpr FormatNames kFormatNames[] = {
    {WordListFormat::Ours, "tide", u"潮汐用户词条"},
    {WordListFormat::Scel, "scel", u"搜狗细胞词库"},
    {WordListFormat::PinyinFirst, "pinyin-first", u"拼音词表"},
    {WordListFormat::WordFirst, "word-first", u"拼音词表"},
    {WordListFormat::RimeExport, "rime-export", u"Rime 用户词典"},
    {WordListFormat::RimeUserDb, "rime-userdb", u"Rime 用户词典"},
    {WordListFormat::PlainWords, "words", u"纯词表"},
};

const FormatNames& NamesOf(WordListFormat format) {
    for (const FormatNames& names : kFormatNames) {
        if (names.format == format) {
            return names;
        }
    }
    return kFormatNames[std::size(kFormatNames) - 1];
}

} // namespace

std::u16string_view WordListFormatName(WordListFormat format) {
    return NamesOf(format).name;
}

std::string_view WordListFormatKey(WordListFormat format) {
    return NamesOf(format).key;
}

bool LooksLikeScel(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof(kScelMagic) &&
           std::memcmp(bytes.data(), kScelMagic, sizeof(kScelMagic)) == 0;
}

std::optional<WordListFormat> RecogniseWordList(std::span<const std::uint8_t> bytes) {
    if (LooksLikeScel(bytes)) {
        return WordListFormat::Scel;
    }
    // The first lines tell: a large file is not decoded whole for that.
    std::u16string text;
    bool markedUtf16 = false;
    if (!DecodeText(LeadingLines(bytes, std::size_t{64} << 10), text, markedUtf16)) {
        return std::nullopt;
    }
    return Recognise(SplitLines(text), markedUtf16);
}

ForeignWordList ReadForeignWordList(std::span<const std::uint8_t> bytes) {
    ForeignWordList list;
    if (LooksLikeScel(bytes)) {
        ReadScel(bytes, list);
        return list;
    }
    std::u16string text;
    bool markedUtf16 = false;
    const std::optional<WordListFormat> format = RecogniseWordList(bytes);
    if (!format || !DecodeText(bytes, text, markedUtf16)) {
        list.error = "neither a cell dictionary nor UTF-8 or UTF-16 text";
        return list;
    }
    list.format = *format;
    const std::vector<std::u16string_view> lines = SplitLines(text);
    for (const std::u16string_view line : lines) {
        if (line.empty() || (line.front() == u'#' && list.format != WordListFormat::Ours)) {
            continue;
        }
        const std::vector<std::u16string_view> fields = Fields(line);
        if (list.format == WordListFormat::Ours) {
            list.codes.emplace_back(fields.size() == 2 ? fields[0] : std::u16string_view());
            list.words.emplace_back(fields.back());
            continue;
        }
        // The word is the first field that is not plain ASCII (pinyin, a
        // code, a weight or "c=…" are).
        const auto word = std::find_if(fields.begin(), fields.end(), HasNonAscii);
        if (word == fields.end()) {
            ++list.linesWithoutWord;
        } else {
            list.words.emplace_back(*word);
        }
    }
    return list;
}

} // namespace tide
