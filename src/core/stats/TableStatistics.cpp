#include "core/stats/TableStatistics.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "core/base/Utf.h"
#include "core/convert/CodeNumbers.h"
#include "core/dict/CharSlots.h"
#include "core/dict/LibraryLayout.h"
#include "core/dict/PhraseEncoder.h"
#include "core/stats/CharacterSets.h"

namespace tide {
namespace {

// Every table is measured in one form: its entries as listed, UTF-8 codes
// and words.
struct MeasuredTable {
    std::span<const TableEntry> entries;
    std::size_t codeLength = 0;
    bool orderByWeight = false; // the candidates of a code by falling weight
    std::size_t userEntries = 0;
    bool hasRules = false;
    // The code the phrase rules give the word of entry `index`, one of two
    // characters or more; empty when they give none.
    std::function<std::string(std::size_t index)> derive;
};

// The code point at `at`, which moves past it; U+FFFD for a byte that
// begins no well-formed sequence (the readers pass words through unchecked).
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    const std::size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
    if (more == 0 || lead > 0xF4 || text.size() - at < more) {
        return 0xFFFD;
    }
    char32_t c = lead & (0x3F >> more);
    for (std::size_t i = 0; i < more; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        c = c << 6 | (next & 0x3F);
    }
    at += more;
    return c;
}

// The character a word is made of alone, or nothing.
std::optional<char32_t> SingleCharacter(std::string_view word) {
    if (word.empty()) {
        return std::nullopt;
    }
    std::size_t at = 0;
    const char32_t c = NextCodePoint(word, at);
    return at == word.size() ? std::optional<char32_t>(c) : std::nullopt;
}

bool IsLetterCode(std::string_view code) {
    return !code.empty() &&
           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// A word of two characters or more, as phrase rules take it.
bool IsRulePhrase(std::string_view word) {
    if (word.empty()) {
        return false;
    }
    std::size_t at = 0;
    NextCodePoint(word, at);
    return at < word.size();
}

// What the measures need of each entry, found once.
struct EntryFacts {
    std::vector<std::uint32_t> code; // the code's number (CodeNumbers)
    std::vector<std::uint32_t> slot; // the character's code slot; 0: not a character entry
    std::size_t codes = 0;
};

EntryFacts FactsOf(std::span<const TableEntry> entries) {
    EntryFacts facts;
    facts.code.resize(entries.size());
    facts.slot.resize(entries.size());
    CodeNumbers numbers(entries.size());
    std::vector<std::uint64_t> hashes(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        hashes[i] = CodeNumbers::Hash(entries[i].code);
    }
    constexpr std::size_t kLookAhead = 16;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i + kLookAhead < entries.size()) {
            numbers.Prefetch(hashes[i + kLookAhead]);
        }
        facts.code[i] = numbers.NumberOf(entries[i].code, hashes[i]);
        const auto c = SingleCharacter(entries[i].word);
        facts.slot[i] = c ? CharSlotIndex(*c) : 0;
    }
    facts.codes = numbers.size();
    return facts;
}

// The entries' indexes grouped by code, each group in candidate order.
struct CodeGroups {
    std::vector<std::uint32_t> order;  // the groups one after the other
    std::vector<std::uint32_t> starts; // where each begins in `order`, then the end
};

CodeGroups GroupByCode(const MeasuredTable& table, const EntryFacts& facts) {
    const std::span<const TableEntry> entries = table.entries;
    CodeGroups groups;
    groups.starts.assign(facts.codes + 1, 0);
    for (const std::uint32_t code : facts.code) {
        ++groups.starts[code + 1];
    }
    for (std::size_t g = 0; g < facts.codes; ++g) {
        groups.starts[g + 1] += groups.starts[g];
    }
    std::vector<std::uint32_t> next(groups.starts.begin(), groups.starts.end() - 1);
    groups.order.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        groups.order[next[facts.code[i]]++] = static_cast<std::uint32_t>(i);
    }
    if (!table.orderByWeight) {
        return groups;
    }
    const auto heavier = [&](std::uint32_t a, std::uint32_t b) {
        return entries[a].weight > entries[b].weight;
    };
    for (std::size_t g = 0; g < facts.codes; ++g) {
        const auto first = groups.order.begin() + groups.starts[g];
        const auto last = groups.order.begin() + groups.starts[g + 1];
        if (last - first > 16) {
            std::stable_sort(first, last, heavier);
            continue;
        }
        // Most codes have a few words: an insertion sort, stable, allocates nothing.
        for (auto next = first + 1; next < last; ++next) {
            for (auto at = next; at != first && heavier(*at, *(at - 1)); --at) {
                std::iter_swap(at - 1, at);
            }
        }
    }
    return groups;
}

// 重码, 选重 and the same code and word twice, code by code.
void MeasureCodes(const MeasuredTable& table, const EntryFacts& facts, TableStatistics& stats) {
    const std::span<const TableEntry> entries = table.entries;
    const CodeGroups groups = GroupByCode(table, facts);
    stats.codes = facts.codes;
    stats.sharedCodes.of = entries.size();
    std::vector<std::string_view> words;
    for (std::size_t g = 0; g < stats.codes; ++g) {
        const std::span<const std::uint32_t> group(groups.order.data() + groups.starts[g],
                                                   groups.starts[g + 1] - groups.starts[g]);
        ++stats.candidates[std::min(group.size(), kManyCandidates)];
        const char first = entries[group[0]].code.front();
        if (first >= 'a' && first <= 'z') {
            ++stats.firstLetters[static_cast<std::size_t>(first - 'a')];
        }
        for (std::size_t k = 0; k < group.size(); ++k) {
            const double weight = entries[group[k]].weight;
            stats.totalWeight += weight;
            stats.laterWeight += k == 0 ? 0.0 : weight;
        }
        if (group.size() < 2) {
            continue;
        }
        stats.sharedCodes.count += group.size();
        words.clear();
        for (const std::uint32_t i : group) {
            words.push_back(entries[i].word);
        }
        std::sort(words.begin(), words.end());
        for (std::size_t k = 0; k < words.size();) {
            std::size_t end = k + 1;
            while (end < words.size() && words[end] == words[k]) {
                ++end;
            }
            if (end - k > 1) {
                stats.duplicates += end - k - 1;
                if (stats.duplicateExamples.size() < kDamageExamples) {
                    stats.duplicateExamples.push_back(
                        {std::string(entries[group[0]].code), std::string(words[k]), end - k - 1});
                }
            }
            k = end;
        }
    }
    stats.weighted = table.orderByWeight && stats.totalWeight > 0;
    if (!stats.weighted) {
        stats.laterWeight = stats.totalWeight = 0;
    }
}

// The place of a code of 1 to 3 letters a–z among the codes of its length
// (a, b, … z, aa, ab, …), or nothing for any other code.
std::optional<std::size_t> ShortCodeIndex(std::string_view code) {
    if (code.empty() || code.size() > 3 || !IsLetterCode(code)) {
        return std::nullopt;
    }
    std::size_t index = 0;
    for (const char c : code) {
        index = index * 26 + static_cast<std::size_t>(c - 'a');
    }
    return index;
}

void ListEmptyCodes(std::span<const TableEntry> entries, TableStatistics& stats) {
    std::array<std::vector<bool>, 3> used = {std::vector<bool>(26), std::vector<bool>(26 * 26),
                                             std::vector<bool>(26 * 26 * 26)};
    for (const TableEntry& entry : entries) {
        if (const auto index = ShortCodeIndex(entry.code)) {
            used[entry.code.size() - 1][*index] = true;
        }
    }
    for (std::size_t length = 1; length <= 3; ++length) {
        std::vector<std::string>& empty = stats.emptyCodes[length - 1];
        const std::vector<bool>& taken = used[length - 1];
        for (std::size_t index = 0; index < taken.size(); ++index) {
            if (taken[index]) {
                continue;
            }
            std::string code(length, 'a');
            for (std::size_t i = length, rest = index; i-- > 0; rest /= 26) {
                code[i] = static_cast<char>('a' + rest % 26);
            }
            empty.push_back(std::move(code));
        }
    }
}

// What is known of each character with a code slot, by its slot.
enum CharacterFact : std::uint8_t {
    kHasEntry = 1,
    kHasFullCode = 2,
    kHasShortCode = 4,
    kSharesFullCode = 8,
};

// Counts by code length, characters and phrases apart, the characters'
// full and short codes, 静态重码 and coverage. Returns the facts by slot.
std::vector<std::uint8_t> MeasureCharacters(const MeasuredTable& table, const EntryFacts& facts,
                                            TableStatistics& stats) {
    const std::span<const TableEntry> entries = table.entries;
    std::vector<std::uint8_t> known(kCharSlotCount + 1, 0);
    // By code, the slot of the character it is a full code of; kSeveral once
    // it is one of two characters.
    constexpr std::uint32_t kNone = 0;
    constexpr std::uint32_t kSeveral = 0xFFFFFFFF;
    std::vector<std::uint32_t> fullCodeOf(facts.codes, kNone);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t length = entries[i].code.size();
        const std::uint32_t slot = facts.slot[i];
        std::vector<std::size_t>& lengths =
            slot != 0 ? stats.characterLengths : stats.phraseLengths;
        ++(slot != 0 ? stats.characters : stats.phrases);
        if (length >= lengths.size()) {
            stats.characterLengths.resize(length + 1);
            stats.phraseLengths.resize(length + 1);
        }
        ++lengths[length];
        if (slot == 0) {
            continue;
        }
        if (!(known[slot] & kHasEntry)) {
            known[slot] |= kHasEntry;
            const char32_t c = *SingleCharacter(entries[i].word);
            if (InGb2312(c)) {
                ++stats.coverage[static_cast<std::size_t>(CoverageSet::Gb2312)].present;
            }
            if (const auto block = CjkBlockOf(c)) {
                ++stats.coverage[static_cast<std::size_t>(*block)].present;
            }
        }
        if (length < table.codeLength) {
            known[slot] |= kHasShortCode;
            continue;
        }
        known[slot] |= kHasFullCode;
        std::uint32_t& owner = fullCodeOf[facts.code[i]];
        owner = owner == kNone || owner == slot ? slot : kSeveral;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (facts.slot[i] != 0 && fullCodeOf[facts.code[i]] == kSeveral) {
            known[facts.slot[i]] |= kSharesFullCode;
        }
    }
    for (const std::uint8_t fact : known) {
        if (fact & kHasFullCode) {
            ++stats.sharedFullCodes.of;
            stats.sharedFullCodes.count += (fact & kSharesFullCode) ? 1 : 0;
            ++((fact & kHasShortCode) ? stats.fullAndShortCodes : stats.fullCodeOnly);
        } else if (fact & kHasShortCode) {
            ++stats.shortCodeOnly;
        }
    }
    for (std::size_t set = 0; set < kCoverageSetCount; ++set) {
        Coverage& coverage = stats.coverage[set];
        coverage.missing = CoverageSetSize(static_cast<CoverageSet>(set)) - coverage.present;
    }
    return known;
}

// Phrase codes against the rules, and characters phrases use without a code.
void MeasurePhrases(const MeasuredTable& table, const EntryFacts& facts,
                    const std::vector<std::uint8_t>& known, TableStatistics& stats) {
    const std::span<const TableEntry> entries = table.entries;
    // Characters without a code slot that have entries of their own (few).
    std::unordered_set<char32_t> codedOthers;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (facts.slot[i] == 0) {
            if (const auto c = SingleCharacter(entries[i].word)) {
                codedOthers.insert(*c);
            }
        }
    }
    std::unordered_set<char32_t> uncoded;
    stats.hasRules = table.hasRules;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TableEntry& entry = entries[i];
        if (facts.slot[i] != 0 || !IsRulePhrase(entry.word)) {
            continue;
        }
        for (std::size_t at = 0; at < entry.word.size();) {
            const char32_t c = NextCodePoint(entry.word, at);
            const std::uint32_t slot = CharSlotIndex(c);
            const bool coded = slot != 0 ? (known[slot] & kHasEntry) != 0 : codedOthers.contains(c);
            if (!coded && uncoded.insert(c).second &&
                stats.uncodedExamples.size() < kDamageExamples) {
                stats.uncodedExamples.push_back(c);
            }
        }
        if (!table.hasRules) {
            continue;
        }
        const std::string derived = table.derive(i);
        const bool shortCode =
            entry.code.size() < derived.size() && derived.starts_with(entry.code);
        if (derived == entry.code || shortCode) {
            continue;
        }
        ++stats.ruleMismatches;
        stats.underived += derived.empty() ? 1 : 0;
        if (stats.mismatchExamples.size() < kDamageExamples) {
            stats.mismatchExamples.push_back(
                {std::string(entry.word), std::string(entry.code), derived});
        }
    }
    stats.uncodedCharacters = uncoded.size();
}

TableStatistics Measure(const MeasuredTable& table) {
    TableStatistics stats;
    stats.codeLength = table.codeLength;
    stats.entries = table.entries.size();
    stats.userEntries = table.userEntries;
    stats.characterLengths.resize(13);
    stats.phraseLengths.resize(13);
    const EntryFacts facts = FactsOf(table.entries);
    MeasureCodes(table, facts, stats);
    ListEmptyCodes(table.entries, stats);
    const std::vector<std::uint8_t> known = MeasureCharacters(table, facts, stats);
    MeasurePhrases(table, facts, known, stats);
    return stats;
}

// Phrase codes by a table's rules, as the compiled table derives them
// (EncodePhrase): a rule's elements in order, a character or letter outside
// the phrase ending the code there, a character the rule reads without a
// code leaving the phrase without one.
class FormulaCoder {
public:
    explicit FormulaCoder(const LoadedTable& table, std::size_t codeLength)
        : rules_(table.info.rules), codeLength_(codeLength), codes_(kCharSlotCount + 1) {
        for (const PhraseFormula& rule : rules_) {
            longest_ = std::max(longest_, rule.maxLength);
        }
        for (const TableEntry& entry : table.entries) {
            const auto c = SingleCharacter(entry.word);
            const std::uint32_t slot = c ? CharSlotIndex(*c) : 0;
            if (slot != 0 && IsLetterCode(entry.code) && entry.code.size() >= codes_[slot].size()) {
                codes_[slot] = entry.code;
            }
        }
    }

    std::string operator()(std::string_view word) const {
        std::vector<char32_t>& characters = characters_;
        characters.clear();
        for (std::size_t at = 0; at < word.size();) {
            characters.push_back(NextCodePoint(word, at));
        }
        const PhraseFormula* rule = RuleFor(static_cast<int>(characters.size()));
        if (!rule) {
            return {};
        }
        std::string code;
        bool ended = false;
        for (std::size_t i = 0; i < rule->elements.size() && i < codeLength_; ++i) {
            const FormulaElement& element = rule->elements[i];
            const auto number = static_cast<std::size_t>(element.charNumber);
            if (number == 0 || number > characters.size()) {
                ended = true;
                continue;
            }
            const char32_t c =
                characters[element.charFromEnd ? characters.size() - number : number - 1];
            const std::string_view charCode = codes_[CharSlotIndex(c)];
            if (charCode.empty()) {
                return {};
            }
            const auto letter = static_cast<std::size_t>(element.letterNumber);
            if (letter == 0 || letter > charCode.size()) {
                ended = true;
            }
            if (!ended) {
                code += charCode[element.letterFromEnd ? charCode.size() - letter : letter - 1];
            }
        }
        return code;
    }

private:
    // The first rule for `length`; for a phrase longer than any rule
    // covers, the rule of the longest length.
    const PhraseFormula* RuleFor(int length) const {
        const int covered = std::min(length, longest_);
        for (const PhraseFormula& rule : rules_) {
            if (rule.Covers(length) || (length > longest_ && rule.Covers(covered))) {
                return &rule;
            }
        }
        return nullptr;
    }

    const std::vector<PhraseFormula>& rules_;
    std::size_t codeLength_;
    int longest_ = 0;
    std::vector<std::string_view> codes_;      // by slot; slot 0 (no slot) has none
    mutable std::vector<char32_t> characters_; // of the word being coded
};

} // namespace

TableStatistics MeasureTable(const LoadedTable& table) {
    MeasuredTable measured;
    measured.orderByWeight = table.info.orderByWeight;
    measured.codeLength = static_cast<std::size_t>(std::max(table.info.codeLength, 0));
    for (const PhraseFormula& rule : table.info.rules) {
        measured.codeLength = std::max(measured.codeLength, rule.elements.size());
    }
    measured.entries = table.entries;
    for (const TableEntry& entry : table.entries) {
        measured.codeLength = std::max(measured.codeLength, entry.code.size());
    }
    measured.hasRules = !table.info.rules.empty();
    const FormulaCoder coder(table, measured.codeLength);
    measured.derive = [&](std::size_t index) { return coder(table.entries[index].word); };
    return Measure(measured);
}

std::optional<TableStatistics> MeasureLibrary(const LibraryView& library) {
    // The codes and the words (each ended by a zero unit, which no word
    // holds) are gathered and turned into UTF-8 at once; the entries point
    // into that text.
    std::string codes;
    std::u16string words;
    std::vector<std::size_t> codeEnds;
    std::vector<std::size_t> wordStarts; // in `words`
    MeasuredTable measured;
    const bool whole = library.ForEachEntry([&](const LibraryEntry& entry) {
        codes.append(entry.code.begin(), entry.code.end()); // bytes: a unit each
        codeEnds.push_back(codes.size());
        wordStarts.push_back(words.size());
        words.append(entry.word).push_back(u'\0');
        const bool user = IsUserWeight(entry.weight) || IsCarriedWeight(entry.weight);
        measured.userEntries += user ? 1 : 0;
    });
    if (!whole) {
        return std::nullopt;
    }
    const std::string text = ToUtf8(words);
    std::vector<TableEntry> entries;
    entries.reserve(codeEnds.size());
    const std::string_view allCodes(codes);
    for (std::size_t i = 0, code = 0, word = 0; i < codeEnds.size(); ++i) {
        const std::size_t wordEnd = text.find('\0', word);
        entries.push_back({allCodes.substr(code, codeEnds[i] - code),
                           std::string_view(text).substr(word, wordEnd - word), 0});
        code = codeEnds[i];
        word = wordEnd + 1;
    }
    measured.entries = entries;
    measured.codeLength = library.header().CodeLength;
    measured.hasRules = library.header().PhraseRule != 0;
    const PhraseEncoder encoder(library);
    std::u16string derived;
    measured.derive = [&](std::size_t index) {
        const std::size_t start = wordStarts[index];
        const std::size_t end =
            index + 1 < wordStarts.size() ? wordStarts[index + 1] : words.size();
        encoder.Encode(std::u16string_view(words).substr(start, end - 1 - start), derived);
        return ToUtf8(derived);
    };
    return Measure(measured);
}

std::size_t LongestShownLength(const TableStatistics& stats) {
    const std::size_t counted = std::min(stats.characterLengths.size(), stats.phraseLengths.size());
    std::size_t longest =
        counted == 0 ? 1 : std::clamp<std::size_t>(stats.codeLength, 1, counted - 1);
    for (std::size_t n = longest + 1; n < counted; ++n) {
        if (stats.characterLengths[n] != 0 || stats.phraseLengths[n] != 0) {
            longest = n;
        }
    }
    return longest;
}

} // namespace tide
