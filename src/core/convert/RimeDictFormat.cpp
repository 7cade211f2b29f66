#include "core/convert/RimeDictFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

#include "core/convert/PhraseFormulas.h"
#include "core/convert/TextLines.h"

namespace tide {
namespace {

constexpr std::string_view kHeaderEnd = "...";
constexpr std::string_view kCommentsOff = "# no comment";

std::size_t Indent(std::string_view line) {
    return line.find_first_not_of(' ');
}

// A scalar without its trailing comment and quotes.
std::string_view Scalar(std::string_view value) {
    value = TrimAscii(value);
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
        const std::size_t close = value.find(value.front(), 1);
        return close == std::string_view::npos ? value.substr(1) : value.substr(1, close - 1);
    }
    const std::size_t comment = value.find(" #");
    return TrimAscii(value.substr(0, comment));
}

// "key: value" split at the first ": " (or a final ":").
bool SplitKey(std::string_view text, std::string_view& key, std::string_view& value) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos ||
        (colon + 1 < text.size() && text[colon + 1] != ' ' && text[colon + 1] != '\t')) {
        return false;
    }
    key = TrimAscii(text.substr(0, colon));
    value = text.substr(colon + 1);
    return true;
}

// "[a, b, c]": the items; nothing when the value is no flow list.
bool FlowList(std::string_view value, std::vector<std::string_view>& items) {
    value = TrimAscii(value);
    if (value.size() < 2 || value.front() != '[' || value.back() != ']') {
        return false;
    }
    value = value.substr(1, value.size() - 2);
    while (!value.empty()) {
        const std::size_t comma = value.find(',');
        items.push_back(Scalar(value.substr(0, comma)));
        value = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
    }
    return true;
}

bool ToInt(std::string_view text, int& number) {
    text = TrimAscii(text);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && end == text.data() + text.size();
}

struct RuleItem {
    std::string_view formula;
    std::string_view lengthEqual;
    std::string_view lengthInRange;
};

// Reads the header lines; false with `table.error` set when they are unusable.
class HeaderReader {
public:
    explicit HeaderReader(LoadedTable& table) : table_(table) {}

    void Line(std::string_view line) {
        const std::string_view text = TrimAscii(line);
        if (text.empty() || text.front() == '#' || text == "---") {
            return;
        }
        const std::size_t indent = Indent(line);
        std::string_view key;
        std::string_view value;
        if (indent == 0) {
            section_ = {};
            if (SplitKey(text, key, value)) {
                TopKey(key, value);
            }
            return;
        }
        if (section_ == "columns" && text.front() == '-') {
            columns_.push_back(Scalar(text.substr(1)));
        } else if (section_ == "import_tables" && text.front() == '-') {
            AddImport(Scalar(text.substr(1)));
        } else if (section_ == "encoder") {
            EncoderLine(indent, text);
        }
    }

    // Fills the table's facts; false when the rules cannot be read.
    bool Finish(int& textColumn, int& codeColumn, int& weightColumn) {
        textColumn = codeColumn = weightColumn = -1;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            int* column = columns_[i] == "text"     ? &textColumn
                          : columns_[i] == "code"   ? &codeColumn
                          : columns_[i] == "weight" ? &weightColumn
                                                    : nullptr;
            if (column) {
                *column = static_cast<int>(i);
            }
        }
        if (textColumn < 0) {
            table_.error = "the columns list no text";
            return false;
        }
        for (std::size_t i = 0; i < rules_.size(); ++i) {
            if (!AddRule(i + 1, rules_[i])) {
                return false;
            }
        }
        return true;
    }

private:
    void TopKey(std::string_view key, std::string_view value) {
        if (key == "name") {
            table_.info.name = Scalar(value);
        } else if (key == "version") {
            table_.info.version = Scalar(value);
        } else if (key == "sort") {
            table_.info.orderByWeight = Scalar(value) != "original";
        } else if (key == "columns") {
            section_ = "columns";
            columns_.clear();
            FlowList(value, columns_);
        } else if (key == "encoder") {
            section_ = "encoder";
        } else if (key == "import_tables") {
            section_ = "import_tables";
            std::vector<std::string_view> names;
            FlowList(value, names);
            for (const std::string_view name : names) {
                AddImport(name);
            }
        }
    }

    void AddImport(std::string_view name) {
        if (!name.empty()) {
            table_.imports.emplace_back(name);
        }
    }

    void EncoderLine(std::size_t indent, std::string_view text) {
        std::string_view key;
        std::string_view value;
        if (encoderIndent_ == 0 || indent <= encoderIndent_) {
            encoderIndent_ = indent;
            inRules_ = SplitKey(text, key, value) && key == "rules";
            if (SplitKey(text, key, value) && key == "exclude_patterns") {
                table_.notes.emplace_back("encoder/exclude_patterns: not carried over");
            }
            return;
        }
        if (!inRules_) {
            return;
        }
        if (text.front() == '-') {
            rules_.emplace_back();
            text = TrimAscii(text.substr(1));
        }
        if (rules_.empty() || !SplitKey(text, key, value)) {
            return;
        }
        RuleItem& item = rules_.back();
        if (key == "formula") {
            item.formula = Scalar(value);
        } else if (key == "length_equal") {
            item.lengthEqual = value;
        } else if (key == "length_in_range") {
            item.lengthInRange = value;
        }
    }

    bool AddRule(std::size_t number, const RuleItem& item) {
        const std::string where = "encoder rule " + std::to_string(number);
        PhraseFormula rule;
        std::vector<std::string_view> range;
        if (!item.lengthEqual.empty() && ToInt(Scalar(item.lengthEqual), rule.minLength)) {
            rule.maxLength = rule.minLength;
        } else if (!(FlowList(item.lengthInRange, range) && range.size() == 2 &&
                     ToInt(range[0], rule.minLength) && ToInt(range[1], rule.maxLength))) {
            table_.error = where + " has no length_equal or length_in_range [min, max]";
            return false;
        }
        if (rule.minLength < 1 || rule.maxLength < rule.minLength) {
            table_.error = where + " has no valid length";
            return false;
        }
        if (rule.minLength > kLongestPhrase) {
            table_.notes.push_back(where + " is for phrases longer than Rime encodes: left out");
            return true;
        }
        rule.maxLength = std::min(rule.maxLength, kLongestPhrase);
        const auto elements = ParseRimeFormula(item.formula);
        if (!elements) {
            table_.error = where + ": the formula \"" + std::string(item.formula) +
                           "\" is not pairs of a capital and a small letter";
            return false;
        }
        rule.elements = *elements;
        table_.info.rules.push_back(std::move(rule));
        return true;
    }

    LoadedTable& table_;
    std::string_view section_;
    std::vector<std::string_view> columns_ = {"text", "code", "weight"};
    std::size_t encoderIndent_ = 0;
    bool inRules_ = false;
    std::vector<RuleItem> rules_;
};

double Weight(std::string_view text) {
    // Most weights are plain integers.
    if (!text.empty() && text.size() < 16 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        std::uint64_t value = 0;
        for (const char c : text) {
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return static_cast<double>(value);
    }
    text = TrimAscii(text);
    double weight = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), weight);
    return error == std::errc() && end == text.data() + text.size() ? weight : 0;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

LoadedTable ReadRimeDict(std::string_view text) {
    LoadedTable table;
    table.info.orderByWeight = true; // Rime's default: by weight
    Utf8Lines lines(text);
    HeaderReader header(table);
    bool ended = false;
    while (!lines.AtEnd() && !ended) {
        std::string_view line = lines.Next();
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        ended = line == kHeaderEnd;
        if (!ended) {
            header.Line(line);
        }
    }
    if (!ended) {
        table.error = "no line \"...\" ends the YAML header";
        return table;
    }
    int textColumn = 0;
    int codeColumn = 1;
    int weightColumn = 2;
    if (!header.Finish(textColumn, codeColumn, weightColumn)) {
        return table;
    }
    bool comments = true;
    const int lastColumn = std::max({textColumn, codeColumn, weightColumn});
    std::vector<std::string_view> fields(static_cast<std::size_t>(lastColumn) + 1);
    table.entries.reserve(CountLines(text));
    while (!lines.AtEnd()) {
        std::string_view line = lines.Next();
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (line.front() == '#' && comments) {
            comments = line != kCommentsOff;
            continue;
        }
        // The fields up to the last column read, found in one pass over the
        // line's few bytes.
        std::size_t column = 0;
        std::size_t start = 0;
        for (std::size_t i = 0; i < line.size() && column < fields.size(); ++i) {
            if (line[i] == '\t') {
                fields[column++] = line.substr(start, i - start);
                start = i + 1;
            }
        }
        for (; column < fields.size(); ++column) {
            fields[column] = start < line.size() ? line.substr(start) : std::string_view();
            start = line.size();
        }
        const std::string_view word = textColumn >= 0 ? fields[textColumn] : std::string_view();
        const std::string_view code =
            codeColumn >= 0 ? TrimAscii(fields[codeColumn]) : std::string_view();
        if (word.empty()) {
            ++table.skipped.emptyWord;
        } else if (code.empty()) {
            ++table.skipped.noCode;
        } else {
            const bool weighed = table.info.orderByWeight && weightColumn >= 0;
            table.entries.push_back({code, word, weighed ? Weight(fields[weightColumn]) : 0});
        }
    }
    return table;
}

std::string WriteRimeDict(const LoadedTable& table, std::string_view dictName,
                          SkippedLines& skipped, std::string& error) {
    std::string rules;
    for (const PhraseFormula& rule : table.info.rules) {
        const std::string formula = FormatRimeFormula(rule.elements, error);
        if (formula.empty()) {
            return {};
        }
        rules += rule.minLength == rule.maxLength
                     ? "    - length_equal: " + std::to_string(rule.minLength) + "\n"
                     : "    - length_in_range: [" + std::to_string(rule.minLength) + ", " +
                           std::to_string(rule.maxLength) + "]\n";
        rules += "      formula: \"" + formula + "\"\n";
    }
    std::string out =
        "# Rime dictionary written by tidetool convert.\n"
        "# Words of one code keep the source's candidate order (sort: original).\n"
        "# encoding: utf-8\n---\nname: ";
    out.append(PrintableText(dictName)).append("\nversion: ");
    out += Quoted(PrintableText(table.info.version.empty() ? "1.0" : table.info.version));
    out += "\nsort: original\ncolumns:\n  - text\n  - code\n";
    if (!rules.empty()) {
        out += "encoder:\n  rules:\n" + rules;
    }
    out += "...\n\n";
    out.reserve(out.size() + table.entries.size() * 16);
    for (const TableEntry& entry : table.entries) {
        if (entry.word.empty()) {
            ++skipped.emptyWord;
        } else if (entry.code.empty()) {
            ++skipped.noCode;
        } else if (entry.word.front() == '#' || !LineCanHold(entry.word)) {
            ++skipped.wordNotWritable;
        } else if (entry.code.size() != TrimAscii(entry.code).size() ||
                   entry.code.find_first_of("\t\r") != std::string_view::npos) {
            ++skipped.codeOutsideKeys;
        } else {
            out.append(entry.word).append("\t").append(entry.code).append("\n");
        }
    }
    return out;
}

} // namespace tide
