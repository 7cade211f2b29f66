// The figures a table maker judges a code table by: 重码 (words sharing a
// code), 空码 (short codes left unused), code lengths, character coverage,
// and the damage worth fixing. Measured from a table in any format convert
// reads, or from a word library; every text a report shows is made from
// TableStatistics.
//
// Terms, one meaning each:
// - An entry is a code and a word; a character entry is one whose word is a
//   single character that has a code slot in a library (as compile counts
//   them), a phrase entry any other. A phrase in the rules' sense is a word of
//   two characters or more.
// - A character's full codes are its codes as long as the table's code
//   length, its short codes the shorter ones.
// - The candidates of a code are its entries in the order the input method
//   offers them: by falling weight where the table orders so (Rime, ibus),
//   else as listed (a library: as stored).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/convert/TableModel.h"
#include "core/dict/LibraryView.h"

namespace tide {

// A share: `count` of `of`.
struct Share {
    std::size_t count = 0;
    std::size_t of = 0;
    double Rate() const { return of == 0 ? 0.0 : static_cast<double>(count) / of; }
};

// The character sets coverage is counted for. The CJK blocks are the
// ideographs a library has a code slot for (CharSlots.cpp).
enum class CoverageSet {
    Gb2312,        // the 6,763 characters of GB 2312
    CjkBasic,      // U+4E00–U+9FFC
    ExtA,          // U+3400–U+4DBF
    ExtBPlus,      // extensions B to G
    Compatibility, // U+F900–U+FAD9 and U+2F800–U+2FA1D
    PrivateUse,    // the components at U+E815–U+E864
};
inline constexpr std::size_t kCoverageSetCount = 6;

struct Coverage {
    std::size_t present = 0; // characters of the set with a character entry
    std::size_t missing = 0;
};

// How many codes have n candidates: index n from 1 to 9; the last counts
// the codes with kManyCandidates or more.
inline constexpr std::size_t kManyCandidates = 10;

// Examples kept of each kind of damage; the counts cover them all.
inline constexpr std::size_t kDamageExamples = 20;

struct DuplicateEntry {
    std::string code; // UTF-8, as the word
    std::string word;
    std::size_t copies = 0; // beyond the first
};

struct RuleMismatch {
    std::string word;
    std::string listed;
    std::string derived; // empty: the rules give no code
};

struct TableStatistics {
    std::size_t codeLength = 0; // the full length
    std::size_t entries = 0;
    std::size_t characters = 0; // character entries
    std::size_t phrases = 0;    // phrase entries
    std::size_t codes = 0;      // distinct codes
    // A library's entries of users, and those carried over from the library it
    // replaced: counted with the rest above, and apart here.
    std::size_t userEntries = 0;

    // Entries by code length, index = letters (0 unused), at least up to 12.
    std::vector<std::size_t> characterLengths;
    std::vector<std::size_t> phraseLengths;

    // Distinct codes by their first letter, a to z: the keys a table leans on.
    std::array<std::size_t, 26> firstLetters{};

    // 重码: codes by their number of candidates (see kManyCandidates).
    std::array<std::size_t, kManyCandidates + 1> candidates{};
    // Characters with a full code that another character has as a full code
    // too, of the characters with a full code (静态重码率).
    Share sharedFullCodes;
    // Entries whose code has another entry, of all entries.
    Share sharedCodes;
    // 选重率: the share of selections that are not the first candidate,
    // each entry's weight taken as how often it is chosen. Only for tables
    // whose weights order the candidates; none otherwise.
    bool weighted = false;
    double laterWeight = 0; // the weight of entries not first under their code
    double totalWeight = 0;

    // 空码: the codes of 1, 2 and 3 letters a–z that no entry has, in
    // alphabetical order; 26, 676 and 17,576 such codes are possible.
    std::array<std::vector<std::string>, 3> emptyCodes;

    // Characters (distinct) by their codes.
    std::size_t shortCodeOnly = 0;
    std::size_t fullCodeOnly = 0;
    std::size_t fullAndShortCodes = 0;

    std::array<Coverage, kCoverageSetCount> coverage{};

    // Damage: the same code and word more than once (the copies beyond the
    // first are counted).
    std::size_t duplicates = 0;
    std::vector<DuplicateEntry> duplicateExamples;
    // Phrase entries whose code is not the one the table's phrase rules give
    // (a shorter code that begins it is a short code, not a mismatch), of
    // them `underived` where the rules give none (a character without a
    // code, a length no rule covers). Nothing is checked without rules.
    bool hasRules = false;
    std::size_t ruleMismatches = 0;
    std::size_t underived = 0;
    std::vector<RuleMismatch> mismatchExamples;
    // Characters that phrases use and that have no entry of their own, each
    // once, in the order first met.
    std::size_t uncodedCharacters = 0;
    std::vector<char32_t> uncodedExamples;
};

// The longest code length a report shows: the longest any entry has, and at
// least the full length as far as lengths are counted (a header may declare
// any length), never less than 1.
std::size_t LongestShownLength(const TableStatistics& stats);

// A table as a conversion reads it (Rime's import_tables already followed).
// Its phrase rules are applied as the compiled table would apply them:
// each character's code is its longest (of equal lengths, the last listed)
// among its entries with a code of letters a–z.
TableStatistics MeasureTable(const LoadedTable& table);

// A word library, every entry of it, coded by its own phrase rules.
// Nothing when a walk meets damage.
std::optional<TableStatistics> MeasureLibrary(const LibraryView& library);

} // namespace tide
