#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/base/Utf.h"
#include "core/dict/CharSlots.h"
#include "core/dict/CodeTableHeaderParser.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/CompileMessages.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "support/Fixtures.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFixture(const char* name) {
    return test::ReadFixture(std::string("dict/") + name);
}

// A code table file: BOM, the lines joined with CR LF.
Bytes TableFile(std::initializer_list<std::string_view> lines) {
    std::u16string text = u"\uFEFF";
    for (auto line : lines) {
        text += FromUtf8(line) + u"\r\n";
    }
    Bytes bytes(text.size() * 2);
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

constexpr std::string_view kHeader[] = {
    "[CODETABLEHEADER]",
    "Name=测试",
    "Version=1",
    "Author=潮汐",
    "CodeScheme=形码(备注)",
    "CodeLength=4",
    "BWCodeLength=0",
    "SpecialPrefix=0",
    "WildChar=0",
    "PhraseRule=0",
};

// A table with the standard header (lines can be replaced by key) and entries.
Bytes Table(std::initializer_list<std::pair<std::string_view, std::string_view>> headerChanges,
            std::initializer_list<std::string_view> afterHeader) {
    std::vector<std::string> lines(std::begin(kHeader), std::end(kHeader));
    for (auto [key, line] : headerChanges) {
        for (auto& existing : lines) {
            if (existing.rfind(key, 0) == 0) {
                existing = line;
            }
        }
    }
    std::u16string text = u"\uFEFF";
    for (const auto& line : lines) {
        text += FromUtf8(line) + u"\r\n";
    }
    for (auto line : afterHeader) {
        text += FromUtf8(line) + u"\r\n";
    }
    Bytes bytes(text.size() * 2);
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

std::string Message(const CompileResult& result) {
    return ToUtf8(result.message);
}

std::string ExportText(const Bytes& library) {
    const auto view = LibraryView::Open(library);
    EXPECT_TRUE(view);
    CodeTableWriter writer;
    WriteHeaderText(writer, view->header());
    ExportEntries(*view, writer);
    return ToUtf8(std::u16string_view(writer.text()).substr(1));
}

TEST(CompileCodeTable, SmallTableMatchesTheHandMadeLibraryByteForByte) {
    const Bytes expected = ReadFixture("small.imc");
    ASSERT_EQ(expected.size(), 2800u);
    const CompileResult result = CompileCodeTableText(ReadFixture("small.txt"));
    ASSERT_TRUE(result.ok) << Message(result);
    ASSERT_EQ(result.library.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(result.library[i], expected[i]) << "first difference at offset " << i;
    }
}

TEST(CompileCodeTable, RefusesFilesThatAreNotCodeTables) {
    const CompileResult noMark = CompileCodeTableText(Bytes{'[', 0, 'C', 0});
    EXPECT_FALSE(noMark.ok);
    EXPECT_EQ(noMark.message, kMsgTableNotUtf16);
    const CompileResult empty = CompileCodeTableText(Bytes{});
    EXPECT_EQ(empty.message, kMsgTableNotUtf16);

    // A header cut short says so, however short the file.
    const CompileResult shortFile =
        CompileCodeTableText(TableFile({"[CODETABLEHEADER]", "Name=x"}));
    EXPECT_FALSE(shortFile.ok);
    EXPECT_EQ(shortFile.message, kMsgHeaderInvalid);
    // A complete header with one entry is a table, however small.
    const Bytes tiny = Table({}, {"[CODETABLE]", "a\t工"});
    EXPECT_LT(tiny.size(), 400u);
    EXPECT_TRUE(CompileCodeTableText(tiny).ok);
}

TEST(CompileCodeTable, HeaderErrorsHaveTheirMessages) {
    struct Case {
        Bytes table;
        std::u16string_view message;
    } cases[] = {
        {TableFile({"[CODETABLE]", "a\t工"}), kMsgHeaderMissing},
        {Table({{"Version", "Edition=1"}}, {"[CODETABLE]"}), kMsgHeaderInvalid},
        {Table({{"Name", "Name测试"}}, {"[CODETABLE]"}), kMsgHeaderInvalid}, // no "="
        {Table({{"PhraseRule", "PhraseRule=1"}}, {"pa2=w11+w12+w21+w22", "[CODETABLE]"}),
         kMsgRulesExtra},
        {Table({{"PhraseRule", "PhraseRule=0"}}, {"pa2=w11+w12+w21+w22", "[CODETABLE]"}),
         kMsgRulesExtra},
        {Table({{"PhraseRule", "PhraseRule=3"}}, {"[CODETABLE]"}), kMsgRulesMissing},
        {Table({{"PhraseRule", "PhraseRule=2"}}, {"pa2=w11+w12+w21+w22", "pa3=w11+w21+w31+w32",
                                                  "pe4=w11+w21+w31+r11", "[CODETABLE]"}),
         kMsgHeaderInvalid},
        // Rules that do not define lengths 2 and 3, or a length digit out of range.
        {Table({{"PhraseRule", "PhraseRule=2"}}, {"pa2=w11+w12", "pa2=w11+w21", "[CODETABLE]"}),
         kMsgHeaderInvalid},
        {Table({{"PhraseRule", "PhraseRule=2"}}, {"pa2=w11+w12", "pa1=w11", "[CODETABLE]"}),
         kMsgHeaderInvalid},
        {Table({{"PhraseRule", "PhraseRule=2"}}, {"pa2=w11+w12", "pa3=x11+w21", "[CODETABLE]"}),
         kMsgHeaderInvalid},
        {Table({{"PhraseRule", "PhraseRule=9"}},
               {"pa2=w11", "pa3=w11", "pa4=w11", "pa5=w11", "pa6=w11", "pa7=w11", "pa8=w11",
                "pa9=w11", "pa9=w11", "[CODETABLE]"}),
         kMsgHeaderInvalid},
        // Values the record cannot hold are refused, not cut.
        {Table({{"Name", "Name=一二三四五六七八九十一二三四五六七八九十一"}}, {"[CODETABLE]"}),
         kMsgHeaderInvalid},
        {Table({{"SpecialPrefix", "SpecialPrefix=abc"}}, {"[CODETABLE]"}), kMsgHeaderInvalid},
        {Table({{"CodeLength", "CodeLength=13"}}, {"[CODETABLE]"}), kMsgHeaderInvalid},
        {Table({{"CodeLength", "CodeLength=8"}, {"BWCodeLength", "BWCodeLength=4"}},
               {"[CODETABLE]"}),
         kMsgHeaderInvalid},
        {Table({{"CodeLength", "CodeLength=0"}}, {"[CODETABLE]"}), kMsgHeaderInvalid},
        {Table({}, {"[CODETABLE", "a\t工"}), kMsgHeaderInvalid},
    };
    for (const auto& c : cases) {
        const CompileResult result = CompileCodeTableText(c.table);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message) << Message(result);
        EXPECT_EQ(result.stage, CompileStage::Text) << "the import reports an unusable file";
    }
    // The longest values that fit are taken whole.
    const CompileResult longest =
        CompileCodeTableText(Table({{"Name", "Name=一二三四五六七八九十一二三四五六七八九十"},
                                    {"CodeLength", "CodeLength=7"},
                                    {"BWCodeLength", "BWCodeLength=4"}},
                                   {"[CODETABLE]"}));
    EXPECT_TRUE(longest.ok) << Message(longest);
}

TEST(CompileCodeTable, DefaultRulesAreStoredAsOneAndExportedAsOne) {
    const CompileResult result =
        CompileCodeTableText(Table({{"PhraseRule", "PhraseRule=1"}}, {"[CODETABLE]", "a\t工"}));
    ASSERT_TRUE(result.ok) << Message(result);
    const auto view = LibraryView::Open(result.library);
    const CodeTableHeader& header = view->header();
    EXPECT_EQ(header.PhraseRule, 1);
    EXPECT_EQ(header.Rules[0].kind, 0);
    EXPECT_EQ(header.Rules[2].kind, 1);
    EXPECT_EQ(header.Rules[2].elements[3].fromEnd, 1);
    EXPECT_EQ(header.Rules[1].elements[3].letterNumber, 2);
    EXPECT_EQ(header.Rules[3].elements[0].charNumber, 0) << "no fourth rule";
    const std::string text = ExportText(result.library);
    EXPECT_NE(text.find("PhraseRule=1\r\n[CODETABLE]\r\n"), std::string::npos) << text;
}

TEST(CompileCodeTable, OwnRulesRoundTripThroughExport) {
    const CompileResult result = CompileCodeTableText(
        Table({{"PhraseRule", "PhraseRule=3"}, {"CodeLength", "CodeLength=12"}},
              {"pa2=w11+w12+w21+w22", "pe3=w11+w21+r11+rab",
               "pa4=w11+w21+w31+r11+r12+r13+r14+r15+r16+r17+r18+r19", "[CODETABLE]"}));
    ASSERT_TRUE(result.ok) << Message(result);
    EXPECT_NE(ExportText(result.library)
                  .find("PhraseRule=3\r\npa2=w11+w12+w21+w22\r\npe3=w11+w21+r11+rab\r\n"
                        "pa4=w11+w21+w31+r11+r12+r13+r14+r15+r16+r17+r18+r19\r\n[CODETABLE]\r\n"),
              std::string::npos);
}

TEST(CompileCodeTable, PrefixWildcardAndSchemeRemarkExportAsWritten) {
    const CompileResult result = CompileCodeTableText(Table({}, {"[CODETABLE]", "a\t工"}));
    ASSERT_TRUE(result.ok);
    const auto view = LibraryView::Open(result.library);
    EXPECT_EQ(FixedText(view->header().SpecialPrefix), u"");
    EXPECT_EQ(view->header().WildChar, u'\0');
    EXPECT_EQ(FixedText(view->header().CodeScheme), u"形码(备注)") << "stored with its remark";
    const std::string text = ExportText(result.library);
    EXPECT_NE(text.find("CodeScheme=形码\r\n"), std::string::npos);
    EXPECT_NE(text.find("SpecialPrefix=0\r\nWildChar=0\r\n"), std::string::npos);

    const CompileResult set = CompileCodeTableText(Table(
        {{"SpecialPrefix", "SpecialPrefix=zz"}, {"WildChar", "WildChar=?"}}, {"[CODETABLE]"}));
    ASSERT_TRUE(set.ok);
    EXPECT_NE(ExportText(set.library).find("SpecialPrefix=zz\r\nWildChar=?\r\n"),
              std::string::npos);
}

TEST(CompileCodeTable, IllegalCodeElementsStopTheCompileWithTheLineOfTheFile) {
    const CompileResult capital =
        CompileCodeTableText(Table({}, {"[CODETABLE]", "a\t工", "", "zz\t卅\t252", "aB\t式"}));
    EXPECT_FALSE(capital.ok);
    EXPECT_EQ(Message(capital), "词库文件第15行词条编码中含有非法码元，请更正。\r\n错误编码为：aB")
        << "header, blank and carried lines count: it is the line the editor shows";
    EXPECT_EQ(capital.stage, CompileStage::Entries) << "the import reports a failed generation";
    const CompileResult digit = CompileCodeTableText(Table({}, {"[CODETABLE]", "a1\t工"}));
    EXPECT_EQ(Message(digit), "词库文件第12行词条编码中含有非法码元，请更正。\r\n错误编码为：a1");
    const std::string junk(100000, '#');
    const CompileResult longCode = CompileCodeTableText(Table({}, {"[CODETABLE]", junk}));
    EXPECT_EQ(Message(longCode), "词库文件第12行词条编码中含有非法码元，请更正。\r\n错误编码为：" +
                                     std::string(32, '#') + "…")
        << "a long code is quoted by its beginning only";
    // Without a second code, "/" cannot stand among the letters that select nodes.
    const CompileResult slash = CompileCodeTableText(Table({}, {"[CODETABLE]", "ab/c\t工"}));
    EXPECT_FALSE(slash.ok);
    const CompileResult lateSlash = CompileCodeTableText(Table({}, {"[CODETABLE]", "abc/d\t工"}));
    EXPECT_TRUE(lateSlash.ok);
}

TEST(CompileCodeTable, SecondCodeIsKeptInTheSlotAndCutForTheIndex) {
    const CompileResult result = CompileCodeTableText(
        Table({{"BWCodeLength", "BWCodeLength=2"}}, {"[CODETABLE]", "abcd/xy\t工", "a/\t一"}));
    ASSERT_TRUE(result.ok) << Message(result);
    const auto view = LibraryView::Open(result.library);
    EXPECT_EQ(view->header().RootOffset, 612 + 7 * (CharSlotIndex(U'工') + 1));
    EXPECT_EQ(view->CharCode(CharSlotIndex(U'工')), u"abcd/xy");
    std::vector<std::u16string> codes;
    view->ForEachEntry([&](const LibraryEntry& e) { codes.emplace_back(e.code); });
    EXPECT_EQ(codes, (std::vector<std::u16string>{u"a", u"abcd"}));
}

TEST(CompileCodeTable, CharacterKeepsItsLongestCodeAndTheLastOfEqualLength) {
    const CompileResult result =
        CompileCodeTableText(Table({}, {"[CODETABLE]", "a\t工", "abcd\t工", "ab\t工", "abcd\t式",
                                        "abce\t式", "b\t𠀀", "bcde\t𠀀"}));
    ASSERT_TRUE(result.ok);
    const auto view = LibraryView::Open(result.library);
    EXPECT_EQ(view->CharCode(CharSlotIndex(U'工')), u"abcd");
    EXPECT_EQ(view->CharCode(CharSlotIndex(U'式')), u"abce");
    EXPECT_EQ(view->CharCode(CharSlotIndex(U'𠀀')), u"bcde") << "a surrogate pair is one character";
    EXPECT_EQ(view->header().CharCount, 7);
    EXPECT_EQ(view->header().PhraseCount, 0);
}

TEST(CompileCodeTable, CountsSplitCharactersPhrasesAndUncountedWeights) {
    const CompileResult result = CompileCodeTableText(
        Table({}, {"[CODETABLE]", "a\t工\t5", "b\tab", "c\t", "d", "e\t工作", "f\t☺", "g\t字\t252",
                   "h\t词\t253", "i\t字\t65788" /* 252 in the low 16 bits */}));
    ASSERT_TRUE(result.ok);
    const CodeTableHeader header = LibraryView::Open(result.library)->header();
    EXPECT_EQ(header.EntryCount, 6);
    EXPECT_EQ(header.CharCount, 1);
    EXPECT_EQ(header.PhraseCount, 5) << "empty words and characters without a slot are phrases";
    std::vector<std::uint32_t> weights;
    LibraryView::Open(result.library)->ForEachEntry([&](const LibraryEntry& e) {
        weights.push_back(e.weight);
    });
    EXPECT_EQ(weights, (std::vector<std::uint32_t>{5, 254, 254, 254, 254, 254, 252, 253, 65788}))
        << "uncounted entries are still in the index";
}

TEST(CompileCodeTable, CarriedEntriesFollowTheTableAndAFailedCarryFailsTheCompile) {
    const Bytes table = Table({}, {"[CODETABLE]", "a\t工"});
    const CompileResult carried = CompileCodeTableText(table, [](LibraryBuilder& builder) {
        return builder.AppendEntry(u"abcde", u"自造", 252) && builder.AppendEntry(u"a", u"又", 253);
    });
    ASSERT_TRUE(carried.ok);
    std::vector<std::u16string> words;
    LibraryView::Open(carried.library)->ForEachEntry([&](const LibraryEntry& e) {
        words.emplace_back(e.word);
    });
    EXPECT_EQ(words, (std::vector<std::u16string>{u"工", u"又", u"自造"}));
    EXPECT_EQ(LibraryView::Open(carried.library)->header().EntryCount, 1);
    const CompileResult failedCarry =
        CompileCodeTableText(table, [](LibraryBuilder&) { return false; });
    EXPECT_FALSE(failedCarry.ok);
    EXPECT_EQ(failedCarry.stage, CompileStage::Carry);
    // Codes the index cannot hold are refused by the builder.
    EXPECT_FALSE(CompileCodeTableText(table, [](LibraryBuilder& b) {
                     return b.AppendEntry(u"A", u"x", 252);
                 }).ok);
}

TEST(CompileCodeTable, ExportAndCompileAgainKeepsEveryTableEntry) {
    const CompileResult first =
        CompileCodeTableText(Table({{"PhraseRule", "PhraseRule=1"}, {"WildChar", "WildChar=z"}},
                                   {"[CODETABLE]", "a\t工\t9", "abcdefg\t工作\t-3", "abc\t式",
                                    "  b  \t  卅  ", "zz\t自造\t252", "q\t", "abcdefg\t工人"}));
    ASSERT_TRUE(first.ok);
    const std::string exported = ExportText(first.library);
    // By the first three letters, then in file order among codes sharing them.
    EXPECT_NE(exported.find(
                  "a\t工\t9\r\nabcdefg\t工作\t-3\r\nabc\t式\r\nabcdefg\t工人\r\nb\t卅\r\nq\t\r\n"),
              std::string::npos)
        << exported;
    EXPECT_EQ(exported.find("自造"), std::string::npos) << "carried entries are not exported";

    const std::u16string text = u"\uFEFF" + FromUtf8(exported); // small, and read back as it is
    Bytes bytes(text.size() * 2);
    std::memcpy(bytes.data(), text.data(), bytes.size());
    const CompileResult second = CompileCodeTableText(bytes);
    ASSERT_TRUE(second.ok) << Message(second);
    EXPECT_EQ(ExportText(second.library), exported);
    const CodeTableHeader a = LibraryView::Open(first.library)->header();
    const CodeTableHeader b = LibraryView::Open(second.library)->header();
    EXPECT_EQ(a.EntryCount, b.EntryCount);
    EXPECT_EQ(a.CharCount, b.CharCount);
    EXPECT_EQ(a.PhraseCount, b.PhraseCount);
}

// Compiles with the library's largest size set to `maxBytes`.
CompileResult CompileWithLimit(const Bytes& file, std::size_t maxBytes,
                               const CarryEntries& carry = nullptr) {
    std::u16string units(file.size() / 2, u'\0');
    std::memcpy(units.data(), file.data(), units.size() * 2);
    return CompileCodeTableText(units, file.size(), carry, maxBytes);
}

TEST(CompileCodeTable, ALibraryPastItsLargestSizeIsRefusedNotWrapped) {
    const Bytes table = Table({}, {"[CODETABLE]", "a\t工", "b\t人", "abcde\t工人"});
    const CompileResult whole = CompileCodeTableText(table);
    ASSERT_TRUE(whole.ok);
    const CompileResult exact = CompileWithLimit(table, whole.library.size());
    ASSERT_TRUE(exact.ok) << "a library exactly at the limit fits";
    EXPECT_EQ(exact.library, whole.library);

    const CompileResult over = CompileWithLimit(table, whole.library.size() - 1);
    EXPECT_FALSE(over.ok);
    EXPECT_TRUE(over.tooLarge);
    EXPECT_EQ(over.message, kMsgLibraryTooLarge);
    EXPECT_TRUE(over.library.empty()) << "nothing to write";

    const CompileResult carriedOver =
        CompileWithLimit(table, whole.library.size() + 20, [](LibraryBuilder& builder) {
            return builder.AppendEntry(u"zzzz", u"很长的一个自造词", kWeightCarriedA);
        });
    EXPECT_FALSE(carriedOver.ok);
    EXPECT_TRUE(carriedOver.tooLarge) << "carried entries count against the limit too";
}

TEST(CompileCodeTable, UnixLineEndsReadLikeCrLf) {
    std::u16string text = u"\uFEFF";
    for (auto line : kHeader) {
        text += FromUtf8(line) + u"\n";
    }
    text += u"[CODETABLE]\na\t工\n";
    Bytes bytes(text.size() * 2);
    std::memcpy(bytes.data(), text.data(), bytes.size());
    const CompileResult result = CompileCodeTableText(bytes);
    ASSERT_TRUE(result.ok) << Message(result);
    EXPECT_EQ(LibraryView::Open(result.library)->header().EntryCount, 1);
}

} // namespace
} // namespace tide
