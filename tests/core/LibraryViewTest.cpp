#include "core/dict/LibraryView.h"

#include <gtest/gtest.h>

#include "support/Fixtures.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
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

// The entries a walk visits; nothing when it finds the library damaged.
std::optional<std::size_t> CountEntries(const Bytes& bytes) {
    const auto view = LibraryView::Open(bytes);
    if (!view) {
        return 0;
    }
    std::size_t count = 0;
    if (!view->ForEachEntry([&](const LibraryEntry&) { ++count; })) {
        return std::nullopt;
    }
    return count;
}

// A library whose index is a chain of shared nodes: every letter of the root
// leads to node A, every letter of A to B, every letter of B to C, and C
// holds `records` records. Read naively, its records are visited 26^3 times.
Bytes SharedNodeLibrary(std::uint32_t records) {
    Bytes bytes = SmallLibrary();
    std::uint32_t root = 0;
    std::memcpy(&root, bytes.data() + 188, 4);
    bytes.resize(root);
    auto append = [&bytes](std::size_t size) {
        const auto offset = static_cast<std::uint32_t>(bytes.size());
        bytes.resize(bytes.size() + size, 0);
        return offset;
    };
    std::uint32_t parent = append(kIndexNodeSize);
    for (int level = 0; level < 3; ++level) {
        const std::uint32_t child = append(kIndexNodeSize);
        for (std::uint32_t letter = 0; letter < 26; ++letter) {
            Put32(bytes, parent + 4 * letter, child);
        }
        parent = child;
    }
    std::uint32_t link = parent + kNodeFirstRecordField;
    for (std::uint32_t i = 0; i < records; ++i) {
        const std::uint32_t record = append(RecordSize(3, 1));
        Put32(bytes, link, record);
        Put32(bytes, record + kRecordWeightField, 1);
        Put32(bytes, record + kRecordTailField + 1, u'字'); // no tail, then the word
        link = record + kRecordNextField;
    }
    Put32(bytes, 192, static_cast<std::uint32_t>(bytes.size()));
    return bytes;
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
    EXPECT_EQ(CountEntries(unterminated), std::nullopt);
}

TEST(LibraryView, ANodeOrRecordReachedTwiceIsDamage) {
    Bytes sharedNode = SmallLibrary();
    Put32(sharedNode, kRoot + 4 * 1, kNodeA); // "b" leads to node a as well
    EXPECT_EQ(CountEntries(sharedNode), std::nullopt);

    Bytes sharedRecord = SmallLibrary();
    Put32(sharedRecord, kRecordAbcd, 0);              // abcd ends its chain...
    Put32(sharedRecord, kNodeAbc + 104, kRecordAbcx); // ...and abcx starts a second one too
    Put32(sharedRecord, kNodeA + 104, kRecordAbcx);
    EXPECT_EQ(CountEntries(sharedRecord), std::nullopt);

    Bytes overlapping = SmallLibrary();
    Put32(overlapping, kNodeA + 104, kRecordAbcd + 2); // a record inside another one
    EXPECT_EQ(CountEntries(overlapping), std::nullopt);

    Bytes secondOfARun = SmallLibrary();
    Put32(secondOfARun, kNodeA + 104, kRecordAbcx); // abcx, behind abcd in its chain, too
    EXPECT_EQ(CountEntries(secondOfARun), std::nullopt);

    Bytes insideItsLink = SmallLibrary();
    Put32(insideItsLink, kRecordAbcd, kRecordAbcd + 4); // abcd's next starts inside abcd
    EXPECT_EQ(CountEntries(insideItsLink), std::nullopt);

    // abcd ends its chain and abcx, right behind it, becomes node a's only
    // record (in place of a's own): records back to back in two chains are fine.
    Bytes backToBack = SmallLibrary();
    Put32(backToBack, kRecordAbcd, 0);
    Put32(backToBack, kNodeA + 104, kRecordAbcx);
    EXPECT_EQ(CountEntries(backToBack), 6u);
}

TEST(LibraryView, AWalkOfSharedNodesEndsAfterOnePass) {
    const Bytes bytes = SharedNodeLibrary(9000);
    const auto view = LibraryView::Open(bytes);
    ASSERT_TRUE(view);
    std::size_t visited = 0;
    EXPECT_FALSE(view->ForEachEntry([&](const LibraryEntry&) { ++visited; }));
    EXPECT_LE(visited, 9000u) << "each record at most once, not 26^3 times";
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
