#include "core/convert/TableConversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <utility>

#include "core/convert/CodeNumbers.h"
#include "core/convert/FcitxTableFormat.h"
#include "core/convert/IbusTableFormat.h"
#include "core/convert/PhraseFormulas.h"
#include "core/convert/RimeDictFormat.h"
#include "core/convert/SqliteFile.h"
#include "core/convert/TideTableFormat.h"

namespace tide {
namespace {

// Codes are a few bytes: compared byte by byte here rather than by a library
// call per pair, which costs more than the comparison.
bool SameCode(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// True when `a` sorts before `b` of the same length.
bool SameLengthCodeBefore(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
        }
    }
    return false;
}

// The first eight bytes of a code, big-endian, zero-padded: comparing two of
// them compares the codes as far as they reach.
std::uint64_t CodePrefix(std::string_view code) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        prefix = prefix << 8 | (i < code.size() ? static_cast<unsigned char>(code[i]) : 0);
    }
    return prefix;
}

// Sorts the whole table by code, then weight (heaviest first), then place in
// the file.
void SortByCodeAndWeight(LoadedTable& table) {
    // Codes of up to eight bytes compare by their prefix alone; weights by a
    // key that sorts the heaviest first.
    struct SortKey {
        std::uint64_t prefix;
        std::uint64_t lightness;
        std::uint32_t index;
        bool longCode;
    };
    const std::vector<TableEntry>& entries = table.entries;
    std::vector<SortKey> keys(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double weight = entries[i].weight == 0 ? 0.0 : entries[i].weight; // -0 is 0
        std::uint64_t bits = 0;
        std::memcpy(&bits, &weight, sizeof(bits));
        const std::uint64_t ascending = bits >> 63 ? ~bits : bits | (std::uint64_t{1} << 63);
        keys[i] = {CodePrefix(entries[i].code), ~ascending, static_cast<std::uint32_t>(i),
                   entries[i].code.size() > 8};
    }
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        if (a.longCode || b.longCode) {
            const std::string_view codeA = entries[a.index].code;
            const std::string_view codeB = entries[b.index].code;
            if (codeA != codeB) {
                return codeA < codeB;
            }
        }
        if (a.lightness != b.lightness) {
            return a.lightness < b.lightness;
        }
        return a.index < b.index;
    });
    std::vector<TableEntry> ordered;
    ordered.reserve(entries.size());
    for (const SortKey& key : keys) {
        ordered.push_back(entries[key.index]);
    }
    table.entries = std::move(ordered);
}

// True when the runs of each code length come in rising order of code, as
// in a table sorted by code, or sorted by code within each length: then no
// code can come back, and the set of codes is not needed.
bool RunsRiseWithinEachLength(const std::vector<TableEntry>& entries,
                              const std::vector<std::uint32_t>& runs) {
    constexpr std::size_t kLongestTracked = 32;
    std::array<std::string_view, kLongestTracked + 1> last{};
    for (const std::uint32_t run : runs) {
        const std::string_view code = entries[run].code;
        if (code.empty() || code.size() > kLongestTracked) {
            return false;
        }
        std::string_view& previous = last[code.size()];
        if (!previous.empty() && !SameLengthCodeBefore(previous, code)) {
            return false;
        }
        previous = code;
    }
    return true;
}

// True when the words of some code are split over two runs (`runs` holds
// where each run starts).
bool SomeCodeComesBack(const std::vector<TableEntry>& entries,
                       const std::vector<std::uint32_t>& runs) {
    if (RunsRiseWithinEachLength(entries, runs)) {
        return false;
    }
    std::vector<std::uint64_t> hashes(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        hashes[r] = CodeNumbers::Hash(entries[runs[r]].code);
    }
    CodeNumbers runCodes(runs.size());
    constexpr std::size_t kLookAhead = 16;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r + kLookAhead < runs.size()) {
            runCodes.Prefetch(hashes[r + kLookAhead]);
        }
        const std::size_t seen = runCodes.size();
        runCodes.NumberOf(entries[runs[r]].code, hashes[r]);
        if (runCodes.size() == seen) {
            return true; // numbered before: an earlier run has this code
        }
    }
    return false;
}

// Rime shows the words of one code by falling weight; the other formats by
// their order in the file. Tables usually list each code's words together:
// then only those runs are ordered, and the codes stay where they were.
void PutInCandidateOrder(LoadedTable& table) {
    if (!table.info.orderByWeight) {
        return;
    }
    table.info.orderByWeight = false;
    std::vector<TableEntry>& entries = table.entries;
    std::vector<std::uint32_t> runs; // where each run starts, then the end
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || !SameCode(entries[i].code, entries[i - 1].code)) {
            runs.push_back(static_cast<std::uint32_t>(i));
        }
    }
    if (SomeCodeComesBack(entries, runs)) {
        SortByCodeAndWeight(table);
        return;
    }
    runs.push_back(static_cast<std::uint32_t>(entries.size()));
    for (std::size_t r = 0; r + 1 < runs.size(); ++r) {
        // Runs are short: an insertion sort keeps equal weights in file order.
        const auto run = entries.begin() + runs[r];
        const auto end = entries.begin() + runs[r + 1];
        for (auto next = run + 1; next < end; ++next) {
            for (auto at = next; at != run && (at - 1)->weight < at->weight; --at) {
                std::iter_swap(at - 1, at);
            }
        }
    }
}

void Count(std::vector<std::string>& summary, std::size_t count, std::string_view what) {
    if (count != 0) {
        summary.push_back("skipped " + std::to_string(count) + " " + std::string(what));
    }
}

void AddSkipped(SkippedLines& total, const SkippedLines& more) {
    total.codeOutsideKeys += more.codeOutsideKeys;
    total.noCode += more.noCode;
    total.emptyWord += more.emptyWord;
    total.wordNotWritable += more.wordNotWritable;
    total.prompts += more.prompts;
    total.constructCodes += more.constructCodes;
    total.pinyin += more.pinyin;
    total.unreadable += more.unreadable;
}

// Follows a Rime dictionary's import_tables: each imported table's entries
// after those of the table that names it, in the order listed, depth first;
// a table named again is read once. `texts` keeps the bytes the entries
// point into. Returns an error text (nothing is to be written) for a table
// that cannot be read or is damaged, and for a cycle.
class ImportMerger {
public:
    ImportMerger(const ConversionOptions& options, std::deque<std::string>& texts,
                 std::vector<std::string>& summary)
        : options_(options), texts_(texts), summary_(summary) {}

    std::string Merge(LoadedTable& main, std::string_view mainName) {
        if (main.imports.empty()) {
            return {};
        }
        if (!options_.readImport) {
            return "import_tables: the tables it names cannot be read here";
        }
        perFile_.emplace_back(FileName(mainName), main.entries.size());
        chain_.emplace_back(mainName);
        std::string error = Follow(main, main.imports);
        if (error.empty()) {
            for (const auto& [name, count] : perFile_) {
                summary_.push_back("  " + std::to_string(count) + " from " + name);
            }
        }
        return error;
    }

private:
    static std::string FileName(std::string_view name) { return std::string(name) + ".dict.yaml"; }

    std::string Follow(LoadedTable& main, const std::vector<std::string>& imports) {
        for (const std::string& name : imports) {
            if (std::find(chain_.begin(), chain_.end(), name) != chain_.end()) {
                std::string cycle;
                for (const std::string& link : chain_) {
                    cycle += FileName(link) + " -> ";
                }
                return "import_tables: a cycle: " + cycle + FileName(name);
            }
            if (std::find(read_.begin(), read_.end(), name) != read_.end()) {
                continue; // named by two tables: its entries once
            }
            std::optional<std::string> bytes = options_.readImport(name);
            if (!bytes) {
                return "import_tables: cannot read " + FileName(name) + ", named by " +
                       FileName(chain_.back());
            }
            texts_.push_back(std::move(*bytes));
            LoadedTable imported = ReadRimeDict(texts_.back());
            if (!imported.error.empty()) {
                return FileName(name) + ": " + imported.error;
            }
            read_.push_back(name);
            perFile_.emplace_back(FileName(name), imported.entries.size());
            main.entries.insert(main.entries.end(), imported.entries.begin(),
                                imported.entries.end());
            AddSkipped(main.skipped, imported.skipped);
            for (const std::string& note : imported.notes) {
                main.notes.push_back(FileName(name) + ": " + note);
            }
            chain_.push_back(name);
            std::string error = Follow(main, imported.imports);
            chain_.pop_back();
            if (!error.empty()) {
                return error;
            }
        }
        return {};
    }

    const ConversionOptions& options_;
    std::deque<std::string>& texts_;
    std::vector<std::string>& summary_;
    std::vector<std::string> chain_; // the tables being followed, the main one first
    std::vector<std::string> read_;
    std::vector<std::pair<std::string, std::size_t>> perFile_;
};

// The rules in Rime's notation, for a person to read: "2: AaAbBaBb; 3+: …".
std::string DescribeRules(const std::vector<PhraseFormula>& rules) {
    std::string text;
    for (const PhraseFormula& rule : rules) {
        std::string error;
        const std::string formula = FormatRimeFormula(rule.elements, error);
        text += text.empty() ? "" : "; ";
        text += std::to_string(rule.minLength);
        if (rule.maxLength >= kLongestPhrase) {
            text += "+";
        } else if (rule.maxLength != rule.minLength) {
            text += "-" + std::to_string(rule.maxLength);
        }
        text += ": " + (formula.empty() ? std::string("(beyond the 20th letter)") : formula);
    }
    return text;
}

void SummariseSkipped(const SkippedLines& skipped, std::vector<std::string>& summary) {
    Count(summary, skipped.codeOutsideKeys, "with a code the target's keys cannot type");
    Count(summary, skipped.noCode, "without a code");
    Count(summary, skipped.emptyWord, "without a word");
    Count(summary, skipped.wordNotWritable, "with a word the target's lines cannot hold");
    Count(summary, skipped.prompts, "prompt lines");
    Count(summary, skipped.constructCodes, "construct-phrase codes");
    Count(summary, skipped.pinyin, "pinyin lines");
    Count(summary, skipped.unreadable, "lines or rows its own tools would not read");
}

} // namespace

std::optional<TableFormat> TableFormatNamed(std::string_view name) {
    if (name == "tide") {
        return TableFormat::Tide;
    }
    if (name == "rime") {
        return TableFormat::Rime;
    }
    if (name == "fcitx") {
        return TableFormat::Fcitx;
    }
    if (name == "ibus") {
        return TableFormat::Ibus;
    }
    return std::nullopt;
}

LoadedTable ReadTable(TableFormat format, std::string_view input, std::string_view stem,
                      const ConversionOptions& options, std::deque<std::string>& texts,
                      std::vector<std::string>& perFile) {
    LoadedTable table;
    switch (format) {
    case TableFormat::Tide:
        texts.emplace_back();
        table = ReadTideTable(input, texts.back());
        break;
    case TableFormat::Rime:
        table = ReadRimeDict(input);
        break;
    case TableFormat::Fcitx:
        table = ReadFcitxTable(input);
        break;
    case TableFormat::Ibus: {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        if (SqliteFile::LooksLikeSqlite(bytes)) {
            texts.emplace_back();
            table = ReadIbusDatabase(bytes, texts.back());
        } else {
            table = ReadIbusSource(input);
        }
        break;
    }
    }
    if (table.error.empty()) {
        table.error = ImportMerger(options, texts, perFile).Merge(table, stem);
    }
    return table;
}

ConversionResult ConvertTable(TableFormat from, TableFormat to, std::string_view input,
                              std::string_view inputStem, std::string_view outputStem,
                              const ConversionOptions& options) {
    ConversionResult result;
    std::deque<std::string> texts;
    std::vector<std::string> perFile;
    LoadedTable table = ReadTable(from, input, inputStem, options, texts, perFile);
    if (!table.error.empty()) {
        result.error = table.error;
        return result;
    }
    PutInCandidateOrder(table);
    std::string rulesLeftOut;
    if (options.withoutRules && !table.info.rules.empty()) {
        rulesLeftOut = DescribeRules(table.info.rules);
        table.info.rules.clear();
    }

    SkippedLines skipped = table.skipped;
    std::vector<std::string> notes;
    switch (to) {
    case TableFormat::Tide:
        result.output = WriteTideTable(table, inputStem, skipped, notes, result.error);
        break;
    case TableFormat::Rime:
        result.output = WriteRimeDict(table, outputStem, skipped, result.error);
        break;
    case TableFormat::Fcitx:
        result.output = WriteFcitxTable(table, skipped, notes, result.error);
        break;
    case TableFormat::Ibus:
        result.output = WriteIbusSource(table, outputStem, skipped, notes, result.error);
        break;
    }
    if (!result.error.empty()) {
        result.output.clear();
        return result;
    }
    const SkippedLines& read = table.skipped;
    const std::size_t droppedByWriter =
        (skipped.codeOutsideKeys - read.codeOutsideKeys) + (skipped.noCode - read.noCode) +
        (skipped.emptyWord - read.emptyWord) + (skipped.wordNotWritable - read.wordNotWritable);
    result.written = table.entries.size() - droppedByWriter;
    result.summary.push_back("converted " + std::to_string(result.written) + " entries");
    for (std::string& line : perFile) {
        result.summary.push_back(std::move(line));
    }
    if (!rulesLeftOut.empty()) {
        result.summary.push_back("left out the phrase rules (" + rulesLeftOut +
                                 "): new phrases will not be coded automatically");
    }
    SummariseSkipped(skipped, result.summary);
    for (std::string& note : table.notes) {
        result.summary.push_back(std::move(note));
    }
    for (std::string& note : notes) {
        result.summary.push_back(std::move(note));
    }
    return result;
}

} // namespace tide
