#include "core/dict/ForeignWordList.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>

#include "core/base/ByteIo.h"
#include "core/base/Gb18030.h"
#include "core/base/Utf.h"

namespace tide {
namespace {

// A cell dictionary: its magic, where its name is (UTF-16, up to the next
// field) and where its pinyin table is. The groups of words follow the
// table (which ends at 0x2628 in the files in use).
constexpr std::uint8_t kScelMagic[] = {0x40, 0x15, 0x00, 0x00, 0x44, 0x43, 0x53, 0x01};
constexpr std::size_t kScelName = 0x130;
constexpr std::size_t kScelNameEnd = 0x338;
constexpr std::size_t kScelPinyin = 0x1540;
// Some cell dictionaries end with a table of deleted words after this mark.
constexpr std::u16string_view kScelDeleted = u"DELTBL";

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

bool HasNonAscii(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x80; });
}

// "你好(ni|hao)": some exports write a word with its pinyin in brackets
// after it; the bracketed ASCII is no part of the word.
std::u16string_view WithoutBracketedPinyin(std::u16string_view field) {
    const std::size_t open = field.rfind(u'(');
    if (open == std::u16string_view::npos || open == 0 || field.back() != u')' ||
        HasNonAscii(field.substr(open))) {
        return field;
    }
    return field.substr(0, open);
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

// A line of our own "code TAB word [TAB weight]" form.
bool IsOursWithCode(std::u16string_view line) {
    const std::size_t tab = line.find(u'\t');
    const std::u16string_view rest = line.substr(tab + 1);
    const std::size_t secondTab = rest.find(u'\t');
    const std::u16string_view word = Trim(rest.substr(0, secondTab));
    return IsCodeOfOurs(Trim(line.substr(0, tab))) && HasNonAscii(word) &&
           Fields(word).size() == 1 &&
           (secondTab == std::u16string_view::npos || IsNumber(Trim(rest.substr(secondTab + 1))));
}

// The bytes as UTF-16 text: with a byte-order mark, UTF-8 (valid, with or
// without its mark), UTF-16LE without a mark when its line ends say so, or
// else GB18030 when every sequence is valid in it.
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
    return DecodeGb18030(raw, text) && text.find(u'\0') == std::u16string::npos;
}

// The pinyin table at `at`: a count, then each syllable's index, its length
// in bytes and its UTF-16 text. The syllables' count, with `at` moved past
// the table; nothing for a table that is empty or cut short.
std::optional<std::uint32_t> SkipScelPinyin(const ByteReader& reader, std::size_t& at) {
    const auto count = reader.U32(at);
    if (!count || *count == 0) {
        return std::nullopt;
    }
    at += 4;
    // Each syllable takes four bytes at least: the file's size bounds the loop.
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto length = reader.U16(at + 2);
        if (!length || !RangeFits(at + 4, *length, reader.size())) {
            return std::nullopt;
        }
        at += 4 + *length;
    }
    return count;
}

// A group: its count of words, the byte length of its pinyin indexes, the
// indexes, then each word (byte length, UTF-16 text) with its extension
// (byte length, bytes: the frequency first).
void ReadScel(std::span<const std::uint8_t> bytes, ForeignWordList& list) {
    list.format = WordListFormat::Scel;
    // Every unit of a word comes from two bytes of the file: room for all of
    // them at once, not filled beforehand (pages no word reaches need not be
    // touched), and never moved while views into it are taken.
    const std::shared_ptr<char16_t[]> text(new char16_t[bytes.size() / 2]);
    list.text = text;
    std::size_t written = 0;
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
    std::size_t at = kScelPinyin;
    if (!RangeFits(at, 4, bytes.size())) {
        list.error = "the cell dictionary ends before its words";
        return;
    }
    const std::optional<std::uint32_t> syllables = SkipScelPinyin(reader, at);
    if (!syllables) {
        list.error = "the cell dictionary's pinyin table is damaged";
        return;
    }
    const auto damaged = [&](const char* what) {
        list.error = std::string("the cell dictionary's words are ") + what;
    };
    // A word takes 18 bytes or more in the files in use (two characters and
    // the usual extension): room for them all at once, not grown by copying.
    list.words.reserve((bytes.size() - at) / 18);
    // Each length is read once its two bytes are known to be there; what it
    // counts is checked before it is read.
    const std::uint8_t* const data = bytes.data();
    const std::size_t size = bytes.size();
    while (at < size) {
        // The deleted words' table, where there is one, ends the words.
        if (RangeFits(at, kScelDeleted.size() * 2, size) &&
            std::memcmp(data + at, kScelDeleted.data(), kScelDeleted.size() * 2) == 0) {
            break;
        }
        if (!RangeFits(at, 4, size)) {
            // A few zero bytes at the end are padding.
            if (std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(),
                            [](std::uint8_t b) { return b == 0; })) {
                break;
            }
            return damaged("cut short");
        }
        const std::uint16_t same = LoadU16(data + at);
        const std::uint16_t pinyinBytes = LoadU16(data + at + 2);
        if (!RangeFits(at + 4, pinyinBytes, size)) {
            return damaged("cut short");
        }
        // Every word has its pinyin, each syllable one of the table's: a
        // group read from the wrong place rarely passes that.
        if (pinyinBytes % 2 != 0 || (pinyinBytes == 0 && same != 0)) {
            return damaged("damaged");
        }
        for (std::size_t index = at + 4; index < at + 4 + pinyinBytes; index += 2) {
            if (LoadU16(data + index) >= *syllables) {
                return damaged("damaged");
            }
        }
        at += 4 + pinyinBytes;
        for (std::uint16_t i = 0; i < same; ++i) {
            if (!RangeFits(at, 2, size)) {
                return damaged("cut short");
            }
            const std::uint16_t wordBytes = LoadU16(data + at);
            if (!RangeFits(at + 2, wordBytes, size)) {
                return damaged("cut short");
            }
            if (wordBytes % 2 != 0) {
                return damaged("damaged");
            }
            // A word ends at a NUL, as other readers take it.
            const std::uint8_t* const units = data + at + 2;
            const std::size_t start = written;
            for (std::size_t k = 0; k < wordBytes / 2u; ++k) {
                const char16_t unit = LoadU16(units + 2 * k);
                if (unit == u'\0') {
                    break;
                }
                text[written++] = unit;
            }
            at += 2 + wordBytes;
            if (!RangeFits(at, 2, size)) {
                return damaged("cut short");
            }
            const std::uint16_t extraBytes = LoadU16(data + at);
            if (!RangeFits(at + 2, extraBytes, size)) {
                return damaged("cut short");
            }
            at += 2 + extraBytes;
            if (written == start) {
                ++list.linesWithoutWord;
            } else {
                list.words.emplace_back(text.get() + start, written - start);
            }
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

// The format the first lines with a word show. Lines all in our own form are
// ours when the text is UTF-16 with its mark; without the mark they are ours
// still when one holds a code, so that such a file meets the refusal our own
// form has always had rather than being taken as a pinyin list.
WordListFormat Recognise(const std::vector<std::u16string_view>& lines, bool markedUtf16) {
    bool ours = true;
    bool sawCode = false;
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
        // Ours: "code TAB word", perhaps with "TAB weight", or a word alone.
        const bool withCode = tab != std::u16string_view::npos && IsOursWithCode(line);
        ours = ours && (fields.size() == 1 || withCode);
        sawCode = sawCode || withCode;
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
    return ours && sawLine && (markedUtf16 || sawCode) ? WordListFormat::Ours : shape;
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
    const auto decoded = std::make_shared<std::u16string>();
    std::u16string& text = *decoded;
    list.text = decoded;
    bool markedUtf16 = false;
    const std::optional<WordListFormat> format = RecogniseWordList(bytes);
    if (!format || !DecodeText(bytes, text, markedUtf16)) {
        list.error = "neither a cell dictionary nor UTF-8, UTF-16 or GB18030 text";
        return list;
    }
    list.format = *format;
    const std::vector<std::u16string_view> lines = SplitLines(text);
    list.words.reserve(lines.size());
    for (const std::u16string_view line : lines) {
        if (line.empty() || (line.front() == u'#' && list.format != WordListFormat::Ours)) {
            continue;
        }
        const std::vector<std::u16string_view> fields = Fields(line);
        if (list.format == WordListFormat::Ours) {
            const std::size_t tab = line.find(u'\t');
            const std::u16string_view rest =
                tab == std::u16string_view::npos ? line : line.substr(tab + 1);
            list.codes.emplace_back(tab == std::u16string_view::npos ? std::u16string_view()
                                                                     : Trim(line.substr(0, tab)));
            list.words.emplace_back(Trim(rest.substr(0, rest.find(u'\t'))));
            continue;
        }
        // The word is the first field that is not plain ASCII (pinyin, a
        // code, a weight or "c=…" are).
        const auto word = std::find_if(fields.begin(), fields.end(), HasNonAscii);
        if (word == fields.end()) {
            ++list.linesWithoutWord;
        } else {
            list.words.emplace_back(WithoutBracketedPinyin(*word));
        }
    }
    return list;
}

} // namespace tide
