#include "core/convert/FcitxTableFormat.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "core/convert/KeyedEntries.h"
#include "core/convert/PhraseFormulas.h"
#include "core/convert/TextLines.h"

namespace tide {
namespace {

enum class Key {
    KeyCode,
    Length,
    InvalidChar,
    Pinyin,
    PinyinLength,
    Prompt,
    Construct,
    Rule,
    Data,
    Phrase
};

struct KeyName {
    Key key;
    std::string_view english;
    std::string_view chinese;
};

constexpr KeyName kKeys[] = {
    {Key::KeyCode, "KeyCode=", "键码="},
    {Key::Length, "Length=", "码长="},
    {Key::InvalidChar, "InvalidChar=", "规避字符="},
    {Key::Pinyin, "Pinyin=", "拼音="},
    {Key::PinyinLength, "PinyinLength=", "拼音长度="},
    {Key::Prompt, "Prompt=", "提示="},
    {Key::Construct, "ConstructPhrase=", "构词="},
    {Key::Rule, "[Rule]", "[组词规则]"},
    {Key::Data, "[Data]", "[数据]"},
    {Key::Phrase, "[Phrase]", "[词组]"},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

const KeyName* FindKey(std::string_view line, std::string_view& value) {
    for (const KeyName& name : kKeys) {
        for (const std::string_view spelling : {name.english, name.chinese}) {
            if (StartsWith(line, spelling)) {
                value = line.substr(spelling.size());
                return &name;
            }
        }
    }
    return nullptr;
}

enum class Phase { Header, Rules, Data, Phrases };

struct Prefixes {
    char pinyin = 0;
    char prompt = 0;
    char construct = 0;
    bool promptDeclared = false;
    bool constructDeclared = false;
};

// A word written as "..." stands for what is inside; one with escapes in it
// is not taken (the entries point into the file's text).
bool TakeQuotes(std::string_view& word) {
    if (word.size() < 2 || word.front() != '"' || word.back() != '"') {
        return true;
    }
    word = word.substr(1, word.size() - 2);
    return word.find('\\') == std::string_view::npos;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

LoadedTable ReadFcitxTable(std::string_view text) {
    LoadedTable table;
    std::array<bool, 256> keys{};
    bool anyKey = false;
    Prefixes prefixes;
    Phase phase = Phase::Header;
    Utf8Lines lines(text);
    table.entries.reserve(CountLines(text));
    while (!lines.AtEnd()) {
        const std::string_view line = TrimAscii(lines.Next());
        if (line.empty()) {
            continue;
        }
        std::string_view value;
        const KeyName* key = phase == Phase::Data || phase == Phase::Phrases
                                 ? (line.front() == '[' ? FindKey(line, value) : nullptr)
                                 : FindKey(line, value);
        if (key) {
            switch (key->key) {
            case Key::KeyCode:
                for (const char c : value) {
                    keys[static_cast<unsigned char>(c)] = anyKey = true;
                }
                break;
            case Key::Length:
                std::from_chars(value.data(), value.data() + value.size(), table.info.codeLength);
                break;
            case Key::Pinyin:
                prefixes.pinyin = value.empty() ? 0 : value.front();
                break;
            case Key::Prompt:
                prefixes.prompt = value.empty() ? 0 : value.front();
                prefixes.promptDeclared = true;
                break;
            case Key::Construct:
                prefixes.construct = value.empty() ? 0 : value.front();
                prefixes.constructDeclared = true;
                break;
            case Key::Rule:
                phase = Phase::Rules;
                break;
            case Key::Data:
                phase = Phase::Data;
                break;
            case Key::Phrase:
                phase = Phase::Phrases;
                break;
            case Key::InvalidChar:
            case Key::PinyinLength:
                break;
            }
            if (phase == Phase::Data && !anyKey) {
                table.error = "no KeyCode= before [Data]";
                return table;
            }
            continue;
        }
        switch (phase) {
        case Phase::Header:
            break; // comments ("#", mb2txt's ";fcitx" line) and keys of no concern
        case Phase::Rules: {
            if (line.front() == '#') {
                break;
            }
            std::optional<PhraseFormula> rule = ParseFcitxRule(line);
            if (!rule) {
                table.error = "line " + std::to_string(lines.lineNumber()) + ": the rule \"" +
                              std::string(line) + "\" is not like e2=p11+p12+p21+p22";
                return table;
            }
            table.info.rules.push_back(std::move(*rule));
            break;
        }
        case Phase::Phrases:
            ++table.skipped.noCode;
            break;
        case Phase::Data: {
            // fcitx 4 takes "&" and "^" for prompts and construct-phrase codes
            // unless the file says otherwise.
            const char prompt = prefixes.promptDeclared ? prefixes.prompt : '&';
            const char construct = prefixes.constructDeclared ? prefixes.construct : '^';
            const std::size_t space =
                std::find_if(line.begin(), line.end(), IsSpace) - line.begin();
            std::string_view code = line.substr(0, space);
            std::string_view word = TrimAscii(line.substr(std::min(space, line.size())));
            const bool wordReadable = TakeQuotes(word);
            const char first = code.front();
            if (first == prefixes.pinyin && first != 0 &&
                !keys[static_cast<unsigned char>(first)]) {
                ++table.skipped.pinyin;
            } else if (first == prompt && !keys[static_cast<unsigned char>(first)]) {
                ++table.skipped.prompts;
            } else if (first == construct && !keys[static_cast<unsigned char>(first)]) {
                ++table.skipped.constructCodes;
            } else if (!std::all_of(code.begin(), code.end(),
                                    [&](char c) { return keys[static_cast<unsigned char>(c)]; }) ||
                       (table.info.codeLength > 0 &&
                        code.size() > static_cast<std::size_t>(table.info.codeLength))) {
                ++table.skipped.codeOutsideKeys;
            } else if (word.empty()) {
                ++table.skipped.emptyWord;
            } else if (!wordReadable) {
                ++table.skipped.wordNotWritable;
            } else {
                table.entries.push_back({code, word, 0});
            }
            break;
        }
        }
    }
    if (phase != Phase::Data && phase != Phase::Phrases) {
        table.error = "no [Data] section";
    }
    return table;
}

std::string WriteFcitxTable(const LoadedTable& table, SkippedLines& skipped,
                            std::vector<std::string>& notes, std::string& error) {
    const auto rules = FormatRulesByLength(table.info.rules, FormatFcitxRule, error, notes);
    if (!rules) {
        return {};
    }
    // Codes of printable ASCII that no fcitx reader takes for a prefix.
    const auto codeFits = [](std::string_view code) {
        return code.front() != '&' && code.front() != '^' && code.front() != '@' &&
               code.front() != '#' && code.front() != '[' &&
               std::all_of(code.begin(), code.end(), [](char c) { return c > ' ' && c < 127; });
    };
    const auto wordFits = [](std::string_view word) {
        return word.front() != '"' && word.find(' ') == std::string_view::npos && LineCanHold(word);
    };
    KeyedEntries written;
    std::string data;
    data.reserve(table.entries.size() * 12);
    written.Write(table, skipped, codeFits, wordFits, [&](const TableEntry& entry) {
        data.append(entry.code).append(" ").append(entry.word).append("\n");
    });
    std::string out = "# fcitx table written by tidetool convert";
    if (!table.info.name.empty()) {
        out += " from " + PrintableText(table.info.name);
    }
    out += "\n# KeyCode: the keys the codes use; Length: the longest code.\nKeyCode=";
    out += written.Keys();
    out += "\nLength=" + std::to_string(written.Length(table.info)) + "\n";
    if (!rules->empty()) {
        out += "[Rule]\n";
        for (const std::string& line : *rules) {
            out += line + "\n";
        }
    }
    out += "[Data]\n";
    return out + data;
}

} // namespace tide
