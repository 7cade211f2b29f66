#include "core/stats/TableStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <numeric>

#include "core/base/Utf.h"
#include "core/convert/RimeDictFormat.h"
#include "core/convert/TableConversion.h"
#include "core/dict/LibraryBuilder.h"
#include "core/stats/CharacterSets.h"
#include "core/stats/WordLookup.h"
#include "support/TableBuilder.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A library with code length 4 and the default rules (2: AaAbBaBb, 3:
// AaBaCaCb, 4+: AaBaCaZa), every figure of it counted by hand below.
Bytes HandCountedLibrary() {
    return CompileCodeTableText(test::MakeTable({
                                    "a\t甲",            // 甲: a short code...
                                    "abcd\t甲",         // ...and its full code
                                    "efgh\t乙",         // 乙 and 丙 share a full code
                                    "efgh\t丙",         //
                                    "ijk\t\u3400",      // extension A, a short code only
                                    "mnop\t\U00020000", // extension B
                                    "qrst\t\uF900",     // a compatibility ideograph
                                    "uvwx\t\uE815",     // a private-use component
                                    "abef\t甲乙",       // as the rules give it
                                    "abef\t甲乙",       // the same again: a duplicate
                                    "ab\t甲乙",         // a short code of the phrase
                                    "efgh\t乙丙",       // the rules give efef
                                    "abxy\t甲丁",       // 丁 has no code: the rules give none
                                    "zz\t，",           // a phrase entry to compile, coded
                                    "zy\t甲，",         // "，" has no code slot: no rule code
                                }))
        .library;
}

TEST(TableStatistics, EveryFigureOfALibraryCountedByHand) {
    const Bytes bytes = HandCountedLibrary();
    const auto stats = MeasureLibrary(*LibraryView::Open(bytes));
    ASSERT_TRUE(stats);
    const TableStatistics& s = *stats;
    EXPECT_EQ(s.codeLength, 4u);
    EXPECT_EQ(s.entries, 15u);
    EXPECT_EQ(s.characters, 8u) << "the first eight lines, as compile counts them";
    EXPECT_EQ(s.phrases, 7u) << "\"，\" has no code slot: a phrase entry, as compile counts it";
    // a abcd efgh ijk mnop qrst uvwx abef ab abxy zz zy
    EXPECT_EQ(s.codes, 12u);
    EXPECT_EQ(s.userEntries, 0u);

    // Characters: a; ijk; abcd efgh efgh mnop qrst uvwx. Phrases: ab zz zy; abef abef efgh abxy.
    ASSERT_GE(s.characterLengths.size(), 13u);
    EXPECT_EQ(std::vector<std::size_t>(s.characterLengths.begin(), s.characterLengths.begin() + 6),
              (std::vector<std::size_t>{0, 1, 0, 1, 6, 0}));
    EXPECT_EQ(std::vector<std::size_t>(s.phraseLengths.begin(), s.phraseLengths.begin() + 6),
              (std::vector<std::size_t>{0, 0, 3, 0, 4, 0}));

    // efgh has 乙, 丙 and 乙丙, abef 甲乙 twice, the other ten codes one entry.
    EXPECT_EQ(s.candidates[1], 10u);
    EXPECT_EQ(s.candidates[2], 1u);
    EXPECT_EQ(s.candidates[3], 1u);
    EXPECT_EQ(s.candidates[kManyCandidates], 0u);
    // a abcd abef ab abxy; efgh; ijk; mnop; qrst; uvwx; zz zy.
    EXPECT_EQ(s.firstLetters[0], 5u);
    EXPECT_EQ(s.firstLetters['e' - 'a'], 1u);
    EXPECT_EQ(s.firstLetters['z' - 'a'], 2u);
    EXPECT_EQ(std::accumulate(s.firstLetters.begin(), s.firstLetters.end(), std::size_t{0}), 12u);
    EXPECT_EQ(s.sharedCodes.count, 5u);
    EXPECT_EQ(s.sharedCodes.of, 15u);
    // Full codes: 甲 乙 丙 𠀀 豈 U+E815 (㐀 has a short code only); 乙 and 丙 share theirs.
    EXPECT_EQ(s.sharedFullCodes.count, 2u);
    EXPECT_EQ(s.sharedFullCodes.of, 6u);
    EXPECT_DOUBLE_EQ(s.sharedFullCodes.Rate(), 2.0 / 6);
    EXPECT_FALSE(s.weighted) << "a library's weights order nothing";

    // Used: a; ab zy zz; ijk.
    EXPECT_EQ(s.emptyCodes[0].size(), 25u);
    EXPECT_EQ(s.emptyCodes[0].front(), "b");
    EXPECT_EQ(s.emptyCodes[1].size(), 673u);
    EXPECT_EQ(s.emptyCodes[1].front(), "aa");
    EXPECT_EQ(s.emptyCodes[1].back(), "zx");
    EXPECT_EQ(s.emptyCodes[2].size(), 17575u);
    EXPECT_EQ(std::count(s.emptyCodes[2].begin(), s.emptyCodes[2].end(), "ijk"), 0);

    EXPECT_EQ(s.shortCodeOnly, 1u);     // 㐀
    EXPECT_EQ(s.fullCodeOnly, 5u);      // 乙 丙 𠀀 豈 U+E815
    EXPECT_EQ(s.fullAndShortCodes, 1u); // 甲

    const auto coverage = [&](CoverageSet set) {
        return s.coverage[static_cast<std::size_t>(set)];
    };
    EXPECT_EQ(coverage(CoverageSet::Gb2312).present, 3u); // 甲 乙 丙
    EXPECT_EQ(coverage(CoverageSet::Gb2312).missing, 6760u);
    EXPECT_EQ(coverage(CoverageSet::CjkBasic).present, 3u);
    EXPECT_EQ(coverage(CoverageSet::CjkBasic).missing, 20989u - 3);
    EXPECT_EQ(coverage(CoverageSet::ExtA).missing, 6592u - 1);
    // B 42,718, C 4,149, D 222, E 5,762, F 7,473, G 4,939.
    EXPECT_EQ(coverage(CoverageSet::ExtBPlus).missing, 65263u - 1);
    EXPECT_EQ(coverage(CoverageSet::Compatibility).missing, 474u + 542 - 1);
    EXPECT_EQ(coverage(CoverageSet::PrivateUse).missing, 80u - 1);

    EXPECT_EQ(s.duplicates, 1u);
    ASSERT_EQ(s.duplicateExamples.size(), 1u);
    EXPECT_EQ(s.duplicateExamples[0].code, "abef");
    EXPECT_EQ(s.duplicateExamples[0].word, "甲乙");
    // 乙丙 (efgh, the rules efef), 甲丁 and 甲，(no rule code); "ab" begins abef.
    EXPECT_TRUE(s.hasRules);
    EXPECT_EQ(s.ruleMismatches, 3u);
    EXPECT_EQ(s.underived, 2u);
    ASSERT_EQ(s.mismatchExamples.size(), 3u);
    const auto mismatch = std::find_if(s.mismatchExamples.begin(), s.mismatchExamples.end(),
                                       [](const RuleMismatch& m) { return m.word == "乙丙"; });
    ASSERT_NE(mismatch, s.mismatchExamples.end());
    EXPECT_EQ(mismatch->listed, "efgh");
    EXPECT_EQ(mismatch->derived, "efef");
    EXPECT_EQ(s.uncodedCharacters, 1u) << "丁; \"，\" has an entry of its own";
    EXPECT_EQ(s.uncodedExamples, std::vector<char32_t>{U'丁'});
}

TEST(TableStatistics, ManyCandidatesUserEntriesAndNoRules) {
    // Eleven words under "a", PhraseRule 0, and a user entry (weight 251).
    Bytes bytes = CompileCodeTableText(test::MakeTable({"a\t一", "a\t二", "a\t三", "a\t四", "a\t五",
                                                        "a\t六", "a\t七", "a\t八", "a\t九", "a\t十",
                                                        "a\t百", "ab\t一二", "b\t一二\t251"},
                                                       2, 0, 0))
                      .library;
    const auto stats = MeasureLibrary(*LibraryView::Open(bytes));
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->candidates[kManyCandidates], 1u) << "eleven words: 10 or more";
    EXPECT_EQ(stats->candidates[1], 2u);
    EXPECT_EQ(stats->userEntries, 1u);
    EXPECT_EQ(stats->entries, 13u) << "user entries are entries too";
    EXPECT_FALSE(stats->hasRules);
    EXPECT_EQ(stats->ruleMismatches, 0u) << "nothing to hold the phrases against";
    EXPECT_EQ(stats->shortCodeOnly, 11u) << "one letter of two";

    // The last word loses its terminator: the walk meets damage.
    const std::uint32_t used = static_cast<std::uint32_t>(bytes.size()) - 2;
    bytes.resize(used);
    std::memcpy(bytes.data() + offsetof(CodeTableHeader, UsedLength), &used, 4);
    const auto damaged = LibraryView::Open(bytes);
    ASSERT_TRUE(damaged);
    EXPECT_FALSE(MeasureLibrary(*damaged));
    EXPECT_FALSE(LookUpWords(*damaged, std::vector<std::u16string>{u"一"}));
}

TEST(WordLookup, EveryCodeWithItsCandidatePlace) {
    const Bytes bytes = HandCountedLibrary();
    const std::vector<std::u16string> words = {u"甲",   u"丙", u"乙丙", u"甲乙",
                                               u"甲丙", u"丁", u"甲"};
    const auto found = LookUpWords(*LibraryView::Open(bytes), words);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), words.size());
    const auto codes = [&](std::size_t i) {
        std::vector<std::pair<std::u16string, std::size_t>> list;
        for (const CodePlace& place : (*found)[i].codes) {
            list.emplace_back(place.code, place.position);
        }
        return list;
    };
    using Places = std::vector<std::pair<std::u16string, std::size_t>>;
    EXPECT_EQ(codes(0), (Places{{u"a", 1}, {u"abcd", 1}})) << "short codes first";
    EXPECT_EQ(codes(1), (Places{{u"efgh", 2}})) << "behind 乙";
    EXPECT_EQ(codes(2), (Places{{u"efgh", 3}}));
    EXPECT_EQ(codes(3), (Places{{u"ab", 1}, {u"abef", 1}, {u"abef", 2}})) << "the copy too";
    EXPECT_TRUE((*found)[3].ruleCode.empty()) << "in the library: no rule code";
    EXPECT_TRUE(codes(4).empty());
    EXPECT_EQ((*found)[4].ruleCode, u"abef") << "甲丙 is not in the library: its rule code";
    EXPECT_TRUE(codes(5).empty());
    EXPECT_EQ((*found)[5].ruleCode, u"") << "no rule codes a single character";
    EXPECT_EQ(codes(6), codes(0)) << "a word asked twice is answered twice";
}

// A Rime table: candidates by falling weight, rules from its formulas, the
// code length its longest code.
constexpr std::string_view kWeightedRime =
    "---\n"
    "name: t\n"
    "version: \"1\"\n"
    "encoder:\n"
    "  rules:\n"
    "    - length_equal: 2\n"
    "      formula: \"AaAbBaBb\"\n"
    "    - length_in_range: [3, 4]\n"
    "      formula: \"AaBaCaZz\"\n"
    "...\n"
    "甲\tabc\t5\n"
    "乙\tabc\t5\n"
    "丙\tabc\t9\n"
    "丁\tde\t30\n"
    "甲乙\tabab\t1\n"
    "甲乙丙\taaae\t0\n"
    "甲乙丙丁\taaae\t0\n"
    "丁丁丁丁丁\taddz\t0\n";

TEST(TableStatistics, WeightsOrderTheCandidatesOfARimeTable) {
    const LoadedTable table = ReadRimeDict(kWeightedRime);
    ASSERT_TRUE(table.error.empty()) << table.error;
    const TableStatistics s = MeasureTable(table);
    EXPECT_EQ(s.codeLength, 4u) << "its longest code";
    // abc: 丙 (9) first, then 甲 and 乙 (5 each); aaae: 甲乙丙 then 甲乙丙丁 (0).
    ASSERT_TRUE(s.weighted);
    EXPECT_DOUBLE_EQ(s.totalWeight, 5 + 5 + 9 + 30 + 1);
    EXPECT_DOUBLE_EQ(s.laterWeight, 5 + 5);
    // 甲乙: a b a b. 甲乙丙: a a a, Zz the last letter of 丙's abc: c, not e.
    // 甲乙丙丁: a a a, Zz of 丁's de: e. Five characters: no rule covers them,
    // so the rule of the longest length does: d d d, Zz e.
    EXPECT_EQ(s.ruleMismatches, 2u);
    EXPECT_EQ(s.underived, 0u);
    ASSERT_EQ(s.mismatchExamples.size(), 2u);
    EXPECT_EQ(s.mismatchExamples[0].derived, "aaac");
    EXPECT_EQ(s.mismatchExamples[1].derived, "ddde");
    EXPECT_EQ(s.shortCodeOnly, 4u) << "no character has a code of four letters";
    EXPECT_EQ(s.sharedFullCodes.of, 0u);

    // The same entries in file order, unweighted: nothing orders them.
    std::string original(kWeightedRime);
    original.insert(original.find("encoder:"), "sort: original\n");
    const TableStatistics unweighted = MeasureTable(ReadRimeDict(original));
    EXPECT_FALSE(unweighted.weighted);
    EXPECT_EQ(unweighted.ruleMismatches, 2u);
}

TEST(TableStatistics, ImportTablesAreFollowedOnceAndInOrder) {
    const std::string main = "---\nname: m\nimport_tables:\n  - a\n  - b\n...\n甲\taaaa\n";
    const std::map<std::string, std::string, std::less<>> files = {
        {"a", "---\nname: a\nimport_tables:\n  - b\n...\n乙\tbbbb\n"},
        {"b", "---\nname: b\n...\n丙\tcccc\n"},
        {"loop", "---\nname: loop\nimport_tables:\n  - m\n...\n丁\tdddd\n"},
    };
    ConversionOptions read;
    read.readImport = [&](std::string_view name) -> std::optional<std::string> {
        const auto file = files.find(name);
        return file == files.end() ? std::nullopt : std::optional<std::string>(file->second);
    };
    std::deque<std::string> texts;
    std::vector<std::string> perFile;
    const LoadedTable table = ReadTable(TableFormat::Rime, main, "m", read, texts, perFile);
    ASSERT_TRUE(table.error.empty()) << table.error;
    std::vector<std::string_view> words;
    for (const TableEntry& entry : table.entries) {
        words.push_back(entry.word);
    }
    EXPECT_EQ(words, (std::vector<std::string_view>{"甲", "乙", "丙"})) << "b, named twice, once";

    const std::string loop = "---\nname: m\nimport_tables:\n  - loop\n...\n";
    EXPECT_NE(ReadTable(TableFormat::Rime, loop, "m", read, texts, perFile).error, "");
    const std::string missing = "---\nname: m\nimport_tables:\n  - gone\n...\n";
    EXPECT_NE(ReadTable(TableFormat::Rime, missing, "m", read, texts, perFile).error.find("gone"),
              std::string::npos);
}

TEST(CharacterSets, Gb2312IsItsSixThousandHanzi) {
    EXPECT_EQ(CoverageSetSize(CoverageSet::Gb2312), 6763u);
    EXPECT_TRUE(InGb2312(U'啊')) << "B0A1, the first";
    EXPECT_TRUE(InGb2312(U'齄')) << "F7FE, the last";
    EXPECT_FALSE(InGb2312(U'丂')) << "GBK's, not GB 2312's";
    EXPECT_FALSE(InGb2312(0xE810)) << "D7FA: private use in GB18030";
    EXPECT_FALSE(InGb2312(U'、')) << "a symbol of row 1";
    EXPECT_EQ(CjkBlockOf(0x9FFC), CoverageSet::CjkBasic);
    EXPECT_EQ(CjkBlockOf(0x9FFD), std::nullopt) << "no code slot";
    EXPECT_EQ(CjkBlockOf(0x2F800), CoverageSet::Compatibility);
    EXPECT_EQ(CjkBlockOf(U'〇'), std::nullopt);
}

} // namespace
} // namespace tide
