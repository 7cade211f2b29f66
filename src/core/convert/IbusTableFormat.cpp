#include "core/convert/IbusTableFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "core/convert/KeyedEntries.h"
#include "core/convert/PhraseFormulas.h"
#include "core/convert/SqliteFile.h"
#include "core/convert/TextLines.h"

namespace tide {
namespace {

// ibus-table's stand-in for a phrase that is empty.
constexpr std::string_view kNoSymbol = "NOSYMBOL";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// What the definitions say, from the source's lines or the database's `ime`.
class Definitions {
public:
    void Set(std::string_view key, std::string_view value) {
        const std::string name = Lower(TrimAscii(key));
        value = TrimAscii(value);
        if (name == "name") {
            name_ = value;
        } else if (name == "name.zh_cn") {
            chineseName_ = value;
        } else if (name == "serial_number") {
            version_ = value;
        } else if (name == "author") {
            author_ = value;
        } else if (name == "max_key_length") {
            int length = 0;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), length);
            maxKeyLength_ = error == std::errc() && end == value.data() + value.size() ? length : 0;
        } else if (name == "valid_input_chars") {
            keys_.fill(false);
            keysGiven_ = !value.empty();
            for (const char c : value) {
                keys_[static_cast<unsigned char>(c)] = true;
            }
        } else if (name == "rules") {
            rules_ = value;
        } else if (name == "user_can_define_phrase") {
            userCanDefinePhrase_ = Lower(value) == "true";
        }
    }

    // Fills the table's facts; false with `table.error` set for a bad rule.
    bool Apply(LoadedTable& table) const {
        table.info.name = chineseName_.empty() ? name_ : chineseName_;
        table.info.version = version_;
        table.info.author = author_;
        table.info.codeLength = std::max(maxKeyLength_, 0);
        table.info.orderByWeight = true;
        std::string_view rest = rules_;
        while (!rest.empty()) {
            const std::size_t semicolon = rest.find(';');
            const std::string_view item = TrimAscii(rest.substr(0, semicolon));
            rest = semicolon == std::string_view::npos ? std::string_view()
                                                       : rest.substr(semicolon + 1);
            if (item.empty()) {
                continue;
            }
            const std::optional<PhraseFormula> rule = ParseIbusRule(item);
            if (!rule) {
                table.error = "RULES: \"" + std::string(item) + "\" is not a rule ibus-table reads";
                return false;
            }
            table.info.rules.push_back(*rule);
        }
        if (!table.info.rules.empty() && !userCanDefinePhrase_) {
            table.info.rules.clear();
            table.notes.emplace_back(
                "USER_CAN_DEFINE_PHRASE is not TRUE: ibus-table codes no phrase by its RULES, "
                "so they are left out");
        }
        return true;
    }

    // Adds the entry, or counts why it is left out.
    void Take(LoadedTable& table, std::string_view code, std::string_view word, double freq) const {
        if (word.empty() || word == kNoSymbol) {
            ++table.skipped.emptyWord;
        } else if (code.empty()) {
            ++table.skipped.noCode;
        } else if ((keysGiven_ &&
                    !std::all_of(code.begin(), code.end(),
                                 [&](char c) { return keys_[static_cast<unsigned char>(c)]; })) ||
                   (maxKeyLength_ > 0 && code.size() > static_cast<std::size_t>(maxKeyLength_))) {
            ++table.skipped.codeOutsideKeys;
        } else if (!LineCanHold(word)) {
            ++table.skipped.wordNotWritable;
        } else {
            table.entries.push_back({code, word, freq});
        }
    }

private:
    std::string name_;
    std::string chineseName_;
    std::string version_;
    std::string author_;
    std::string rules_;
    int maxKeyLength_ = 0;
    // ibus-table's default keys are a-z.
    std::array<bool, 256> keys_ = [] {
        std::array<bool, 256> keys{};
        for (char c = 'a'; c <= 'z'; ++c) {
            keys[static_cast<unsigned char>(c)] = true;
        }
        return keys;
    }();
    bool keysGiven_ = true;
    bool userCanDefinePhrase_ = false;
};

bool Digits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

double Number(std::string_view digits) {
    double value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// The position of each named column in a CREATE TABLE statement.
std::vector<std::string> ColumnNames(std::string_view sql) {
    std::vector<std::string> names;
    const std::size_t open = sql.find('(');
    const std::size_t close = sql.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
        return names;
    }
    std::string_view list = sql.substr(open + 1, close - open - 1);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view column = TrimAscii(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const std::size_t end = column.find_first_of(" \t\r\n");
        names.push_back(Lower(column.substr(0, end)));
    }
    return names;
}

int IndexOf(const std::vector<std::string>& names, std::string_view name) {
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

} // namespace

LoadedTable ReadIbusSource(std::string_view text) {
    LoadedTable table;
    Definitions definitions;
    enum class Section { None, Definition, Table, Gouci, Pinyin, Other };
    Section section = Section::None;
    bool sawTable = false;
    Utf8Lines lines(text);
    struct Pending {
        std::string_view code;
        std::string_view word;
        double freq;
    };
    std::vector<Pending> pending;
    while (!lines.AtEnd()) {
        const std::string_view line = lines.Next();
        const std::string_view trimmed = TrimAscii(line);
        if (trimmed.empty() || trimmed.substr(0, 3) == "###") {
            continue;
        }
        if (trimmed.substr(0, 6) == "BEGIN_") {
            const std::string_view name = trimmed.substr(6);
            section = name == "DEFINITION"                       ? Section::Definition
                      : name == "TABLE" || name == "TABLE_EXTRA" ? Section::Table
                      : name == "GOUCI"                          ? Section::Gouci
                      : name == "PINYIN"                         ? Section::Pinyin
                                                                 : Section::Other;
            sawTable = sawTable || section == Section::Table;
            continue;
        }
        if (trimmed.substr(0, 4) == "END_") {
            section = Section::None;
            continue;
        }
        switch (section) {
        case Section::Definition: {
            const std::size_t equals = line.find('=');
            if (equals != std::string_view::npos) {
                definitions.Set(line.substr(0, equals), line.substr(equals + 1));
            }
            break;
        }
        case Section::Table: {
            // code TAB phrase TAB freq, anything after another TAB ignored.
            const std::size_t first = line.find('\t');
            const std::size_t second =
                first == std::string_view::npos ? first : line.find('\t', first + 1);
            if (second == std::string_view::npos) {
                ++table.skipped.unreadable;
                break;
            }
            const std::size_t third = line.find('\t', second + 1);
            const std::string_view freq = line.substr(second + 1, third - second - 1);
            if (!Digits(freq) || first == 0 || second == first + 1) {
                ++table.skipped.unreadable;
                break;
            }
            pending.push_back(
                {line.substr(0, first), line.substr(first + 1, second - first - 1), Number(freq)});
            break;
        }
        case Section::Gouci:
            ++table.skipped.constructCodes;
            break;
        case Section::Pinyin:
            ++table.skipped.pinyin;
            break;
        case Section::Other:
        case Section::None:
            break;
        }
    }
    if (!sawTable) {
        table.error = "no BEGIN_TABLE section";
        return table;
    }
    if (!definitions.Apply(table)) {
        return table;
    }
    table.entries.reserve(pending.size());
    for (const Pending& entry : pending) {
        definitions.Take(table, entry.code, entry.word, entry.freq);
    }
    return table;
}

LoadedTable ReadIbusDatabase(std::span<const std::uint8_t> bytes, std::string& storage) {
    LoadedTable table;
    std::string error;
    const SqliteFile database(bytes, error);
    if (!error.empty()) {
        table.error = error;
        return table;
    }
    Definitions definitions;
    if (!database.ReadTable(
            "ime",
            [&](std::span<const SqliteValue> row) {
                if (row.size() >= 2) {
                    definitions.Set(row[0].Text(), row[1].Text());
                }
            },
            error)) {
        table.error = error;
        return table;
    }
    if (!definitions.Apply(table)) {
        return table;
    }
    SqliteTable phrases;
    if (!database.FindTable("phrases", phrases, error)) {
        table.error = error;
        return table;
    }
    const std::vector<std::string> columns = ColumnNames(phrases.sql);
    const int codeColumn = IndexOf(columns, "tabkeys");
    const int wordColumn = IndexOf(columns, "phrase");
    const int freqColumn = IndexOf(columns, "freq");
    if (codeColumn < 0 || wordColumn < 0 || freqColumn < 0) {
        table.error = "the database has no table \"phrases\" of tabkeys, phrase and freq";
        return table;
    }
    // The rows' texts are copied into `storage` first and the entries made
    // after, so no growth of it moves what an entry points into.
    struct Row {
        std::size_t code;
        std::size_t codeSize;
        std::size_t word;
        std::size_t wordSize;
        double freq;
    };
    std::vector<Row> rows;
    storage.clear();
    const std::size_t last =
        static_cast<std::size_t>(std::max({codeColumn, wordColumn, freqColumn}));
    if (!database.ReadRows(
            phrases,
            [&](std::span<const SqliteValue> row) {
                if (row.size() <= last || row[codeColumn].kind != SqliteValue::Kind::Text ||
                    row[wordColumn].kind != SqliteValue::Kind::Text) {
                    ++table.skipped.unreadable;
                    return;
                }
                const SqliteValue& freq = row[freqColumn];
                const double weight = freq.kind == SqliteValue::Kind::Integer
                                          ? static_cast<double>(freq.integer)
                                      : freq.kind == SqliteValue::Kind::Real ? freq.real
                                                                             : 0;
                const std::string_view code = TrimAscii(row[codeColumn].bytes);
                const std::string_view word = row[wordColumn].bytes;
                rows.push_back({storage.size(), code.size(), storage.size() + code.size(),
                                word.size(), weight});
                storage.append(code).append(word);
            },
            error)) {
        table.error = error;
        return table;
    }
    table.entries.reserve(rows.size());
    const std::string_view all = storage;
    for (const Row& row : rows) {
        definitions.Take(table, all.substr(row.code, row.codeSize),
                         all.substr(row.word, row.wordSize), row.freq);
    }
    return table;
}

std::string WriteIbusSource(const LoadedTable& table, std::string_view name, SkippedLines& skipped,
                            std::vector<std::string>& notes, std::string& error) {
    const auto rules = FormatRulesByLength(table.info.rules, FormatIbusRule, error, notes);
    if (!rules) {
        return {};
    }
    // Codes of printable ASCII other than "=" that no section line starts
    // with; words a line holds that ibus-table does not take for its empty
    // phrase.
    const auto codeFits = [](std::string_view code) {
        return std::all_of(code.begin(), code.end(),
                           [](char c) { return c > ' ' && c < 127 && c != '='; }) &&
               code.substr(0, 3) != "###" && code.substr(0, 4) != "END_" &&
               code.substr(0, 6) != "BEGIN_";
    };
    const auto wordFits = [](std::string_view word) {
        return LineCanHold(word) && word != kNoSymbol;
    };
    KeyedEntries written;
    std::string data;
    data.reserve(table.entries.size() * 20);
    // Falling freqs keep the file's order, the candidate order of each code.
    std::size_t freq = table.entries.size();
    written.Write(table, skipped, codeFits, wordFits, [&](const TableEntry& entry) {
        data.append(entry.code).append("\t").append(entry.word).append("\t");
        data.append(std::to_string(freq--)).append("\n");
    });
    std::string asciiName;
    for (const char c : name) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-') {
            asciiName += c;
        }
    }
    // A value holds no "=" (ibus-table splits the line at every one).
    const auto value = [](std::string_view text) {
        std::string clean = PrintableText(text);
        std::replace(clean.begin(), clean.end(), '=', '-');
        return clean;
    };
    std::string out =
        "### ibus-table source written by tidetool convert\n"
        "SCIM_Generic_Table_Phrase_Library_TEXT\nVERSION_1_0\n\nBEGIN_DEFINITION\n";
    out += "NAME = " + (asciiName.empty() ? std::string("table") : asciiName) + "\n";
    if (!table.info.name.empty()) {
        out += "NAME.zh_CN = " + value(table.info.name) + "\n";
    }
    if (!table.info.author.empty()) {
        out += "AUTHOR = " + value(table.info.author) + "\n";
    }
    out += "LANGUAGES = zh_CN,zh_SG,zh_TW,zh_HK\n";
    out += "VALID_INPUT_CHARS = " + written.Keys() + "\n";
    out += "MAX_KEY_LENGTH = " + std::to_string(written.Length(table.info)) + "\n";
    if (rules->empty()) {
        out += "USER_CAN_DEFINE_PHRASE = FALSE\n";
    } else {
        out += "USER_CAN_DEFINE_PHRASE = TRUE\nRULES = ";
        for (std::size_t i = 0; i < rules->size(); ++i) {
            out += (i ? ";" : "") + (*rules)[i];
        }
        out += "\n";
    }
    out += "END_DEFINITION\n\nBEGIN_TABLE\n" + data + "END_TABLE\n";
    return out;
}

} // namespace tide
