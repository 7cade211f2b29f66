#include "core/dict/PackagedDictionary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "support/Fixtures.h"
#include "support/TableBuilder.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes SmallLibrary() {
    return test::ReadFixture("dict/small.imc");
}

TEST(PackagedDictionary, PackAndUnpackGiveTheLibraryBackByteForByte) {
    const Bytes library = SmallLibrary();
    const Bytes package = PackDictionary(library);
    ASSERT_GT(package.size(), kPackageHeaderSize);
    EXPECT_EQ(Bytes(package.begin(), package.begin() + 4), (Bytes{'T', 'I', 'D', 'C'}));
    const UnpackResult result = UnpackDictionary(package);
    ASSERT_EQ(result.status, UnpackStatus::Ok);
    EXPECT_EQ(result.library, library);
}

TEST(PackagedDictionary, StreamsWithoutAnEndMarkerUnpackToo) {
    const Bytes library = SmallLibrary();
    Bytes package = PackDictionary(library);
    // The end marker takes the last bytes of the stream; the decoder stops
    // when the known size is reached, so cutting it off must not matter...
    // unless the data itself was cut, which must fail.
    Bytes truncated(package.begin(), package.end() - (package.size() - kPackageHeaderSize) / 2);
    EXPECT_EQ(UnpackDictionary(truncated).status, UnpackStatus::Failed);
    // Extra bytes after the stream are ignored once the library is complete.
    Bytes padded = package;
    padded.insert(padded.end(), 100, 0xAB);
    EXPECT_EQ(UnpackDictionary(padded).library, library);
}

TEST(PackagedDictionary, EveryRefusalHasItsResult) {
    const Bytes library = SmallLibrary();
    EXPECT_EQ(UnpackDictionary(library).status, UnpackStatus::NotAPackage) << "a plain library";
    EXPECT_EQ(UnpackDictionary(Bytes{'T', 'I', 'D'}).status, UnpackStatus::NotAPackage);
    EXPECT_EQ(UnpackDictionary(Bytes{'t', 'i', 'd', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).status,
              UnpackStatus::NotAPackage);
    EXPECT_EQ(UnpackDictionary(Bytes{'T', 'I', 'D', 'C', 1, 0, 0, 0, 93, 0, 0, 1}).status,
              UnpackStatus::Failed)
        << "fewer than 13 bytes";

    const Bytes package = PackDictionary(library);
    auto changed = [&](std::size_t offset, std::uint8_t value) {
        Bytes copy = package;
        copy[offset] = value;
        return UnpackDictionary(copy);
    };
    EXPECT_EQ(changed(8, 225).status, UnpackStatus::Failed) << "properties of 225 or more";
    EXPECT_EQ(changed(8, 8).status, UnpackStatus::Failed) << "lc 8: lc + lp above 4";
    Bytes empty = package;
    std::memset(empty.data() + 4, 0, 4);
    EXPECT_EQ(UnpackDictionary(empty).status, UnpackStatus::Failed) << "unpacked size 0";
    Bytes huge = package;
    const std::uint32_t tooLarge = kMaxUnpackedSize + 1;
    std::memcpy(huge.data() + 4, &tooLarge, 4);
    EXPECT_EQ(UnpackDictionary(huge).status, UnpackStatus::Failed) << "refused, not allocated";
    Bytes longer = package;
    const auto size = static_cast<std::uint32_t>(library.size() + 1);
    std::memcpy(longer.data() + 4, &size, 4);
    EXPECT_EQ(UnpackDictionary(longer).status, UnpackStatus::Failed) << "stream ends too soon";
    Bytes damaged = package;
    for (std::size_t i = kPackageHeaderSize + 10; i < damaged.size(); i += 7) {
        damaged[i] ^= 0x5A;
    }
    EXPECT_EQ(UnpackDictionary(damaged).status, UnpackStatus::Failed);
}

TEST(PackagedDictionary, OutputGrowsAsTheDataDecodes) {
    // Far more than the first output buffer: it grows until the claimed size.
    Bytes data(5u << 20);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>((i * 7919) >> 12);
    }
    const Bytes package = PackDictionary(data);
    ASSERT_LT(package.size(), data.size() / 16) << "so the first guess is short";
    EXPECT_EQ(UnpackDictionary(package).library, data);

    // A claim the data does not back up fails however large it is.
    Bytes claims = package;
    const std::uint32_t claimed = kMaxUnpackedSize;
    std::memcpy(claims.data() + 4, &claimed, 4);
    const UnpackResult result = UnpackDictionary(claims);
    EXPECT_EQ(result.status, UnpackStatus::Failed);
    EXPECT_TRUE(result.library.empty());
}

TEST(PackagedDictionary, DictionarySizesAreTakenWithinReason) {
    const Bytes library = test::MakeLibrary({"a\t工"}, 4, 0, 1, 0);
    Bytes package = PackDictionary(library);
    std::memset(package.data() + 9, 0, 4); // below 4096 counts as 4096
    EXPECT_EQ(UnpackDictionary(package).library, library);
    // A header asking for a 4 GiB dictionary does not get one allocated.
    std::memset(package.data() + 9, 0xFF, 4);
    EXPECT_EQ(UnpackDictionary(package).library, library);
}

} // namespace
} // namespace tide
