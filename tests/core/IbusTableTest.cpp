#include "core/convert/IbusTableFormat.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/convert/PhraseFormulas.h"
#include "core/convert/SqliteFile.h"
#include "core/convert/TableConversion.h"

namespace tide {
namespace {

std::vector<std::uint8_t> SmallDatabase() {
    std::ifstream file(TIDE_FIXTURES_DIR "/dict/ibus-small.db", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Entries(const LoadedTable& table) {
    std::string text;
    for (const TableEntry& entry : table.entries) {
        text += std::string(entry.code) + " " + std::string(entry.word) + " " +
                std::to_string(static_cast<long long>(entry.weight)) + "\n";
    }
    return text;
}

TEST(IbusRule, ReadsAndWritesSignedPositions) {
    const auto rule = ParseIbusRule("ca4:p11+p21+p31+p-11");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->minLength, 4);
    EXPECT_EQ(rule->maxLength, kLongestPhrase);
    ASSERT_EQ(rule->elements.size(), 4u);
    EXPECT_TRUE(rule->elements[3].charFromEnd);
    EXPECT_FALSE(rule->elements[3].letterFromEnd);
    const auto exact = ParseIbusRule("ce2:p1-1+p-2-2");
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->maxLength, 2);
    EXPECT_TRUE(exact->elements[0].letterFromEnd);
    std::string error;
    EXPECT_EQ(FormatIbusRule(*rule, error), "ca4:p11+p21+p31+p-11");
    EXPECT_EQ(FormatIbusRule(*exact, error), "ce2:p1-1+p-2-2");
    for (const char* bad :
         {"cx2:p11", "ce0:p11", "ce2:", "ce2:p11+", "ce2:p1", "ce2:p01", "ce2:q11", "ce2:p111"}) {
        EXPECT_FALSE(ParseIbusRule(bad)) << bad;
    }
}

TEST(IbusSource, ReadsDefinitionsAndTableAndCountsWhatItLeavesOut) {
    const std::string source =
        "### a comment\nSCIM_Generic_Table_Phrase_Library_TEXT\nVERSION_1_0\n"
        "BEGIN_DEFINITION\nNAME = small\nNAME.zh_CN = 小表\nSERIAL_NUMBER = 20240101\n"
        "VALID_INPUT_CHARS = abc\nMAX_KEY_LENGTH = 2\nUSER_CAN_DEFINE_PHRASE = TRUE\n"
        "RULES = ce2:p11+p12+p21+p22;ca3:p11+p21+p-11+p-12\nEND_DEFINITION\n"
        "BEGIN_TABLE\na\t甲\t5\nab\t乙乙\t9\tignored\nabc\t丙\t1\nd\t丁\t1\naa\tNOSYMBOL\t3\n"
        "b\t戊\tmany\nnotabs\nEND_TABLE\nBEGIN_GOUCI\n甲\taa\nEND_GOUCI\n"
        "BEGIN_PINYIN\njia\t甲\t1\nEND_PINYIN\n";
    const LoadedTable table = ReadIbusSource(source);
    ASSERT_EQ(table.error, "");
    EXPECT_EQ(table.info.name, "小表");
    EXPECT_EQ(table.info.version, "20240101");
    EXPECT_EQ(table.info.codeLength, 2);
    EXPECT_TRUE(table.info.orderByWeight);
    EXPECT_EQ(table.info.rules.size(), 2u);
    EXPECT_EQ(Entries(table), "a 甲 5\nab 乙乙 9\n");
    EXPECT_EQ(table.skipped.codeOutsideKeys, 2u) << "too long, and d is no key";
    EXPECT_EQ(table.skipped.emptyWord, 1u);
    EXPECT_EQ(table.skipped.unreadable, 2u);
    EXPECT_EQ(table.skipped.constructCodes, 1u);
    EXPECT_EQ(table.skipped.pinyin, 1u);

    EXPECT_EQ(ReadIbusSource("BEGIN_DEFINITION\nNAME = x\nEND_DEFINITION\n").error,
              "no BEGIN_TABLE section");
    EXPECT_EQ(ReadIbusSource("BEGIN_DEFINITION\nRULES = ce2:p11;bad\nEND_DEFINITION\n"
                             "BEGIN_TABLE\nEND_TABLE\n")
                  .error,
              "RULES: \"bad\" is not a rule ibus-table reads");
    const LoadedTable ruleless = ReadIbusSource(
        "BEGIN_DEFINITION\nRULES = ce2:p11+p21\nEND_DEFINITION\nBEGIN_TABLE\n"
        "END_TABLE\n");
    EXPECT_TRUE(ruleless.info.rules.empty()) << "ibus-table codes no phrase with them";
    EXPECT_EQ(ruleless.notes.size(), 1u);
}

TEST(IbusDatabase, ReadsTheRowsSqliteWroteOverflowPagesIncluded) {
    const std::vector<std::uint8_t> bytes = SmallDatabase();
    ASSERT_EQ(bytes.size(), 2048u) << "tests/fixtures/dict/ibus-small.db";
    std::string storage;
    const LoadedTable table = ReadIbusDatabase(bytes, storage);
    ASSERT_EQ(table.error, "");
    EXPECT_EQ(table.info.name, "小表");
    EXPECT_EQ(table.info.codeLength, 4);
    EXPECT_EQ(table.info.rules.size(), 2u);
    std::string longWord;
    for (int i = 0; i < 200; ++i) {
        longWord += "长";
    }
    EXPECT_EQ(Entries(table), "a 工 99\naa 式 5\naa 工工 9\nb 了 300\nabcd " + longWord + " 1\n");

    // The candidate order is by freq; user_freq (7 in every row) is not read.
    const ConversionResult converted =
        ConvertTable(TableFormat::Ibus, TableFormat::Ibus,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                     "small", "small");
    ASSERT_EQ(converted.error, "");
    EXPECT_NE(converted.output.find("a\t工\t5\naa\t工工\t4\naa\t式\t3\n"), std::string::npos)
        << converted.output;
    EXPECT_NE(converted.output.find("NAME = small\nNAME.zh_CN = 小表\n"), std::string::npos);
    EXPECT_NE(converted.output.find("RULES = ce2:p11+p12+p21+p22;ca3:p11+p21+p-11+p-1-1\n"),
              std::string::npos);
}

TEST(IbusDatabase, ADamagedFileIsRefusedWithAReason) {
    const std::vector<std::uint8_t> good = SmallDatabase();
    ASSERT_EQ(good.size(), 2048u);
    std::string storage;
    const auto refusal = [&](std::vector<std::uint8_t> bytes) {
        return ReadIbusDatabase(bytes, storage).error;
    };
    EXPECT_EQ(refusal({good.begin(), good.begin() + 50}), "not an SQLite 3 database");
    std::vector<std::uint8_t> page = good;
    page[16] = 0x03; // a page size of 0x300
    EXPECT_EQ(refusal(page), "the database header names no valid page size");
    // Cut after the schema: the tables' pages lie outside the file.
    EXPECT_NE(refusal({good.begin(), good.begin() + 512}).find("lies outside the file"),
              std::string::npos);
    // Page 1 claims more cells than it can hold.
    std::vector<std::uint8_t> cells = good;
    cells[103] = 0xFF;
    cells[104] = 0xFF;
    EXPECT_NE(refusal(cells).find("damaged"), std::string::npos);
    // Any single byte changed anywhere: refused or read, never a crash (the
    // fuzzer goes on from here).
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::vector<std::uint8_t> changed = good;
        changed[at] ^= 0xA5;
        ReadIbusDatabase(changed, storage);
    }
}

TEST(IbusSource, OurTablesGoThereAndBackWithEveryEntryInOrder) {
    const std::string source =
        "BEGIN_DEFINITION\nNAME = t\nVALID_INPUT_CHARS = abcdefghijklmnopqrstuvwxyz\n"
        "USER_CAN_DEFINE_PHRASE = TRUE\nRULES = ce2:p11+p12+p21+p22;ca3:p11+p21+p31+p-11\n"
        "END_DEFINITION\nBEGIN_TABLE\nb\t乙\t1\nb\t丙\t7\na\t甲\t2\nab\t甲乙\t1\nEND_TABLE\n";
    const ConversionResult mine =
        ConvertTable(TableFormat::Ibus, TableFormat::Tide, source, "t", "t");
    ASSERT_EQ(mine.error, "");
    const ConversionResult back =
        ConvertTable(TableFormat::Tide, TableFormat::Ibus, mine.output, "t", "t");
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.written, 4u);
    const LoadedTable again = ReadIbusSource(back.output);
    ASSERT_EQ(again.error, "");
    std::string order;
    for (const TableEntry& entry : again.entries) {
        order += std::string(entry.code) + std::string(entry.word) + " ";
    }
    EXPECT_EQ(order, "b丙 b乙 a甲 ab甲乙 ") << "codes in file order, each by falling freq";
    EXPECT_EQ(again.info.rules, ReadIbusSource(source).info.rules);
}

} // namespace
} // namespace tide
