// A table maker's check-up: stats and lookup (反查).
//
// stats [--from F] FILE [--json | --list empty] measures a code table (of
// format F, any format convert reads) or, without --from, a word library or
// a code table of this program's own (compiled in memory first). The text is
// for a person; --json prints one object with these keys (a count keyed by
// a number has the number as text):
//   codeLength        the full code length
//   entries           every entry (a library's user entries too)
//   characters        entries of one character with a library code slot, as compile counts them
//   phrases           the other entries
//   codes             distinct codes
//   userEntries       of a library: user entries and those carried over (in entries too)
//   lengths           {"characters": {"1": n, …}, "phrases": {…}}: entries by code
//                     length, every length from 1 to 12 or the longest code
//   candidates        {"1": n, …, "9": n, "10+": n}: codes by their number of entries
//   firstLetters      {"a": n, …, "z": n}: codes by their first letter
//   staticDuplicateRate  {"characters": {"count", "of", "rate"}, "entries": {…}}:
//                     characters with a full code (one of the code length) that another
//                     character has as a full code too, of the characters with a full
//                     code (静态重码率); entries whose code has another entry, of all
//   selectionRate     {"weights": "table" or "none", "rate": share or null}: the weight
//                     of the entries not first under their code, of all weight (选重率);
//                     only where the table's weights order its candidates
//   emptyCodes        {"1": n, "2": n, "3": n}: codes of 1 to 3 letters a-z no entry has
//   characterCodes    {"shortOnly": n, "fullOnly": n, "fullAndShort": n}: characters by
//                     their codes, a short code being shorter than the code length
//   coverage          {"gb2312", "cjkBasic", "extA", "extBPlus", "compatibility",
//                     "privateUse"}: each {"present": n, "missing": n}, characters with
//                     and without an entry of their own
//   duplicates        entries repeating a code and word listed before
//   ruleMismatches    phrases whose code is not the one the rules give (null without rules)
//   underivedPhrases  of those, the ones the rules give no code (null without rules)
//   uncodedCharacters characters phrases use that have no entry of their own
//
// report [--from F] FILE OUT.html writes the same figures as one HTML page
// with charts, whole in itself (inline SVG, nothing fetched).
//
// lookup LIB WORD… prints, for each word, a line "word TAB code TAB place"
// for each of its entries (place 1 is the first candidate); for a word the
// library lacks, "word TAB code TAB 规则" with the code its rules give, or
// "word TAB TAB 无编码" when they give none.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "FileIo.h"
#include "core/base/Utf.h"
#include "core/base/Utf16.h"
#include "core/convert/TableConversion.h"
#include "core/dict/CodeTableText.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "core/stats/StatisticsReport.h"
#include "core/stats/TableStatistics.h"
#include "core/stats/WordLookup.h"

namespace tide::tool {

namespace {

using std::filesystem::path;

// The coverage sets by their JSON key and their label.
struct CoverageName {
    CoverageSet set;
    std::string_view key;
    std::string_view label;
};
constexpr CoverageName kCoverageNames[] = {
    {CoverageSet::Gb2312, "gb2312", "GB2312"},
    {CoverageSet::CjkBasic, "cjkBasic", "基本区"},
    {CoverageSet::ExtA, "extA", "扩展A"},
    {CoverageSet::ExtBPlus, "extBPlus", "扩展B及以后"},
    {CoverageSet::Compatibility, "compatibility", "兼容汉字"},
    {CoverageSet::PrivateUse, "privateUse", "私用区部件"},
};
static_assert(std::size(kCoverageNames) == kCoverageSetCount);

// A word library's bytes, kept with the view on them.
struct OpenedLibrary {
    std::optional<MappedInput> file;
    std::vector<std::uint8_t> compiled; // of a code table
    std::optional<LibraryView> view;
};

// FILE as a word library: a library, or a code table of this program's
// (a byte-order mark begins it) compiled in memory. False, with the reason
// printed, when it is neither or cannot be read.
bool OpenLibraryOrTable(const path& file, OpenedLibrary& opened) {
    ReadError readError = ReadError::None;
    auto input = MappedInput::Open(file, &readError);
    if (!input) {
        ReadFailure(readError, file);
        return false;
    }
    opened.file.emplace(std::move(*input));
    const std::string_view bytes = opened.file->Bytes();
    if (bytes.starts_with("\xFF\xFE")) {
        CompileResult result = CompileCodeTableText(opened.file->Units(), opened.file->size());
        if (!result.ok) {
            Fail(result.message.empty() ? "cannot compile " + PathText(file)
                                        : Utf8(result.message) + " " + PathText(file));
            return false;
        }
        opened.compiled = std::move(result.library);
        opened.view = LibraryView::Open(opened.compiled);
        return true;
    }
    LibraryOpenError error = LibraryOpenError::None;
    opened.view = LibraryView::Open(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), &error);
    if (!opened.view || !opened.view->Verify()) {
        Fail((error == LibraryOpenError::NotALibrary
                  ? "neither a word library nor a code table (UTF-16 with a byte-order mark): "
                  : "damaged word library: ") +
             PathText(file));
        return false;
    }
    return true;
}

// ---- text for a person ----

// Columns a text takes on a console: two for a CJK character.
std::size_t DisplayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        // U+2E80 and above (CJK, full-width forms) begins with 0xE2 0xBA or higher.
        const bool wide = byte > 0xE2 || (byte == 0xE2 && i + 1 < text.size() &&
                                          static_cast<unsigned char>(text[i + 1]) >= 0xBA);
        width += wide ? 2 : 1;
    }
    return width;
}

std::string PadRight(std::string text, std::size_t width) {
    text.append(width - std::min(width, DisplayWidth(text)), ' ');
    return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return std::string(width - std::min(width, DisplayWidth(text)), ' ') + text;
}

std::string Percent(double share) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f%%", share * 100);
    return text;
}

std::string ShareText(const Share& share) {
    return Percent(share.Rate()) + "（" + std::to_string(share.count) + "/" +
           std::to_string(share.of) + "）";
}

// A character as shown in a list: one that shows nothing (controls, spaces,
// joiners, variation selectors, combining marks for symbols) by its number.
std::string CharacterText(char32_t c) {
    const bool invisible = c <= 0x20 || (c >= 0x7F && c <= 0xA0) || (c >= 0x2000 && c <= 0x200F) ||
                           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) ||
                           (c >= 0x20D0 && c <= 0x20FF) || c == 0x3000 ||
                           (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || c >= 0xE0000;
    if (invisible) {
        char text[16];
        std::snprintf(text, sizeof(text), "U+%04X", static_cast<unsigned>(c));
        return text;
    }
    const std::u16string units = c > 0xFFFF ? std::u16string{HighSurrogateOf(c), LowSurrogateOf(c)}
                                            : std::u16string(1, static_cast<char16_t>(c));
    return CleanUtf8(Utf8(units));
}

constexpr std::size_t kLabelWidth = 22;
constexpr std::size_t kNumberWidth = 8;

std::string Row(std::string_view label, const std::string& value) {
    return PadRight(std::string(label), kLabelWidth) + value;
}

std::string StatisticsText(const TableStatistics& s) {
    std::vector<std::string> lines;
    lines.push_back(Row("词条", std::to_string(s.entries)));
    lines.push_back(Row("  单字", std::to_string(s.characters)));
    lines.push_back(Row("  词组", std::to_string(s.phrases)));
    if (s.userEntries != 0) {
        lines.push_back(Row("  其中用户词条", std::to_string(s.userEntries)));
    }
    lines.push_back(
        Row("编码", std::to_string(s.codes) + " 个不同编码，码长 " + std::to_string(s.codeLength)));

    const std::size_t longest = LongestShownLength(s);
    std::string header = PadRight("码长分布", kLabelWidth);
    std::string characters = PadRight("  单字", kLabelWidth);
    std::string phrases = PadRight("  词组", kLabelWidth);
    for (std::size_t n = 1; n <= longest; ++n) {
        header += PadLeft(std::to_string(n), kNumberWidth);
        characters += PadLeft(std::to_string(s.characterLengths[n]), kNumberWidth);
        phrases += PadLeft(std::to_string(s.phraseLengths[n]), kNumberWidth);
    }
    lines.insert(lines.end(), {"", header, characters, phrases, "", "重码（编码的候选数）"});
    for (std::size_t n = 1; n <= kManyCandidates; ++n) {
        const std::string label =
            "  " + std::to_string(n) + (n == kManyCandidates ? " 及以上" : "");
        lines.push_back(
            Row(label, PadLeft(std::to_string(s.candidates[n]), kNumberWidth) + " 个编码"));
    }
    lines.push_back(Row("静态重码率", ShareText(s.sharedFullCodes) + " 单字全码"));
    lines.push_back(Row("词条重码率", ShareText(s.sharedCodes) + " 全部词条"));
    lines.push_back(Row("选重率", s.weighted
                                      ? Percent(s.laterWeight / s.totalWeight) + "（按码表的权重）"
                                      : std::string("—（码表无权重）")));
    lines.push_back("");
    constexpr std::string_view kLengthNames[] = {"一码", "二码", "三码"};
    constexpr std::size_t kPossible[] = {26, 26 * 26, 26 * 26 * 26};
    std::string empty;
    for (std::size_t i = 0; i < 3; ++i) {
        empty += std::string(i == 0 ? "" : "   ") + std::string(kLengthNames[i]) + " " +
                 std::to_string(s.emptyCodes[i].size()) + "/" + std::to_string(kPossible[i]);
    }
    lines.push_back(Row("空码", empty));
    lines.push_back(Row("单字编码", "仅简码 " + std::to_string(s.shortCodeOnly) + "   仅全码 " +
                                        std::to_string(s.fullCodeOnly) + "   全码与简码 " +
                                        std::to_string(s.fullAndShortCodes)));
    lines.push_back("");
    lines.push_back(PadRight("字集", kLabelWidth) + PadLeft("收录", kNumberWidth) +
                    PadLeft("缺少", kNumberWidth));
    for (const CoverageName& name : kCoverageNames) {
        const Coverage& coverage = s.coverage[static_cast<std::size_t>(name.set)];
        lines.push_back(PadRight("  " + std::string(name.label), kLabelWidth) +
                        PadLeft(std::to_string(coverage.present), kNumberWidth) +
                        PadLeft(std::to_string(coverage.missing), kNumberWidth));
    }

    lines.insert(lines.end(), {"", "损伤"});
    lines.push_back(Row("  同码同词重复", std::to_string(s.duplicates)));
    for (const DuplicateEntry& duplicate : s.duplicateExamples) {
        lines.push_back("    " + CleanUtf8(duplicate.code) + "  " + CleanUtf8(duplicate.word) +
                        "  多 " + std::to_string(duplicate.copies) + " 次");
    }
    if (!s.hasRules) {
        lines.push_back(Row("  词组编码与规则", "—（码表无构词规则）"));
    } else {
        lines.push_back(Row("  词组编码与规则不符", std::to_string(s.ruleMismatches) +
                                                        "（其中规则给不出编码 " +
                                                        std::to_string(s.underived) + "）"));
        for (const RuleMismatch& mismatch : s.mismatchExamples) {
            lines.push_back("    " + CleanUtf8(mismatch.word) + "  " + CleanUtf8(mismatch.listed) +
                            "  规则：" +
                            (mismatch.derived.empty() ? "无" : CleanUtf8(mismatch.derived)));
        }
    }
    std::string uncoded = std::to_string(s.uncodedCharacters);
    for (std::size_t i = 0; i < s.uncodedExamples.size(); ++i) {
        uncoded += (i == 0 ? "：" : " ") + CharacterText(s.uncodedExamples[i]);
    }
    if (s.uncodedExamples.size() < s.uncodedCharacters) {
        uncoded += " …";
    }
    lines.push_back(Row("  词组用到的无码字", uncoded));

    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

// The empty codes of each length, as many a line as fill 80 columns.
std::string EmptyCodesText(const TableStatistics& s) {
    std::string text = "\n空码一览\n";
    constexpr std::string_view kLengthNames[] = {"一码", "二码", "三码"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::vector<std::string>& codes = s.emptyCodes[i];
        text += "  " + std::string(kLengthNames[i]) + "（" + std::to_string(codes.size()) + "）\n";
        const std::size_t perLine = 76 / (i + 2);
        for (std::size_t k = 0; k < codes.size(); ++k) {
            text += (k % perLine == 0 ? "    " : " ") + codes[k];
            if (k % perLine == perLine - 1 || k + 1 == codes.size()) {
                text += '\n';
            }
        }
    }
    return text;
}

// ---- JSON ----

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : CleanUtf8(text)) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string JsonNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.17g", value);
    return text;
}

// {"1": n, …} of counts[first…last].
std::string JsonCounts(std::span<const std::size_t> counts, std::size_t first) {
    std::string json = "{";
    for (std::size_t n = first; n < counts.size(); ++n) {
        json +=
            (n == first ? "\"" : ", \"") + std::to_string(n) + "\": " + std::to_string(counts[n]);
    }
    return json + "}";
}

std::string JsonShare(const Share& share) {
    return "{\"count\": " + std::to_string(share.count) + ", \"of\": " + std::to_string(share.of) +
           ", \"rate\": " + JsonNumber(share.Rate()) + "}";
}

std::string StatisticsJson(const TableStatistics& s) {
    const std::size_t longest = std::max<std::size_t>(LongestShownLength(s), 12);
    std::vector<std::size_t> characterLengths = s.characterLengths;
    std::vector<std::size_t> phraseLengths = s.phraseLengths;
    characterLengths.resize(longest + 1);
    phraseLengths.resize(longest + 1);
    std::string candidates = JsonCounts(std::span(s.candidates).first(kManyCandidates), 1);
    candidates.insert(candidates.size() - 1,
                      ", \"10+\": " + std::to_string(s.candidates[kManyCandidates]));
    std::string firstLetters;
    for (std::size_t letter = 0; letter < s.firstLetters.size(); ++letter) {
        firstLetters += std::string(letter == 0 ? "{\"" : ", \"") +
                        static_cast<char>('a' + letter) +
                        "\": " + std::to_string(s.firstLetters[letter]);
    }
    std::string coverage;
    for (const CoverageName& name : kCoverageNames) {
        const Coverage& c = s.coverage[static_cast<std::size_t>(name.set)];
        coverage += std::string(coverage.empty() ? "{" : ", ") + JsonString(name.key) +
                    ": {\"present\": " + std::to_string(c.present) +
                    ", \"missing\": " + std::to_string(c.missing) + "}";
    }
    const auto number = [](std::size_t n) { return std::to_string(n); };
    const std::string rulesOrNull = s.hasRules ? number(s.ruleMismatches) : "null";
    const std::pair<std::string_view, std::string> fields[] = {
        {"codeLength", number(s.codeLength)},
        {"entries", number(s.entries)},
        {"characters", number(s.characters)},
        {"phrases", number(s.phrases)},
        {"codes", number(s.codes)},
        {"userEntries", number(s.userEntries)},
        {"lengths", "{\"characters\": " + JsonCounts(characterLengths, 1) +
                        ", \"phrases\": " + JsonCounts(phraseLengths, 1) + "}"},
        {"candidates", candidates},
        {"firstLetters", firstLetters + "}"},
        {"staticDuplicateRate", "{\"characters\": " + JsonShare(s.sharedFullCodes) +
                                    ", \"entries\": " + JsonShare(s.sharedCodes) + "}"},
        {"selectionRate", s.weighted ? "{\"weights\": \"table\", \"rate\": " +
                                           JsonNumber(s.laterWeight / s.totalWeight) + "}"
                                     : std::string("{\"weights\": \"none\", \"rate\": null}")},
        {"emptyCodes", "{\"1\": " + number(s.emptyCodes[0].size()) +
                           ", \"2\": " + number(s.emptyCodes[1].size()) +
                           ", \"3\": " + number(s.emptyCodes[2].size()) + "}"},
        {"characterCodes", "{\"shortOnly\": " + number(s.shortCodeOnly) +
                               ", \"fullOnly\": " + number(s.fullCodeOnly) +
                               ", \"fullAndShort\": " + number(s.fullAndShortCodes) + "}"},
        {"coverage", coverage + "}"},
        {"duplicates", number(s.duplicates)},
        {"ruleMismatches", rulesOrNull},
        {"underivedPhrases", s.hasRules ? number(s.underived) : "null"},
        {"uncodedCharacters", number(s.uncodedCharacters)},
    };
    std::string json = "{";
    for (const auto& [key, value] : fields) {
        json += (json.size() == 1 ? "\n  " : ",\n  ") + JsonString(key) + ": " + value;
    }
    return json + "\n}\n";
}

enum class StatsOutput { Text, Json, TextWithEmptyCodes };

// The output asked for by the arguments after the file; nothing for others.
std::optional<StatsOutput> OutputOf(Arguments options) {
    if (options.empty()) {
        return StatsOutput::Text;
    }
    if (options.size() == 1 && PathText(options[0]) == "--json") {
        return StatsOutput::Json;
    }
    if (options.size() == 2 && PathText(options[0]) == "--list" &&
        PathText(options[1]) == "empty") {
        return StatsOutput::TextWithEmptyCodes;
    }
    return std::nullopt;
}

int PrintStatistics(const TableStatistics& stats, StatsOutput output) {
    if (output == StatsOutput::Json) {
        Print(stdout, StatisticsJson(stats));
        return 0;
    }
    Print(stdout, StatisticsText(stats));
    if (output == StatsOutput::TextWithEmptyCodes) {
        Print(stdout, EmptyCodesText(stats));
    }
    return 0;
}

// FILE measured as a word library or a code table of our own; nothing, with
// the reason printed, when it cannot be.
std::optional<TableStatistics> MeasureLibraryFile(const path& file) {
    OpenedLibrary library;
    if (!OpenLibraryOrTable(file, library)) {
        return std::nullopt;
    }
    auto stats = MeasureLibrary(*library.view);
    if (!stats) {
        Fail("damaged word library: " + PathText(file));
    }
    return stats;
}

// FILE measured as a code table in the format named `formatName`.
std::optional<TableStatistics> MeasureTableFile(const path& formatName, const path& file) {
    const auto format = TableFormatNamed(PathText(formatName));
    if (!format) {
        Fail("formats are tide, rime, fcitx and ibus");
        return std::nullopt;
    }
    if (*format == TableFormat::Tide) {
        return MeasureLibraryFile(file);
    }
    ReadError readError = ReadError::None;
    const auto input = MappedInput::Open(file, &readError);
    if (!input) {
        ReadFailure(readError, file);
        return std::nullopt;
    }
    ConversionOptions options;
    options.readImport = [&file](std::string_view name) {
        return ReadImportedTable(file, {}, name);
    };
    std::deque<std::string> texts;
    std::vector<std::string> perFile;
    const LoadedTable table =
        ReadTable(*format, input->Bytes(), TableStem(file), options, texts, perFile);
    if (!table.error.empty()) {
        Fail(CleanUtf8(table.error) + ": " + PathText(file));
        return std::nullopt;
    }
    return MeasureTable(table);
}

// The HTML report of `stats` for the table `source`, written to `target`.
int WriteReport(const std::optional<TableStatistics>& stats, const path& source,
                const path& target) {
    if (!stats) {
        return 1;
    }
    if (!Distinct(source, target)) {
        return 1;
    }
    const std::string html = StatisticsReportHtml(*stats, CleanUtf8(PathText(source.filename())));
    return WriteBytes(target, {reinterpret_cast<const std::uint8_t*>(html.data()), html.size()})
               ? 0
               : 1;
}

} // namespace

int Stats(Arguments arguments) {
    const auto output = OutputOf(arguments.subspan(1));
    if (!output) {
        return kUsageError;
    }
    const auto stats = MeasureLibraryFile(arguments[0]);
    return stats ? PrintStatistics(*stats, *output) : 1;
}

int StatsFrom(Arguments arguments) {
    const auto output = OutputOf(arguments.subspan(2));
    if (!output) {
        return kUsageError;
    }
    const auto stats = MeasureTableFile(arguments[0], arguments[1]);
    return stats ? PrintStatistics(*stats, *output) : 1;
}

int Report(Arguments arguments) {
    return WriteReport(MeasureLibraryFile(arguments[0]), arguments[0], arguments[1]);
}

int ReportFrom(Arguments arguments) {
    return WriteReport(MeasureTableFile(arguments[0], arguments[1]), arguments[1], arguments[2]);
}

int Lookup(Arguments arguments) {
    std::vector<std::u16string> words;
    for (const path& argument : arguments.subspan(1)) {
        auto word = ArgumentText(argument);
        if (!word) {
            return Fail("not valid Unicode text: " + PathText(argument));
        }
        words.push_back(std::move(*word));
    }
    OpenedLibrary library;
    if (!OpenLibraryOrTable(arguments[0], library)) {
        return 1;
    }
    const auto found = LookUpWords(*library.view, words);
    if (!found) {
        return Fail("damaged word library: " + PathText(arguments[0]));
    }
    std::string out;
    for (const WordLookup& lookup : *found) {
        const std::string word = Utf8(lookup.word);
        for (const CodePlace& place : lookup.codes) {
            out += word + "\t" + CleanUtf8(Utf8(place.code)) + "\t" +
                   std::to_string(place.position) + "\n";
        }
        if (lookup.codes.empty()) {
            out += word + "\t" + Utf8(lookup.ruleCode) +
                   (lookup.ruleCode.empty() ? "\t无编码\n" : "\t规则\n");
        }
    }
    Print(stdout, out);
    return 0;
}

} // namespace tide::tool
