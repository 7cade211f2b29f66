#include "core/dict/WordLibrary.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/dict/CodeTableWriter.h"
#include "support/TableBuilder.h"

namespace tide {
namespace {

using Add = WordLibrary::AddResult;

using Bytes = std::vector<std::uint8_t>;

std::uint32_t UsedLength(const Bytes& bytes) {
    std::uint32_t used;
    std::memcpy(&used, bytes.data() + offsetof(CodeTableHeader, UsedLength), 4);
    return used;
}

TEST(WordLibrary, LooksUpCharacterCodesIncludingSecondCodes) {
    Bytes bytes = test::MakeLibrary({"abcd/xy\t工", "a\t𠀀"}, 4, 2);
    const auto library = WordLibrary::Open(bytes, true);
    ASSERT_TRUE(library);
    EXPECT_EQ(library->LookupCharCode(U'工'), u"abcd/xy");
    EXPECT_EQ(library->LookupCharCode(U'𠀀'), u"a");
    EXPECT_EQ(library->LookupCharCode(U'式'), u"");
    EXPECT_EQ(library->LookupCharCode(U'A'), u"") << "no slot";
}

TEST(WordLibrary, FindsNodesByTheFirstThreeLettersInAnyCase) {
    Bytes bytes = test::MakeLibrary({"abcde\t工作", "abc\t式"});
    const auto library = WordLibrary::Open(bytes, true);
    const auto node = library->FindCodeNode(u"ABCxyz");
    ASSERT_TRUE(node);
    EXPECT_EQ(node->path, u"abc");
    EXPECT_FALSE(library->FindCodeNode(u"abd"));
    EXPECT_FALSE(library->FindCodeNode(u"a1"));
    EXPECT_TRUE(library->ContainsEntry(u"abcde", u"工作"));
    EXPECT_FALSE(library->ContainsEntry(u"ABCDE", u"工作")) << "codes compare exactly";
    EXPECT_FALSE(library->ContainsEntry(u"abcde", u"工"));
}

TEST(WordLibrary, UserEntriesAreAddedInPlaceAndListed) {
    Bytes bytes = test::MakeLibrary({"a\t工"});
    auto library = WordLibrary::Open(bytes, false);
    const std::uint32_t before = UsedLength(bytes);
    ASSERT_EQ(library->AddUserEntry(u"abcdef", u"用户词"), Add::Added);
    const std::uint32_t once = UsedLength(bytes);
    EXPECT_EQ(library->AddUserEntry(u"abcdef", u"用户词"), Add::AlreadyPresent);
    EXPECT_EQ(UsedLength(bytes), once) << "a duplicate writes nothing";
    EXPECT_EQ(library->AddUserEntry(u"a", u"工"), Add::AlreadyPresent) << "so does a table entry";
    ASSERT_EQ(library->AddUserEntry(u"a", u"又"), Add::Added);
    ASSERT_EQ(library->AddUserEntry(u"abcdef", u"用户"), Add::Added) << "same code, new word";
    EXPECT_GT(UsedLength(bytes), before);
    EXPECT_TRUE(library->ContainsEntry(u"abcdef", u"用户词"));
    const auto listed = ListUserEntries(*library->view());
    ASSERT_TRUE(listed);
    const auto& users = *listed;
    ASSERT_EQ(users.size(), 3u);
    EXPECT_EQ(users[2].word, u"用户") << "appended behind the node's last record";
    EXPECT_EQ(users[0].code, u"a");
    EXPECT_EQ(users[0].word, u"又");
    EXPECT_EQ(users[1].code, u"abcdef");
    EXPECT_EQ(users[1].weight, kWeightUser);

    // User entries never reach an export.
    CodeTableWriter writer;
    ExportEntries(*library->view(), writer);
    EXPECT_EQ(writer.text(), u"\uFEFFa\t工\r\n");
}

TEST(WordLibrary, RemoveUnlinksAndAddingAgainAppends) {
    Bytes bytes = test::MakeLibrary({"abcd\t工", "abce\t式"});
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_EQ(library->AddUserEntry(u"abcf", u"用户"), Add::Added);
    const std::uint32_t used = UsedLength(bytes);
    EXPECT_TRUE(library->RemoveEntry(u"abce", u"式"));
    EXPECT_FALSE(library->RemoveEntry(u"abce", u"式")) << "already gone";
    EXPECT_EQ(UsedLength(bytes), used) << "removing never shrinks the library";
    EXPECT_FALSE(library->ContainsEntry(u"abce", u"式"));
    EXPECT_TRUE(library->ContainsEntry(u"abcd", u"工"));
    EXPECT_TRUE(library->ContainsEntry(u"abcf", u"用户"));
    EXPECT_TRUE(library->RemoveEntry(u"abcd", u"工")) << "the first record of a node";
    ASSERT_EQ(library->AddUserEntry(u"abcd", u"工"), Add::Added);
    EXPECT_GT(UsedLength(bytes), used);
    std::vector<std::u16string> words;
    library->view()->ForEachEntry([&](const LibraryEntry& e) { words.emplace_back(e.word); });
    EXPECT_EQ(words, (std::vector<std::u16string>{u"用户", u"工"}));
}

TEST(WordLibrary, ReadOnlyOrFullLibrariesRefuseChanges) {
    Bytes bytes = test::MakeLibrary({"a\t工"});
    const Bytes original = bytes;
    auto readOnly = WordLibrary::Open(bytes, true);
    EXPECT_EQ(readOnly->AddUserEntry(u"ab", u"式"), Add::Refused);
    EXPECT_FALSE(readOnly->RemoveEntry(u"a", u"工"));
    EXPECT_EQ(bytes, original);

    auto writable = WordLibrary::Open(bytes, false);
    EXPECT_EQ(writable->AddUserEntry(u"aB", u"式"), Add::Refused) << "letters a-z only";
    EXPECT_EQ(writable->AddUserEntry(u"a/b", u"式"), Add::Refused);
    EXPECT_EQ(writable->AddUserEntry(u"", u"式"), Add::Refused);
    EXPECT_EQ(writable->AddUserEntry(u"ab", std::u16string_view(u"式\0", 2)), Add::Refused);
    EXPECT_EQ(bytes, original);

    // Room for exactly one more small record on an existing node.
    Bytes tight = test::MakeLibrary({"a\t工"}, 4, 0, 1, 0);
    const std::uint32_t capacity = UsedLength(tight) + static_cast<std::uint32_t>(RecordSize(1, 1));
    tight.resize(capacity + 100, 0);
    auto full = WordLibrary::Open(tight, false);
    full->SetCapacity(capacity);
    EXPECT_EQ(full->AddUserEntry(u"bcd", u"新"), Add::Full) << "three new nodes do not fit";
    EXPECT_EQ(full->AddUserEntry(u"a", u"长词"), Add::Full) << "the record would end past Capacity";
    EXPECT_EQ(full->AddUserEntry(u"a", u"工"), Add::AlreadyPresent) << "present before full";
    EXPECT_EQ(full->AddUserEntry(u"a", u"新"), Add::Added);
    EXPECT_EQ(UsedLength(tight), capacity);
    EXPECT_EQ(full->AddUserEntry(u"a", u"旧"), Add::Full);
}

TEST(WordLibrary, CarriesOnlyWeights252And253) {
    Bytes bytes = test::MakeLibrary({"a\t工", "b\t甲\t252", "c\t乙\t253", "d\t丙\t251"});
    const Bytes table = test::MakeTable({"e\t丁"});
    const auto source = LibraryView::Open(bytes);
    const CompileResult result = CompileCodeTableText(
        table, [&](LibraryBuilder& builder) { return CarryUserEntries(*source, builder); });
    ASSERT_TRUE(result.ok);
    std::vector<std::u16string> words;
    LibraryView::Open(result.library)->ForEachEntry([&](const LibraryEntry& e) {
        words.emplace_back(e.word);
    });
    EXPECT_EQ(words, (std::vector<std::u16string>{u"甲", u"乙", u"丁"}));
}

TEST(WordLibrary, DamagedLinksNeverLeadOutsideTheBytes) {
    Bytes bytes = test::MakeLibrary({"abcd\t工"});
    auto library = WordLibrary::Open(bytes, false);
    const auto node = library->FindCodeNode(u"abc");
    ASSERT_TRUE(node);
    // The node's first record points far past the end.
    const std::uint32_t bogus = 0x7FFFFFF0;
    std::memcpy(bytes.data() + node->offset + kNodeFirstRecordField, &bogus, 4);
    EXPECT_FALSE(library->ContainsEntry(u"abcd", u"工"));
    EXPECT_FALSE(library->RemoveEntry(u"abcd", u"工"));
    EXPECT_EQ(library->AddUserEntry(u"abcd", u"新"), Add::Added)
        << "a bad link is replaced by the new record";
    EXPECT_TRUE(library->ContainsEntry(u"abcd", u"新"));
    // A header broken after opening: nothing is found and nothing is added,
    // whichever of the fields opening checks is broken.
    bytes[offsetof(CodeTableHeader, PhraseRule)] = 12;
    EXPECT_FALSE(library->ContainsEntry(u"abcd", u"新"));
    EXPECT_EQ(library->AddUserEntry(u"abcd", u"再"), Add::Refused);
    bytes[offsetof(CodeTableHeader, PhraseRule)] = 1;
    std::memset(bytes.data() + offsetof(CodeTableHeader, RootOffset), 0xFF, 4);
    EXPECT_FALSE(library->ContainsEntry(u"abcd", u"新"));
    EXPECT_EQ(library->AddUserEntry(u"abcd", u"再"), Add::Refused);
    EXPECT_FALSE(library->view());
}

TEST(WordLibrary, ARecordCutShortByTheEndOfTheBytesNeverMatches) {
    Bytes bytes = test::MakeLibrary({"abcd\t工"});
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_EQ(library->AddUserEntry(u"abcd", u"用户"), Add::Added);
    // The bytes end inside the last record: its word has no terminator.
    const std::uint32_t cut = UsedLength(bytes) - 2;
    std::memcpy(bytes.data() + offsetof(CodeTableHeader, UsedLength), &cut, 4);
    bytes.resize(cut);
    library = WordLibrary::Open(bytes, true);
    ASSERT_TRUE(library);
    EXPECT_TRUE(library->ContainsEntry(u"abcd", u"工"));
    EXPECT_FALSE(library->ContainsEntry(u"abcd", u"用户"));
    EXPECT_FALSE(library->ContainsEntry(u"abcd", u"用"));
    EXPECT_FALSE(library->ContainsEntry(u"abcde", u"用户"));
}

TEST(WordLibrary, TheShortestRecordsAreFoundWhereverTheyLie) {
    // A three-letter code and an empty word take eleven bytes: a zero for
    // the tail and a zero unit for the word follow the record's two fields.
    Bytes bytes = test::MakeLibrary({"abcd\t工"});
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_EQ(library->AddUserEntry(u"abc", u""), Add::Added);
    EXPECT_TRUE(library->ContainsEntry(u"abc", u"")) << "the last record in the bytes";
    EXPECT_FALSE(library->ContainsEntry(u"abc", u"工"));
    EXPECT_EQ(library->AddUserEntry(u"abc", u""), Add::AlreadyPresent);
    // Records behind it, linked from the next: the byte after its word is
    // the next record's link field, no part of this one.
    ASSERT_EQ(library->AddUserEntry(u"abc", u"工"), Add::Added);
    ASSERT_EQ(library->AddUserEntry(u"abc", u"乙"), Add::Added);
    ASSERT_EQ(library->AddUserEntry(u"abc", u"丙"), Add::Added);
    EXPECT_TRUE(library->ContainsEntry(u"abc", u""));
    EXPECT_EQ(library->AddUserEntry(u"abc", u""), Add::AlreadyPresent);
    EXPECT_TRUE(library->ContainsEntry(u"abc", u"乙"));
}

TEST(WordLibrary, WordsOfUnitsWithZeroBytesAreReadWholeAndCutOnesAreDamage) {
    // U+4E00 and U+0100 each have a zero byte; only a zero unit ends a word.
    for (std::size_t length = 1; length <= 9; ++length) {
        std::u16string word;
        for (std::size_t i = 0; i < length; ++i) {
            word.push_back(i % 2 ? u'\u0100' : u'\u4E00');
        }
        Bytes bytes = test::MakeLibrary({"a\t工"});
        auto library = WordLibrary::Open(bytes, false);
        ASSERT_EQ(library->AddUserEntry(u"abcd", word), Add::Added);
        const auto listed = ListUserEntries(*library->view());
        ASSERT_TRUE(listed);
        ASSERT_EQ(listed->size(), 1u);
        EXPECT_EQ(listed->front().word, word) << length << " units, last in the bytes";

        // The bytes end inside the terminator, or just before it.
        for (const std::uint32_t shortBy : {1u, 2u}) {
            Bytes cut = bytes;
            const std::uint32_t used = UsedLength(cut) - shortBy;
            std::memcpy(cut.data() + offsetof(CodeTableHeader, UsedLength), &used, 4);
            cut.resize(used);
            const auto view = LibraryView::Open(cut);
            ASSERT_TRUE(view);
            EXPECT_FALSE(view->Verify()) << length << " units, short by " << shortBy;
        }

        // With a record behind it, the word's end is found among whole blocks of units.
        ASSERT_EQ(library->AddUserEntry(u"zzzz", u"工作"), Add::Added);
        const auto followed = ListUserEntries(*library->view());
        ASSERT_TRUE(followed);
        ASSERT_EQ(followed->size(), 2u);
        EXPECT_EQ(followed->front().word, word) << length << " units, followed";
    }
}

} // namespace
} // namespace tide
