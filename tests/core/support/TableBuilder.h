// Code tables and libraries made up for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace tide::test {

// A code table file: BOM, header lines (CodeLength, BWCodeLength and
// PhraseRule as given), the entries, padded to the minimum size.
std::vector<std::uint8_t> MakeTable(std::initializer_list<std::string_view> entries,
                                    int codeLength = 4, int secondCodeLength = 0,
                                    int phraseRule = 1);

// The compiled library of such a table, with `growthRoom` zero bytes after
// it and Capacity set to its whole size (as a library opened for writing).
std::vector<std::uint8_t> MakeLibrary(std::initializer_list<std::string_view> entries,
                                      int codeLength = 4, int secondCodeLength = 0,
                                      int phraseRule = 1, std::size_t growthRoom = 65536);

} // namespace tide::test
