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
    for (const std::u16string_view word : list.words) {
        text += ToUtf8(word) + " ";
    }
    return text;
}

// A cell dictionary laid out by hand: the magic, its name, a pinyin table of
// five syllables (the files in use have 413, ending at 0x2628), then groups
// of words sharing a pinyin, each word with 10 bytes of extension (its
// frequency first).
class ScelBuilder {
public:
    ScelBuilder() : bytes_(0x1540) {
        const std::uint8_t magic[] = {0x40, 0x15, 0x00, 0x00, 0x44, 0x43, 0x53, 0x01, 0x01};
        std::memcpy(bytes_.data(), magic, sizeof(magic));
        const std::u16string name = u"网络流行新词";
        std::memcpy(bytes_.data() + 0x130, name.data(), name.size() * 2);
        const std::u16string_view syllables[] = {u"fa", u"hao", u"ni", u"ru", u"shu"};
        Units({static_cast<char16_t>(std::size(syllables)), 0});
        for (std::size_t i = 0; i < std::size(syllables); ++i) {
            Units({static_cast<char16_t>(i), static_cast<char16_t>(syllables[i].size() * 2)});
            Units(syllables[i]);
        }
    }
    // Pinyin by the table's indexes: ni'hao unless told.
    ScelBuilder& Group(std::vector<std::u16string> words, std::vector<char16_t> pinyin = {2, 1}) {
        Units({static_cast<char16_t>(words.size()), static_cast<char16_t>(pinyin.size() * 2)});
        Units(std::u16string(pinyin.begin(), pinyin.end()));
        for (const std::u16string& word : words) {
            Units({static_cast<char16_t>(word.size() * 2)});
            Units(word);
            Units({10});
            bytes_.insert(bytes_.end(), 10, 0x01);
        }
        return *this;
    }
    // Little-endian UTF-16 units, or any 16-bit values.
    ScelBuilder& Units(std::u16string_view units) {
        for (const char16_t unit : units) {
            bytes_.push_back(static_cast<std::uint8_t>(unit));
            bytes_.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        return *this;
    }
    ScelBuilder& Units(std::initializer_list<char16_t> units) {
        return Units(std::u16string_view(units.begin(), units.size()));
    }
    std::vector<std::uint8_t> Done(bool deletedTable = false) {
        if (deletedTable) {
            Units(u"DELTBL");
            bytes_.insert(bytes_.end(), {0x05, 0x00, 0xFF, 0xFF});
        }
        return bytes_;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

TEST(ForeignWordList, ReadsTheGroupsOfACellDictionary) {
    // An empty group between, a word padded with NULs, zero bytes at the end.
    const auto bytes = ScelBuilder()
                           .Group({u"你好", u"拟好"})
                           .Group({}, {})
                           .Group({std::u16string(u"输入法\0\0", 5)}, {4, 3, 0})
                           .Units(std::u16string(3, u'\0'))
                           .Done();
    const ForeignWordList list = ReadForeignWordList(bytes);
    ASSERT_EQ(list.error, "");
    EXPECT_EQ(list.format, WordListFormat::Scel);
    EXPECT_EQ(list.scelName, "网络流行新词");
    EXPECT_EQ(Words(list), "你好 拟好 输入法 ");
    EXPECT_EQ(WordListFormatName(list.format), u"搜狗细胞词库");
    // The deleted words' table ends the words.
    EXPECT_EQ(Words(ReadForeignWordList(ScelBuilder().Group({u"你好"}).Done(true))), "你好 ");
}

TEST(ForeignWordList, RefusesADamagedCellDictionary) {
    const auto bytes = ScelBuilder().Group({u"你好", u"拟好"}).Group({u"输入法"}, {4, 3, 0}).Done();
    // Cut anywhere: refused, or the words of the groups before the cut.
    for (std::size_t size = 8; size < bytes.size(); ++size) {
        const ForeignWordList cut = ReadForeignWordList(std::span(bytes).first(size));
        if (size < 0x1544) {
            EXPECT_EQ(cut.error, "the cell dictionary ends before its words") << size;
        } else if (cut.error.empty()) {
            EXPECT_TRUE(Words(cut) == "" || Words(cut) == "你好 拟好 ") << size;
        } else {
            EXPECT_EQ(cut.error.substr(0, 21), "the cell dictionary's") << size;
        }
    }
    std::vector<std::uint8_t> noTable = bytes;
    std::fill_n(noTable.begin() + 0x1540, 4, 0);
    EXPECT_EQ(ReadForeignWordList(noTable).error, "the cell dictionary's pinyin table is damaged");
    const std::string wordsDamaged = "the cell dictionary's words are damaged";
    EXPECT_EQ(ReadForeignWordList(ScelBuilder().Group({u"你好"}, {2, 5}).Done()).error,
              wordsDamaged)
        << "a syllable the table lacks";
    EXPECT_EQ(ReadForeignWordList(ScelBuilder().Group({u"你好"}, {}).Done()).error, wordsDamaged)
        << "words without pinyin";
    EXPECT_EQ(ReadForeignWordList(ScelBuilder().Units({1, 2, 2, 3, u'你', 0, 0}).Done()).error,
              wordsDamaged)
        << "a word of an odd byte length";
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
        {"你好(ni|hao) 1\n输入法(shu|ru|fa) 2\n(括号)\n", WordListFormat::WordFirst,
         "你好 输入法 (括号) "},
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
    // Neither UTF-8 nor UTF-16: GB18030 ("ni'hao 你好", "a'a 啊阿"), when it is valid there.
    const ForeignWordList gb =
        ReadForeignWordList(Bytes("ni'hao \xC4\xE3\xBA\xC3\r\na'a \xB0\xA1\xB0\xA2\r\n"));
    ASSERT_EQ(gb.error, "");
    EXPECT_EQ(gb.format, WordListFormat::PinyinFirst);
    EXPECT_EQ(Words(gb), "你好 啊阿 ");
    EXPECT_EQ(ReadForeignWordList(Bytes("\xB0\xA1\x80\n")).error,
              "neither a cell dictionary nor UTF-8, UTF-16 or GB18030 text");
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
    // Our lines may carry a weight; the word is still the second field.
    const ForeignWordList weighted = ReadForeignWordList(Utf16("zzzz\t测试\t7\n我们\n", true));
    EXPECT_EQ(weighted.format, WordListFormat::Ours);
    EXPECT_EQ(Words(weighted), "测试 我们 ");
    EXPECT_EQ(weighted.codes[0], u"zzzz");
    // Our form without its mark stays ours (and meets our form's refusal);
    // words alone without the mark are a plain list.
    EXPECT_EQ(ReadForeignWordList(Utf16("xxww\t五号\n", false)).format, WordListFormat::Ours);
    EXPECT_EQ(ReadForeignWordList(Bytes("xxww\t五号\n")).format, WordListFormat::Ours);
    EXPECT_EQ(ReadForeignWordList(Utf16("五号\n六号\n", false)).format, WordListFormat::PlainWords);
}

// 中 "abcd", 国 "efgh", 好 "ab": 中国 is "abef" by the default two-character rule.
TEST(ForeignImport, CodesEachPhraseAndCountsWhatItPassesOver) {
    std::vector<std::uint8_t> bytes =
        test::MakeLibrary({"abcd\t中", "efgh\t国", "ab\t好"}, 4, 0, 1, 65536);
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_TRUE(library);
    ASSERT_EQ(library->AddUserEntry(u"abab", u"中中"), WordLibrary::AddResult::Added);
    const std::vector<std::u16string_view> words = {u"中国", u"好",   u"中中", u"中祖",
                                                    u"国中", u"中国", u"𠀀"};
    const ForeignImportCounts before = CountForeignWords(*library, words);
    EXPECT_EQ(before.words, 7u);
    EXPECT_EQ(before.singleCharacters, 2u) << "好, and a character outside the BMP";
    EXPECT_EQ(before.noCode, 1u) << "祖 has no code";
    EXPECT_EQ(before.alreadyPresent, 2u) << "中中 held, 中国 given twice";
    EXPECT_EQ(before.imported, 2u);

    ForeignImportProgress progress;
    progress.listSkipped = true;
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
