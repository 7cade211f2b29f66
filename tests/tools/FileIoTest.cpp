#include "FileIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tide::tool {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

bool AllZero(const std::uint8_t* bytes, std::size_t size) {
    return std::all_of(bytes, bytes + size, [](std::uint8_t byte) { return byte == 0; });
}

TEST(ZeroedMemory, BlocksOfEverySizeReadAsZeroEvenWhenReusedAfterWriting) {
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{4096}, 2 * kMiB - 1, 2 * kMiB, 2 * kMiB + 1, 5 * kMiB + 3}) {
        for (int round = 0; round < 2; ++round) {
            auto* block = static_cast<std::uint8_t*>(AllocateZeroed(size));
            ASSERT_NE(block, nullptr);
            EXPECT_TRUE(AllZero(block, size)) << size << " bytes, round " << round;
            std::fill(block, block + size, std::uint8_t{0xAB}); // every byte is writable
            FreeZeroed(block, size);
        }
    }
}

TEST(ZeroedMemory, GrowableBytesGrowIntoZeroesAndKeepTheirBytesWhenMoved) {
    GrowableBytes bytes;
    bytes.reserve(3 * kMiB);
    bytes.resize(1000);
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{7});
    bytes.resize(3 * kMiB); // within the reserved room
    EXPECT_TRUE(AllZero(bytes.data() + 1000, bytes.size() - 1000));
    bytes.resize(7 * kMiB + 5); // past it: moved to a larger block
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 1000, [](auto b) { return b == 7; }));
    EXPECT_TRUE(AllZero(bytes.data() + 1000, bytes.size() - 1000));
}

TEST(ZeroedMemory, AFileIsReadWithItsSpareRoomZero) {
    // Named for this run: the test programs of several builds may run at once.
    const auto file =
        std::filesystem::temp_directory_path() /
        ("tide-fileio-test-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".bin");
    std::string written(2 * kMiB + 12345, '\0');
    for (std::size_t i = 0; i < written.size(); ++i) {
        written[i] = static_cast<char>(1 + i % 251);
    }
    std::ofstream(file, std::ios::binary).write(written.data(), std::streamsize(written.size()));

    ReadError error = ReadError::None;
    auto bytes = ReadGrowableFile(file, &error, kMiB);
    std::filesystem::remove(file);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), written.size());
    EXPECT_GE(bytes->capacity(), written.size() + kMiB);
    EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(),
                           reinterpret_cast<const std::uint8_t*>(written.data())));
    const std::uint8_t* const before = bytes->data();
    bytes->resize(written.size() + kMiB);
    EXPECT_EQ(bytes->data(), before) << "the room was there: the bytes did not move";
    EXPECT_TRUE(AllZero(bytes->data() + written.size(), kMiB));
}

} // namespace
} // namespace tide::tool
