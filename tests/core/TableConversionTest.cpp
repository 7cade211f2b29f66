#include "core/convert/TableConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "core/base/Utf.h"
#include "core/convert/FcitxTableFormat.h"
#include "core/convert/PhraseFormulas.h"
#include "core/convert/RimeDictFormat.h"
#include "core/convert/TextLines.h"
#include "core/convert/TideTableFormat.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"

namespace tide {
namespace {

// A table file's bytes from its UTF-8 text.
std::string TideBytes(std::string_view text) {
    const std::u16string units = u"\uFEFF" + FromUtf8(text);
    std::string bytes(units.size() * 2, '\0');
    std::memcpy(bytes.data(), units.data(), bytes.size());
    return bytes;
}

// The UTF-8 text of a table file's bytes, without the byte-order mark and
// the empty lines that pad it.
std::string TideText(const std::string& bytes) {
    std::u16string units((bytes.size() - 2) / 2, u'\0');
    std::memcpy(units.data(), bytes.data() + 2, units.size() * 2);
    std::string text = ToUtf8(units);
    while (text.size() >= 4 && text.ends_with("\r\n\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

// The text of a Rime dictionary converted to a table; empty when refused.
std::string RimeAsTideText(const std::string& dict) {
    const ConversionResult result =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, dict, "", "");
    EXPECT_EQ(result.error, "");
    return result.error.empty() ? TideText(result.output) : std::string();
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

constexpr std::string_view kRimeWubi =
    "# a comment before the header\n"
    "---\n"
    "name: wubi_test\n"
    "version: \"0.7\"  \n"
    "sort: by_weight\n"
    "columns:\n"
    "  - text\n"
    "  - code\n"
    "  - weight\n"
    "  - stem\n"
    "encoder:\n"
    "  exclude_patterns:\n"
    "    - '^z.*$'\n"
    "  rules:\n"
    "    - length_equal: 2\n"
    "      formula: \"AaAbBaBb\"\n"
    "    - length_equal: 3\n"
    "      formula: \"AaBaCaCb\"\n"
    "    - length_in_range: [4, 10]\n"
    "      formula: \"AaBaCaZa\"\n"
    "...\n"
    "\n"
    "工\ta\t10\taa\n"
    "#子\tb\t5\n"
    "式\taa\t3\n"
    "戈\taa\t7\n"
    "工\taaa\t1\n"
    "无码词\n"
    "\tab\t2\n"
    "# no comment\n"
    "#号\tab\t1\n";

TEST(RimeToTide, KeepsTheCandidateOrderAndTheRules) {
    const ConversionResult result =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, kRimeWubi, "in", "out");
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(TideText(result.output),
              "[CODETABLEHEADER]\r\nName=wubi_test\r\nVersion=0.7\r\nAuthor=\r\n"
              "CodeScheme=wubi_test\r\nCodeLength=4\r\nBWCodeLength=0\r\nSpecialPrefix=0\r\n"
              "WildChar=0\r\nPhraseRule=3\r\npa2=w11+w12+w21+w22\r\npa3=w11+w21+w31+w32\r\n"
              "pe4=w11+w21+w31+r11\r\n[CODETABLE]\r\n"
              "a\t工\r\naa\t戈\r\naa\t式\r\naaa\t工\r\nab\t#号\r\n");
    EXPECT_EQ(result.written, 5u);
    EXPECT_EQ(Join(result.summary),
              "converted 5 entries\n"
              "skipped 1 without a code\n"
              "skipped 1 without a word\n"
              "encoder/exclude_patterns: not carried over\n"
              "phrases of 11 or more characters, which the source's rules do not encode, take "
              "the rule for 4 to 10 characters\n"
              "CodeScheme=wubi_test (the name)\n"
              "CodeLength=4 (the longest code or rule)\n");

    // And it compiles as it stands, small as it is.
    const CompileResult compiled = CompileCodeTableText(
        {reinterpret_cast<const char16_t*>(result.output.data()), result.output.size() / 2},
        result.output.size());
    ASSERT_TRUE(compiled.ok) << ToUtf8(compiled.message);
    EXPECT_EQ(LibraryView::Open(compiled.library)->header().EntryCount, 5);
}

TEST(RimeToTide, OrdersByWeightEvenWhenACodeComesBack) {
    const std::string dict =
        "---\nname: t\nversion: \"1\"\n...\n"
        "乙\tb\t1\n甲\ta\t1\n丙\tb\t3\n丁\ta\t2\n戊\tb\t3\n";
    EXPECT_NE(RimeAsTideText(dict).find("a\t丁\r\na\t甲\r\nb\t丙\r\nb\t戊\r\nb\t乙\r\n"),
              std::string::npos)
        << "heaviest first, equal weights in file order";

    // Sections of one code length each in rising order, as Rime's own tables
    // are laid out: a code of the first section coming back is still seen.
    const std::string sections =
        "---\nname: t\nversion: \"1\"\n...\n"
        "甲\ta\t1\n乙\tb\t1\n丙\tab\t1\n丁\ta\t3\n";
    EXPECT_NE(RimeAsTideText(sections).find("a\t丁\r\na\t甲\r\nab\t丙\r\nb\t乙\r\n"),
              std::string::npos);

    const std::string original =
        "---\nname: t\nversion: \"1\"\nsort: original\n"
        "columns: [code, text]\n...\nb\t乙\na\t甲\nb\t丙\n";
    EXPECT_NE(RimeAsTideText(original).find("[CODETABLE]\r\nb\t乙\r\na\t甲\r\nb\t丙\r\n"),
              std::string::npos)
        << "sort: original keeps the file's order; columns put the code first";
}

TEST(RimeDict, RefusesWhatItCannotRead) {
    EXPECT_EQ(ReadRimeDict("---\nname: t\n工\ta\n").error, "no line \"...\" ends the YAML header");
    EXPECT_EQ(ReadRimeDict("---\ncolumns:\n  - code\n...\n").error, "the columns list no text");
    EXPECT_NE(ReadRimeDict("---\nencoder:\n  rules:\n    - formula: \"AaAb\"\n...\n").error, "");
    EXPECT_NE(ReadRimeDict("---\nencoder:\n  rules:\n    - length_equal: 2\n"
                           "      formula: \"Aa1\"\n...\n")
                  .error,
              "");
}

TEST(RimeFormula, CountsFromBothEnds) {
    const auto elements = ParseRimeFormula("AaBaCaZa");
    ASSERT_TRUE(elements);
    ASSERT_EQ(elements->size(), 4u);
    EXPECT_EQ((*elements)[3], (FormulaElement{true, 1, false, 1})) << "Z is the last character";
    const auto fromEnd = ParseRimeFormula("UzTt");
    ASSERT_TRUE(fromEnd);
    EXPECT_EQ((*fromEnd)[0], (FormulaElement{true, 6, true, 1}));
    EXPECT_EQ((*fromEnd)[1], (FormulaElement{false, 20, false, 20}));
    std::string error;
    EXPECT_EQ(FormatRimeFormula(*fromEnd, error), "UzTt");
    EXPECT_EQ(FormatRimeFormula({{false, 21, false, 1}}, error), "");
    EXPECT_NE(error, "");
    for (const char* bad : {"", "A", "aA", "AaB", "A1", "Aa Ba"}) {
        EXPECT_FALSE(ParseRimeFormula(bad)) << bad;
    }
}

TEST(FcitxRule, ReadsAndWritesTheRuleLines) {
    const auto rule = ParseFcitxRule("a4=p11+p21+p31+n11");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->minLength, 4);
    EXPECT_EQ(rule->maxLength, kLongestPhrase);
    EXPECT_EQ(rule->elements[3], (FormulaElement{true, 1, false, 1}));
    const auto fromEnd = ParseFcitxRule("E2=p1z+P00+n2y");
    ASSERT_TRUE(fromEnd);
    EXPECT_EQ(fromEnd->maxLength, 2);
    ASSERT_EQ(fromEnd->elements.size(), 2u) << "p00 holds a place only";
    EXPECT_EQ(fromEnd->elements[1], (FormulaElement{true, 2, true, 2}));
    std::string error;
    EXPECT_EQ(FormatFcitxRule(*fromEnd, error), "e2=p1z+n2y");
    EXPECT_EQ(FormatFcitxRule(*rule, error), "a4=p11+p21+p31+n11");
    for (const char* bad : {"e2=", "x2=p11", "e0=p11", "e2=p11+", "e2=q11", "e2=p10", "e2=p1"}) {
        EXPECT_FALSE(ParseFcitxRule(bad)) << bad;
    }
}

constexpr std::string_view kFcitxWubi =
    ";fcitx Version 0x03 Table file\n"
    "# comment\n"
    "KeyCode=abcdefghijklmnopqrstuvwxy\n"
    "Length=4\n"
    "Pinyin=@\n"
    "[组词规则]\n"
    "e2=p11+p12+p21+p22\n"
    "e3=p11+p21+p31+p32\n"
    "a4=p11+p21+p31+n11\n"
    "[数据]\n"
    "&a 工\n"
    "^aaaa 工\n"
    "@gong 工\n"
    "a 工\n"
    "aa 式\n"
    "aa   戈 \n"
    "zz 码外\n"
    "aaaaa 太长\n"
    "ab\n"
    "ac \"引号\"\n";

TEST(FcitxToTide, DropsPromptsConstructCodesAndPinyinAndCountsThem) {
    const ConversionResult result =
        ConvertTable(TableFormat::Fcitx, TableFormat::Tide, kFcitxWubi, "wbx", "out");
    ASSERT_EQ(result.error, "");
    const std::string text = TideText(result.output);
    EXPECT_NE(text.find("Name=wbx\r\nVersion=1.0\r\n"), std::string::npos);
    EXPECT_NE(text.find("CodeLength=4\r\n"), std::string::npos);
    EXPECT_NE(text.find("PhraseRule=3\r\npa2=w11+w12+w21+w22\r\npa3=w11+w21+w31+w32\r\n"
                        "pe4=w11+w21+w31+r11\r\n[CODETABLE]\r\n"
                        "a\t工\r\naa\t式\r\naa\t戈\r\nac\t引号\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(Join(result.summary),
              "converted 4 entries\n"
              "skipped 2 with a code the target's keys cannot type\n"
              "skipped 1 without a word\n"
              "skipped 1 prompt lines\n"
              "skipped 1 construct-phrase codes\n"
              "skipped 1 pinyin lines\n"
              "Name=wbx (from the file name)\n"
              "Version=1.0 (the source has none)\n"
              "CodeScheme=wbx (the name)\n");
}

TEST(FcitxTable, RefusesATableWithoutDataOrWithABadRule) {
    EXPECT_EQ(ReadFcitxTable("KeyCode=abc\nLength=2\n").error, "no [Data] section");
    EXPECT_EQ(ReadFcitxTable("Length=2\n[Data]\na 工\n").error, "no KeyCode= before [Data]");
    EXPECT_EQ(ReadFcitxTable("KeyCode=abc\n[Rule]\ne2=p11+x\n[Data]\n").error,
              "line 3: the rule \"e2=p11+x\" is not like e2=p11+p12+p21+p22");
    const LoadedTable phrases = ReadFcitxTable(
        "KeyCode=abc\n[Rule]\na2=p11+n11\n[Data]\n"
        "a 甲\n[Phrase]\n甲乙\n");
    EXPECT_EQ(phrases.error, "");
    EXPECT_EQ(phrases.entries.size(), 1u);
    EXPECT_EQ(phrases.skipped.noCode, 1u) << "a phrase to be coded by the rules";
}

TEST(TideRoundTrips, ThroughFcitxAndRimeKeepEveryEntryInOrder) {
    const std::string table = TideBytes(
        "[CODETABLEHEADER]\r\nName=五笔\r\nVersion=2.1\r\nAuthor=潮汐\r\nCodeScheme=形码\r\n"
        "CodeLength=4\r\nBWCodeLength=0\r\nSpecialPrefix=0\r\nWildChar=z\r\nPhraseRule=1\r\n"
        "[CODETABLE]\r\nggll\t一\r\na\t工\r\naa\t式\t5\r\naa\t戈\r\nab\r\nwqvb\t你们\r\n");
    for (const TableFormat peer : {TableFormat::Fcitx, TableFormat::Rime}) {
        const ConversionResult out = ConvertTable(TableFormat::Tide, peer, table, "wubi", "wubi");
        ASSERT_EQ(out.error, "");
        EXPECT_EQ(out.written, 5u);
        EXPECT_EQ(out.summary[1], "skipped 1 without a word");
        const ConversionResult back = ConvertTable(peer, TableFormat::Tide, out.output, "", "");
        ASSERT_EQ(back.error, "");
        const std::string text = TideText(back.output);
        EXPECT_NE(text.find("PhraseRule=3\r\npa2=w11+w12+w21+w22\r\npa3=w11+w21+w31+w32\r\n"
                            "pe4=w11+w21+w31+r11\r\n[CODETABLE]\r\n"
                            "ggll\t一\r\na\t工\r\naa\t式\r\naa\t戈\r\nwqvb\t你们\r\n"),
                  std::string::npos)
            << text;
    }
    const ConversionResult rime =
        ConvertTable(TableFormat::Tide, TableFormat::Rime, table, "", "wubi");
    EXPECT_NE(rime.output.find("name: wubi\nversion: \"2.1\"\nsort: original\n"),
              std::string::npos);
    EXPECT_NE(rime.output.find("    - length_in_range: [4, 32]\n      formula: \"AaBaCaZa\"\n"),
              std::string::npos);
}

TEST(TideTable, RefusesATextWithoutByteOrderMarkAndKeepsMainCodes) {
    std::string storage;
    EXPECT_NE(ReadTideTable("[CODETABLEHEADER]", storage).error, "");
    const LoadedTable table = ReadTideTable(
        TideBytes("[CODETABLEHEADER]\r\nName=x\r\nVersion=1\r\nAuthor=a\r\nCodeScheme=s\r\n"
                  "CodeLength=4\r\nBWCodeLength=2\r\nSpecialPrefix=0\r\nWildChar=0\r\n"
                  "PhraseRule=0\r\n[CODETABLE]\r\nabcd/xy\t字\r\n"),
        storage);
    ASSERT_EQ(table.error, "");
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].code, "abcd");
    EXPECT_EQ(table.notes, std::vector<std::string>{"the second codes after \"/\" are left out"});
}

TEST(ConvertRules, RefusesWhatTheTargetCannotExpress) {
    // A code letter counted from the end: fcitx can, a table cannot.
    const std::string dict =
        "---\nname: t\nversion: \"1\"\nencoder:\n  rules:\n"
        "    - length_in_range: [2, 32]\n      formula: \"AzZz\"\n...\n甲\ta\t1\n";
    const ConversionResult toTide =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, dict, "", "");
    EXPECT_EQ(toTide.error,
              "a table's rules count code letters from the start only; the rule "
              "for 2 or more characters counts one from the end");
    EXPECT_EQ(toTide.output, "");
    const ConversionResult toFcitx =
        ConvertTable(TableFormat::Rime, TableFormat::Fcitx, dict, "", "");
    ASSERT_EQ(toFcitx.error, "");
    EXPECT_NE(toFcitx.output.find("[Rule]\na2=p1z+n1z\n[Data]\n"), std::string::npos);

    // A gap, and a rule beyond the lengths one digit names.
    std::string error;
    std::vector<std::string> notes;
    EXPECT_FALSE(RulesByLength({{2, 2, {{}}}, {4, 32, {{}}}}, error, notes));
    EXPECT_EQ(error,
              "rules here cover every length from 2 on, but the source has no rule for 3 "
              "characters");
    EXPECT_FALSE(RulesByLength({{2, 9, {{}}}, {12, 12, {{false, 2, false, 1}}}}, error, notes));
    EXPECT_NE(error.find("the rule for 12 characters cannot be expressed"), std::string::npos);
    // One rule for every length becomes two slots (one would mean the defaults).
    CodeTableHeader header{};
    EXPECT_EQ(StoreFormulasInHeader({{2, 32, {{false, 1, false, 1}, {true, 1, false, 1}}}}, header,
                                    notes),
              "");
    EXPECT_EQ(header.PhraseRule, 2);
    EXPECT_EQ(header.Rules[1].kind, 1);
    EXPECT_EQ(header.Rules[1].elements[1].fromEnd, 1);
}

TEST(ConvertRules, WithoutRulesConvertsTheEntriesAndSaysWhatWasLeftOut) {
    const std::string dict =
        "---\nname: t\nversion: \"1\"\nencoder:\n  rules:\n"
        "    - length_equal: 2\n      formula: \"AaAzBaBz\"\n"
        "    - length_in_range: [3, 32]\n      formula: \"AaBaZz\"\n...\n甲\ta\t1\n乙乙\tbb\t1\n";
    ConversionOptions options;
    options.withoutRules = true;
    const ConversionResult result =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, dict, "t", "t", options);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.written, 2u);
    const std::string text = TideText(result.output);
    EXPECT_NE(text.find("PhraseRule=0"), std::string::npos) << text;
    EXPECT_NE(text.find("a\t甲\r\nbb\t乙乙"), std::string::npos) << "its phrases keep their codes";
    EXPECT_NE(Join(result.summary)
                  .find("left out the phrase rules (2: AaAzBaBz; 3+: AaBaZz): new phrases will "
                        "not be coded automatically"),
              std::string::npos)
        << Join(result.summary);
}

// A Rime dictionary split over files: main.dict.yaml imports a and b, a
// imports c; b and c are read from a map standing for their folder.
struct SplitDictionary {
    std::map<std::string, std::string, std::less<>> files;
    std::vector<std::string> asked;

    ConversionOptions Options() {
        ConversionOptions options;
        options.readImport = [this](std::string_view name) -> std::optional<std::string> {
            asked.emplace_back(name);
            const auto file = files.find(name);
            return file == files.end() ? std::nullopt : std::optional(file->second);
        };
        return options;
    }
};

std::string RimeFile(std::string_view name, std::string_view imports, std::string_view entries,
                     std::string_view sort = "by_weight") {
    return "---\nname: " + std::string(name) + "\nversion: \"1\"\nsort: " + std::string(sort) +
           "\n" + std::string(imports) + "...\n" + std::string(entries);
}

TEST(RimeImports, EachImportedTableFollowsTheOneThatNamesItAndIsCountedByFile) {
    SplitDictionary split;
    split.files["a"] = RimeFile("a", "import_tables:\n  - c\n", "丙\tc\t1\n");
    split.files["b"] = RimeFile("b", "", "丁\td\t1\n甲二\ta\t9\n");
    split.files["c"] = RimeFile("c", "", "戊\te\t1\n");
    const std::string main = RimeFile("main", "import_tables: [a, b]\n", "甲\ta\t5\n乙\tb\t1\n");
    const ConversionResult result =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, main, "main", "out", split.Options());
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(split.asked, (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(result.written, 6u);
    // The words of one code by weight, across the files.
    EXPECT_NE(TideText(result.output).find("a\t甲二\r\na\t甲\r\nb\t乙\r\n"), std::string::npos);
    EXPECT_NE(Join(result.summary)
                  .find("  2 from main.dict.yaml\n  1 from a.dict.yaml\n  1 from c.dict.yaml\n"
                        "  2 from b.dict.yaml\n"),
              std::string::npos)
        << Join(result.summary);
    // In the main table's own order: its entries first, then a, its import
    // c, then b.
    const std::string original =
        RimeFile("main", "import_tables: [a, b]\n", "乙\tb\t1\n", "original");
    const ConversionResult kept = ConvertTable(TableFormat::Rime, TableFormat::Tide, original,
                                               "main", "out", split.Options());
    ASSERT_EQ(kept.error, "");
    EXPECT_NE(TideText(kept.output).find("b\t乙\r\nc\t丙\r\ne\t戊\r\nd\t丁\r\na\t甲二\r\n"),
              std::string::npos)
        << TideText(kept.output);
}

TEST(RimeImports, AMissingOrDamagedTableOrACycleIsRefusedByName) {
    const std::string main = RimeFile("main", "import_tables:\n  - a\n", "甲\ta\n");
    SplitDictionary missing;
    EXPECT_EQ(
        ConvertTable(TableFormat::Rime, TableFormat::Tide, main, "main", "out", missing.Options())
            .error,
        "import_tables: cannot read a.dict.yaml, named by main.dict.yaml");
    SplitDictionary damaged;
    damaged.files["a"] = "---\nname: a\n";
    EXPECT_EQ(
        ConvertTable(TableFormat::Rime, TableFormat::Tide, main, "main", "out", damaged.Options())
            .error,
        "a.dict.yaml: no line \"...\" ends the YAML header");
    SplitDictionary cycle;
    cycle.files["a"] = RimeFile("a", "import_tables: [b]\n", "");
    cycle.files["b"] = RimeFile("b", "import_tables: [main]\n", "");
    const ConversionResult refused =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, main, "main", "out", cycle.Options());
    EXPECT_EQ(refused.error,
              "import_tables: a cycle: main.dict.yaml -> a.dict.yaml -> b.dict.yaml -> "
              "main.dict.yaml");
    EXPECT_EQ(refused.output, "");
    // Named by two tables (not a cycle): its entries once.
    SplitDictionary twice;
    twice.files["a"] = RimeFile("a", "import_tables: [b]\n", "乙\tb\n");
    twice.files["b"] = RimeFile("b", "", "丙\tc\n");
    const std::string both = RimeFile("main", "import_tables: [a, b]\n", "甲\ta\n");
    const ConversionResult once =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, both, "main", "out", twice.Options());
    ASSERT_EQ(once.error, "");
    EXPECT_EQ(once.written, 3u);
}

TEST(TideHeader, CutsLongTextsAndSaysSo) {
    const std::string dict =
        "---\nname: 一二三四五六七八九十一二三四五六七八九十二一\n"
        "version: \"1\"\n...\n甲\ta\t1\n";
    const ConversionResult result =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, dict, "", "");
    ASSERT_EQ(result.error, "");
    EXPECT_NE(TideText(result.output).find("Name=一二三四五六七八九十一二三四五六七八九十\r\n"),
              std::string::npos);
    EXPECT_EQ(result.summary[1],
              "Name=一二三四五六七八九十一二三四五六七八九十 (cut to 20 characters)");
}

TEST(ConvertTable, WritesOnlyWhatTheTargetsReaderTakesBackAsWritten) {
    // No entries: fcitx still gets keys, or its readers refuse the table.
    const ConversionResult empty =
        ConvertTable(TableFormat::Fcitx, TableFormat::Fcitx, "KeyCode=a\n[Data]\n", "", "");
    ASSERT_EQ(empty.error, "");
    EXPECT_EQ(ReadFcitxTable(empty.output).error, "");

    // A control character in a header value stays out of the header line.
    const ConversionResult name =
        ConvertTable(TableFormat::Rime, TableFormat::Tide, "---\nname: a\rb\n...\n工\ta\n", "", "");
    ASSERT_EQ(name.error, "");
    std::string storage;
    EXPECT_EQ(ReadTideTable(name.output, storage).info.name, "ab");

    // Codes are read without surrounding blanks; a blank one is no code.
    const LoadedTable blanks = ReadRimeDict("---\nname: x\n...\n工\t \t5\n戈\ta \n");
    ASSERT_EQ(blanks.entries.size(), 1u);
    EXPECT_EQ(blanks.entries[0].code, "a");
    EXPECT_EQ(blanks.skipped.noCode, 1u);

    // A code that fcitx would take for a section is not written.
    const ConversionResult section =
        ConvertTable(TableFormat::Rime, TableFormat::Fcitx,
                     "---\nname: x\nsort: original\n...\n词\t[Phrase]\n工\ta\n", "", "");
    EXPECT_EQ(section.written, 1u);
    EXPECT_EQ(ReadFcitxTable(section.output).entries.size(), 1u);

    // A rule for phrases longer than any is left out, and said so.
    const LoadedTable longRule = ReadRimeDict(
        "---\nname: x\nencoder:\n  rules:\n    - length_equal: 37\n      formula: \"AaBa\"\n...\n");
    EXPECT_EQ(longRule.error, "");
    EXPECT_TRUE(longRule.info.rules.empty());
    EXPECT_EQ(longRule.notes,
              std::vector<std::string>{
                  "encoder rule 1 is for phrases longer than Rime encodes: left out"});
}

// Bytes from the base64 a fuzzer printed.
std::string FromBase64(std::string_view text) {
    constexpr std::string_view kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : text) {
        const std::size_t digit = kDigits.find(c);
        if (digit == std::string_view::npos) {
            continue; // padding
        }
        bits = bits << 6 | static_cast<std::uint32_t>(digit);
        if ((count += 6) >= 8) {
            count -= 8;
            bytes += static_cast<char>(bits >> count & 0xFF);
        }
    }
    return bytes;
}

TEST(ConvertTable, AWordOrNameSpelledWithOverlongBytesNeverBreaksAWrittenLine) {
    // Inputs the fuzzers found: a name and words holding C0 8D (a carriage
    // return spelled in two bytes), C0 8A (a line feed) and raw tabs and
    // NULs. Every target's own reader takes back exactly what was written.
    const struct {
        TableFormat from;
        std::string_view base64;
    } kInputs[] = {
        {TableFormat::Rime,
         "77u/LS0tjQpuYW1lOiBjcQAAYSAAwI1oS2V5Q29kc/"
         "Nzc3Mwc3Nzc3Nzc3Nzc3MtLQ11bnRpbCB0aGUgbmV4eSBsaW5l"
         "CiMgbm8gY29tbWVudGcAAAAKcyMJaGFycArml6UJagrmm7AJagrmmI7lCnMjCWhhcnAK5pelCWoKZXJzaW9uOiAiM"
         "S5p"
         "MCINCmNvbHVtbnM6DQogIC0gdGV4dA0KICAtIGNvZGUNCi4uLg0K5Y+"
         "jCWtra2sNCuWTgQlpaWlpaWlpaWlpaWlpaWlp"
         "aWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpaWlpZ2U6ICAyLDNdWzMKIGsJIA0K"},
        {TableFormat::Fcitx,
         "S2V5Q29kZT1hYmNkDQoJGQpbRGF0YV0KQWIgIuWVvOSPtyIKYWIgIrhPYV0KYWIgIuWVlbzkj7ciIyBLZXlDbwphY"
         "iAi"
         "CmEJICLllbzkj7ciCmFiICIKYQkZYV0gIgphCdBhXQphYiAi5ZVEYf+85I+"
         "3IgphYiAiCmEJdGFdCmFiCXRhXQphYiAi"
         "5ZW85Y83ImV5J29kCmEJGQpbRGH/"
         "vOSPtyIKgA0KYWIgIOS6jCAKYWIgIuWVlbzkj7ciCmFiICIKYQkgwIlYACBhAAAK"
         "YWIgIgphCRlhXSAiCmEJ0GFdIuWVvOWPtyIKYQkZCiAiCmEEICLllbzkj7ciCmFiICIKYQkZYV0gIgphYWIg/v//"
         "8rzk"
         "j7ciCmFiICIKYQliICLmnInlpLkK"},
        {TableFormat::Fcitx,
         "S2V5Q29kZT1hYm9wcXJzdHUAAANoOj10DQpbRGF0YV0NCmEZ5LSADQphYiABAGEgAMCK6iA9YWJjDQpMZW5ndGg9M"
         "g0K"
         "W0RhdGFdDQphCeS0gA0KYWIgIOSADQphYiABAGEgAPv7+/v7+/v7+/v7+/v7+/"
         "v7+7qMIAphYiAgwIrqID1h5LqMIA0K"},
    };
    for (const auto& input : kInputs) {
        const std::string bytes = FromBase64(input.base64);
        for (const TableFormat to : {TableFormat::Tide, TableFormat::Rime, TableFormat::Fcitx}) {
            const ConversionResult result = ConvertTable(input.from, to, bytes, "fuzz", "fuzz");
            ASSERT_EQ(result.error, "");
            std::string storage;
            const LoadedTable back = to == TableFormat::Tide ? ReadTideTable(result.output, storage)
                                     : to == TableFormat::Rime ? ReadRimeDict(result.output)
                                                               : ReadFcitxTable(result.output);
            EXPECT_EQ(back.error, "");
            EXPECT_EQ(back.entries.size(), result.written) << static_cast<int>(to);
            if (to == TableFormat::Tide && result.written > 0) {
                // Its header is one our compiler takes: no name broken in two.
                const CompileResult compiled =
                    CompileCodeTableText({reinterpret_cast<const char16_t*>(result.output.data()),
                                          result.output.size() / 2},
                                         result.output.size());
                EXPECT_TRUE(compiled.ok) << ToUtf8(compiled.message);
            }
        }
    }
}

TEST(TextLines, CountsEveryLineFeedWhereverItFalls) {
    // Line feeds at every place of an eight-byte word, and bytes that differ
    // from a line feed only in the high bit or next to it.
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += static_cast<char>(i % 7 == 0   ? '\n'
                                  : i % 5 == 0 ? '\x8A'
                                  : i % 3 == 0 ? '\x0B'
                                               : 'a');
        const std::string_view prefix(text);
        ASSERT_EQ(CountLines(prefix),
                  static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n')) + 1)
            << i;
    }
}

} // namespace
} // namespace tide
