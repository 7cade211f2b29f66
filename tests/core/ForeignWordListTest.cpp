#include "core/dict/ForeignWordList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/base/Utf.h"
#include "core/dict/ForeignImport.h"
#include "support/TableBuilder.h"

namespace tide {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// UTF-16LE with or without the byte-order mark.
std::vector<std::uint8_t> Utf16(std::string_view utf8, bool mark) {
    const std::u16string units = (mark ? u"\uFEFF" : u"") + FromUtf8(utf8);
    std::vector<std::uint8_t> bytes(units.size() * 2);
    std::memcpy(bytes.data(), units.data(), bytes.size());
    return bytes;
}

std::string Words(const ForeignWordList& list) {
    std::string text;
    for (const std::u16string& word : list.words) {
        text += ToUtf8(word) + " ";
    }
    return text;
}

// A cell dictionary laid out by hand: the magic, its name, an empty pinyin
// table, then groups of words sharing a pinyin, each word with 10 bytes of
// extension (its frequency first).
class ScelBuilder {
public:
    ScelBuilder() : bytes_(0x2628) {
        const std::uint8_t magic[] = {0x40, 0x15, 0x00, 0x00, 0x44, 0x43, 0x53, 0x01, 0x01};
        std::memcpy(bytes_.data(), magic, sizeof(magic));
        const std::u16string name = u"网络流行新词";
        std::memcpy(bytes_.data() + 0x130, name.data(), name.size() * 2);
    }
    ScelBuilder& Group(std::vector<std::u16string> words) {
        U16(static_cast<std::uint16_t>(words.size()));
        U16(4); // two pinyin indexes
        U16(12);
        U16(37);
        for (const std::u16string& word : words) {
            U16(static_cast<std::uint16_t>(word.size() * 2));
            for (const char16_t unit : word) {
                U16(unit);
            }
            U16(10);
            bytes_.insert(bytes_.end(), 10, 0x01);
        }
        return *this;
    }
    std::vector<std::uint8_t> Done(bool deletedTable = false) {
        if (deletedTable) {
            for (const char16_t unit : std::u16string_view(u"DELTBL")) {
                U16(unit);
            }
            bytes_.insert(bytes_.end(), {0x05, 0x00, 0xFF, 0xFF});
        }
        return bytes_;
    }

private:
    void U16(std::uint16_t value) {
        bytes_.push_back(static_cast<std::uint8_t>(value));
        bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    std::vector<std::uint8_t> bytes_;
};

TEST(ForeignWordList, ReadsTheGroupsOfACellDictionary) {
    const auto bytes =
        ScelBuilder().Group({u"你好", u"拟好"}).Group({u"输入法"}).Done(/*deletedTable=*/true);
    const ForeignWordList list = ReadForeignWordList(bytes);
    ASSERT_EQ(list.error, "");
    EXPECT_EQ(list.format, WordListFormat::Scel);
    EXPECT_EQ(list.scelName, "网络流行新词");
    EXPECT_EQ(Words(list), "你好 拟好 输入法 ");
    EXPECT_EQ(WordListFormatName(list.format), u"搜狗细胞词库");
    // Cut anywhere inside its words: refused, never read past the end.
    for (std::size_t size = 0x2628 + 1; size < bytes.size() - 16; ++size) {
        const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + size);
        const ForeignWordList partial = ReadForeignWordList(cut);
        EXPECT_TRUE(!partial.error.empty() || partial.words.size() <= 3) << size;
    }
    const std::vector<std::uint8_t> headerOnly(bytes.begin(), bytes.begin() + 0x200);
    EXPECT_EQ(ReadForeignWordList(headerOnly).error, "the cell dictionary ends before its words");
}

TEST(ForeignWordList, RecognisesEachTextFormatAndTakesOnlyItsWords) {
    struct Case {
        const char* text;
        WordListFormat format;
        const char* words;
    } const cases[] = {
        {"'ni'hao 你好\n'shu'ru'fa 输入法\n", WordListFormat::PinyinFirst, "你好 输入法 "},
        {"ni'hao 你好 1\nshu|ru|fa\t输入法\t3\n", WordListFormat::PinyinFirst, "你好 输入法 "},
        {"你好 ni'hao 1\n输入法 shu'ru'fa 2\n", WordListFormat::WordFirst, "你好 输入法 "},
        {"你好 1\n输入法 20\n", WordListFormat::WordFirst, "你好 输入法 "},
        {"你好\tni hao\t1\n输入法\tshu ru fa\t7\n", WordListFormat::RimeExport, "你好 输入法 "},
        {"# Rime user dictionary\n#@/db_name\tluna_pinyin.userdb\nni hao \t你好\tc=1 d=1 t=1\n",
         WordListFormat::RimeUserDb, "你好 "},
        {"\n# a list\n你好\n\n输入法\nabc\n", WordListFormat::PlainWords, "你好 输入法 "},
    };
    for (const Case& c : cases) {
        for (const bool utf16 : {false, true}) {
            const ForeignWordList list =
                ReadForeignWordList(utf16 ? Utf16(c.text, false) : Bytes(c.text));
            ASSERT_EQ(list.error, "") << c.text;
            EXPECT_EQ(list.format, c.format) << c.text << (utf16 ? " (UTF-16)" : "");
            EXPECT_EQ(Words(list), c.words) << c.text;
        }
    }
    // A line of pinyin alone holds no word; it is counted.
    EXPECT_EQ(ReadForeignWordList(Bytes("ni'hao 你好\nhao\n")).linesWithoutWord, 1u);
    EXPECT_FALSE(ReadForeignWordList(Bytes("\xB0\xA1\xB0\xA2\n")).error.empty())
        << "GB18030 bytes are no UTF-8";
}

TEST(ForeignWordList, OurOwnFormatKeepsItsCodes) {
    const ForeignWordList ours = ReadForeignWordList(Utf16("wqvb\t你好\n输入法\n", true));
    ASSERT_EQ(ours.error, "");
    EXPECT_EQ(ours.format, WordListFormat::Ours);
    EXPECT_EQ(Words(ours), "你好 输入法 ");
    ASSERT_EQ(ours.codes.size(), 2u);
    EXPECT_EQ(ours.codes[0], u"wqvb");
    EXPECT_EQ(ours.codes[1], u"");
    // Pinyin with its apostrophes is another method's code, whatever the encoding.
    EXPECT_EQ(ReadForeignWordList(Utf16("ni'hao\t你好\n", true)).format,
              WordListFormat::PinyinFirst);
}

// 中 "abcd", 国 "efgh", 好 "ab": 中国 is "abef" by the default two-character rule.
TEST(ForeignImport, CodesEachPhraseAndCountsWhatItPassesOver) {
    std::vector<std::uint8_t> bytes =
        test::MakeLibrary({"abcd\t中", "efgh\t国", "ab\t好"}, 4, 0, 1, 65536);
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->AddUserEntry(u"abab", u"中中"), WordLibrary::AddResult::Added);
    const std::vector<std::u16string> words = {u"中国", u"好",   u"中中", u"中祖",
                                               u"国中", u"中国", u"𠀀"};
    const ForeignImportCounts before = CountForeignWords(*library, words);
    EXPECT_EQ(before.words, 7u);
    EXPECT_EQ(before.singleCharacters, 2u) << "好, and a character outside the BMP";
    EXPECT_EQ(before.noCode, 1u) << "祖 has no code";
    EXPECT_EQ(before.alreadyPresent, 2u) << "中中 held, 中国 given twice";
    EXPECT_EQ(before.imported, 2u);

    ForeignImportProgress progress;
    ImportForeignWords(*library, words, progress);
    EXPECT_EQ(progress.stop, UserImportStop::None);
    EXPECT_EQ(progress.counts.imported, before.imported) << "the count told beforehand holds";
    EXPECT_EQ(progress.counts.alreadyPresent, before.alreadyPresent);
    EXPECT_TRUE(library->ContainsEntry(u"abef", u"中国"));
    EXPECT_TRUE(library->ContainsEntry(u"efab", u"国中"));
    ASSERT_EQ(progress.skipped.size(), 5u);
    EXPECT_EQ(progress.skipped[0], std::make_pair(std::size_t{1}, ForeignSkip::SingleCharacter));
    EXPECT_EQ(progress.skipped[2], std::make_pair(std::size_t{3}, ForeignSkip::NoCode));
}

} // namespace
} // namespace tide
