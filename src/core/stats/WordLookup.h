// 反查: the codes a word library has for words, each with the word's place
// among that code's candidates.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/dict/LibraryView.h"

namespace tide {

struct CodePlace {
    std::u16string code;
    std::size_t position = 0; // 1: the first candidate
};

struct WordLookup {
    std::u16string word;
    // Every entry of the word: full and short codes, shortest first, then
    // alphabetically; a code listed twice with the word is here twice.
    std::vector<CodePlace> codes;
    // For a word the library lacks: the code its phrase rules give (empty
    // when they give none, as for a single character).
    std::u16string ruleCode;
};

// The look-up of each word, in the order given; nothing when the library
// turns out to be damaged. The candidates of a code are its entries in the
// order the library stores them.
std::optional<std::vector<WordLookup>> LookUpWords(const LibraryView& library,
                                                   std::span<const std::u16string> words);

} // namespace tide
