// Reading committed files in tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tide::test {

// A file of the source tree, by its path from the root ("data/Skin/Tide.ims").
inline std::vector<std::uint8_t> ReadSourceFile(std::string_view relativePath) {
    std::ifstream in(std::string(TIDE_SOURCE_DIR) + "/" + std::string(relativePath),
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file of tests/fixtures ("dict/small.imc").
inline std::vector<std::uint8_t> ReadFixture(std::string_view relativePath) {
    return ReadSourceFile("tests/fixtures/" + std::string(relativePath));
}

} // namespace tide::test
