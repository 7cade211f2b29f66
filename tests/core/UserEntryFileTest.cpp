#include "core/dict/UserEntryFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/TableBuilder.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 中 "abcd" and 国 "efgh": 中国 is "abef" by the default two-character rule.
Bytes Library(std::size_t growthRoom = 65536) {
    return test::MakeLibrary({"abcd\t中", "efgh\t国", "ab\t好"}, 4, 0, 1, growthRoom);
}

UserImportProgress Import(WordLibrary& library, std::u16string_view text) {
    UserImportProgress progress;
    ImportUserEntries(library, text, progress);
    return progress;
}

TEST(ImportUserEntries, WordsAloneAreEncodedAndPresentEntriesCounted) {
    Bytes bytes = Library();
    auto library = WordLibrary::Open(bytes, false);
    const auto progress = Import(*library, u"中国\r\n\r\nxyz\t自定\t9\r\nab\t好\r\n中国\t\r\n");
    EXPECT_EQ(progress.stop, UserImportStop::None);
    EXPECT_EQ(progress.linesRead, 4u) << "the blank line is no entry";
    EXPECT_EQ(progress.imported, 2u);
    EXPECT_EQ(progress.alreadyPresent(), 2u) << "a table entry and a line given twice";
    EXPECT_TRUE(library->ContainsEntry(u"abef", u"中国"));
    EXPECT_TRUE(library->ContainsEntry(u"xyz", u"自定"));
}

TEST(ImportUserEntries, StopsAtALineItCannotTakeAndKeepsWhatCameBefore) {
    Bytes bytes = Library();
    auto library = WordLibrary::Open(bytes, false);
    auto lone = Import(*library, u"xy\t一\r\n中\r\nzz\t二\r\n");
    EXPECT_EQ(lone.stop, UserImportStop::EncodingFailed);
    EXPECT_EQ(lone.lineNumber, 2u);
    EXPECT_EQ(lone.culprit, u"中") << "a single character has no phrase code";
    EXPECT_EQ(lone.imported, 1u);
    EXPECT_TRUE(library->ContainsEntry(u"xy", u"一"));
    EXPECT_FALSE(library->ContainsEntry(u"zz", u"二"));

    auto capital = Import(*library, u"\r\nqq\t三\r\nqQ\t四\r\n");
    EXPECT_EQ(capital.stop, UserImportStop::IllegalCode);
    EXPECT_EQ(capital.lineNumber, 3u);
    EXPECT_EQ(capital.culprit, u"qQ");
    EXPECT_TRUE(library->ContainsEntry(u"qq", u"三"));
}

TEST(ImportUserEntries, AReadOnlyLibraryCountsWhatItHoldsAndRefusesTheFirstNewLine) {
    Bytes bytes = Library();
    const Bytes original = bytes;
    auto library = WordLibrary::Open(bytes, true);
    const auto progress = Import(*library, u"ab\t好\r\nxy\t一\r\n");
    EXPECT_EQ(progress.stop, UserImportStop::EntryRefused) << "not reported as full";
    EXPECT_EQ(progress.lineNumber, 1u);
    EXPECT_EQ(progress.culprit, u"一");
    EXPECT_EQ(progress.alreadyPresent(), 1u);
    EXPECT_EQ(bytes, original);
}

TEST(ImportUserEntries, AFullLibraryStopsAtTheLineAndTheImportGoesOnWithRoom) {
    Bytes bytes = Library(40); // room for one record of a short word
    std::u16string text;
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        text += std::u16string(u"qu") + c + u"\t词" + c + u"\r\n";
    }
    auto library = WordLibrary::Open(bytes, false);
    UserImportProgress progress;
    ImportUserEntries(*library, text, progress);
    ASSERT_EQ(progress.stop, UserImportStop::LibraryFull);
    const std::size_t first = progress.imported;
    EXPECT_LT(first, 26u);
    EXPECT_EQ(progress.linesRead, first) << "the line that did not fit is not counted";
    EXPECT_EQ(progress.lineNumber, first);

    // Room as tidetool makes it: a larger buffer, the Capacity with it.
    bytes.resize(bytes.size() + 65536, 0);
    library = WordLibrary::Open(bytes, false);
    library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
    ImportUserEntries(*library, text, progress);
    EXPECT_EQ(progress.stop, UserImportStop::None);
    EXPECT_EQ(progress.imported, 26u);
    EXPECT_EQ(progress.linesRead, 26u);
    EXPECT_EQ(progress.lineNumber, 26u);
}

TEST(UserEntriesText, ExportedEntriesImportAgainAsPresent) {
    Bytes bytes = Library();
    auto library = WordLibrary::Open(bytes, false);
    ASSERT_EQ(Import(*library, u"中国\r\nxyz\t自定\r\n").imported, 2u);
    const auto entries = ListUserEntries(*library->view());
    ASSERT_TRUE(entries);
    const std::u16string text = UserEntriesText(*entries);
    EXPECT_EQ(text, u"\uFEFFabef\t中国\r\nxyz\t自定\r\n");
    const auto again = Import(*library, std::u16string_view(text).substr(1));
    EXPECT_EQ(again.linesRead, 2u);
    EXPECT_EQ(again.imported, 0u);
}

} // namespace
} // namespace tide
