#include "core/dict/LibraryView.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes SmallLibrary() {
    return test::ReadFixture("dict/small.imc");
}

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

std::size_t CountEntries(const Bytes& bytes) {
    const auto view = LibraryView::Open(bytes);
    if (!view) {
        return 0;
    }
    std::size_t count = 0;
    view->ForEachEntry([&](const LibraryEntry&) { ++count; });
    return count;
}

// Offsets in small.imc (see tests/fixtures/dict/make-small-library.py).
constexpr std::size_t kRoot = 1940, kNodeA = 2048, kNodeAbc = 2277, kRecordAbcd = 2385,
                      kRecordAbcx = 2399;

TEST(LibraryView, WalksTheIndexInPrefixOrder) {
    std::vector<std::u16string> codes;
    const Bytes bytes = SmallLibrary();
    LibraryView::Open(bytes)->ForEachEntry(
        [&](const LibraryEntry& e) { codes.emplace_back(e.code); });
    EXPECT_EQ(codes,
              (std::vector<std::u16string>{u"a", u"ab", u"abcd", u"abcx", u"abcdef", u"b", u"zz"}));
}

TEST(LibraryView, RefusesHeadersThatCannotBeRight) {
    LibraryOpenError error = LibraryOpenError::None;
    EXPECT_FALSE(LibraryView::Open(Bytes(611, 0), &error));
    EXPECT_EQ(error, LibraryOpenError::NotALibrary);

    const Bytes good = SmallLibrary();
    const struct {
        std::size_t offset;
        std::uint32_t value;
    } damages[] = {
        {192, 2801},       // UsedLength past the end of the data
        {188, 100},        // RootOffset inside the header
        {188, 2750},       // root node would end past UsedLength
        {188, 0xFFFFFFF0}, // offset that overflows when a node is added
    };
    for (const auto& damage : damages) {
        Bytes bytes = good;
        Put32(bytes, damage.offset, damage.value);
        EXPECT_FALSE(LibraryView::Open(bytes, &error)) << damage.offset;
        EXPECT_EQ(error, LibraryOpenError::Damaged);
    }
    Bytes wide = good;
    wide[196] = 13; // a slot wider than 12 letters
    EXPECT_FALSE(LibraryView::Open(wide));
    Bytes noCode = good;
    noCode[196] = 0;
    EXPECT_FALSE(LibraryView::Open(noCode));
}

TEST(LibraryView, DamagedLinksEndTheWalkInsteadOfLooping) {
    Bytes loop = SmallLibrary();
    Put32(loop, kRecordAbcx, kRecordAbcd); // abcx -> abcd -> abcx -> ...
    EXPECT_EQ(CountEntries(loop), 6u);

    Bytes self = SmallLibrary();
    Put32(self, kRecordAbcd, kRecordAbcd);
    EXPECT_EQ(CountEntries(self), 5u);

    Bytes childBack = SmallLibrary();
    Put32(childBack, kNodeA, kRoot); // node a's child "a" points at the root
    EXPECT_EQ(CountEntries(childBack), 7u);

    Bytes outside = SmallLibrary();
    Put32(outside, kNodeAbc + 104, 0xFFFFFFF0);
    EXPECT_EQ(CountEntries(outside), 4u);

    Bytes unterminated = SmallLibrary();
    unterminated.resize(2798); // the last word loses its terminator
    Put32(unterminated, 192, 2798);
    EXPECT_EQ(CountEntries(unterminated), 6u);
}

TEST(LibraryView, CharCodesStayInsideTheCharCodeTable) {
    const Bytes bytes = SmallLibrary();
    const auto view = LibraryView::Open(bytes);
    EXPECT_EQ(view->CharCode(331), u"abcd");
    EXPECT_EQ(view->CharCode(1), u"abcx");
    EXPECT_EQ(view->CharCode(2), u"");
    EXPECT_EQ(view->CharCode(0), u"");
    EXPECT_EQ(view->CharCode(332), u"") << "past RootOffset";
    EXPECT_EQ(view->CharCode(94307), u"");
}

} // namespace
} // namespace tide
