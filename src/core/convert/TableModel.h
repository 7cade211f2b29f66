// A code table on its way from one input method's format to another's: the
// header facts the formats share, the phrase rules, and the entries in their
// candidate order. Entries point into the text they were read from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tide {

// One code letter a phrase rule takes: character `charNumber` of the phrase
// (1 = first, or last when counted from the end), letter `letterNumber` of
// that character's code (1 = first, or last when counted from the end).
struct FormulaElement {
    bool charFromEnd = false;
    int charNumber = 1;
    bool letterFromEnd = false;
    int letterNumber = 1;

    friend bool operator==(const FormulaElement&, const FormulaElement&) = default;
};

// The rule for phrases of `minLength` to `maxLength` characters.
struct PhraseFormula {
    int minLength = 2;
    int maxLength = 2;
    std::vector<FormulaElement> elements;

    bool Covers(int length) const { return length >= minLength && length <= maxLength; }
    friend bool operator==(const PhraseFormula&, const PhraseFormula&) = default;
};

// The longest phrase any of the formats encodes.
inline constexpr int kLongestPhrase = 32;

struct TableEntry {
    std::string_view code;
    std::string_view word;
    double weight = 0; // orders the words of one code when the table says so
};

// What a table's header says; empty texts and 0 are what its format lacks.
struct TableInfo {
    std::string name;
    std::string version;
    std::string author;
    std::string scheme;
    int codeLength = 0;
    // Rules in their order of trial: the first that covers a length serves it.
    std::vector<PhraseFormula> rules;
    // The words of one code are shown by falling weight (else in file order).
    bool orderByWeight = false;
};

// Lines a conversion did not carry over, by reason.
struct SkippedLines {
    std::size_t codeOutsideKeys = 0; // a code the target's keys cannot type
    std::size_t noCode = 0;          // a word without a code
    std::size_t emptyWord = 0;
    std::size_t wordNotWritable = 0; // a word the target's lines cannot hold
    std::size_t prompts = 0;         // fcitx prompt lines
    std::size_t constructCodes = 0;  // fcitx construct-phrase codes
    std::size_t pinyin = 0;          // fcitx pinyin lines
    std::size_t unreadable = 0;      // lines or rows the format's own tools do not read
};

struct LoadedTable {
    TableInfo info;
    std::vector<TableEntry> entries;
    SkippedLines skipped;
    std::vector<std::string> notes; // what the reader left out, for the summary
    std::string error;              // set when the table cannot be read at all
    // Tables to be read with this one, in order (Rime's import_tables: each
    // name is NAME.dict.yaml beside the file that names it).
    std::vector<std::string> imports;
};

} // namespace tide
