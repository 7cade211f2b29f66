#include "core/convert/PhraseFormulas.h"

#include <algorithm>

#include "core/convert/TextLines.h"

namespace tide {
namespace {

// Rime: A–T count from the start, U–Z from the end; the same for a–t, u–z.
constexpr int kRimeFromStartCount = 20;
constexpr int kRimeFromEndCount = 6;
// Table headers and fcitx name rule lengths with one digit.
constexpr int kLongestNamedLength = 9;

bool RimePosition(char letter, char first, bool& fromEnd, int& number) {
    const int offset = letter - first;
    if (offset < 0 || offset >= 26) {
        return false;
    }
    fromEnd = offset >= kRimeFromStartCount;
    number = fromEnd ? 26 - offset : offset + 1;
    return true;
}

char RimeLetter(bool fromEnd, int number, char first) {
    if (number < 1 || number > (fromEnd ? kRimeFromEndCount : kRimeFromStartCount)) {
        return '\0';
    }
    return static_cast<char>(fromEnd ? first + 26 - number : first + number - 1);
}

std::string LengthText(const PhraseFormula& rule) {
    std::string text = "the rule for " + std::to_string(rule.minLength);
    if (rule.maxLength != rule.minLength) {
        text +=
            rule.maxLength >= kLongestPhrase ? " or more" : " to " + std::to_string(rule.maxLength);
    }
    return text + " characters";
}

// A header rule number: "0"–"9", then "a" for 10 and so on.
char HeaderDigit(int number) {
    if (number < 0 || number > 35) {
        return '\0';
    }
    return static_cast<char>(number < 10 ? '0' + number : 'a' + number - 10);
}

// For each length 0..kLongestPhrase the index of the first rule covering
// it, or -1.
std::vector<int> RuleForEachLength(const std::vector<PhraseFormula>& rules) {
    std::vector<int> chosen(kLongestPhrase + 1, -1);
    for (int length = 0; length <= kLongestPhrase; ++length) {
        for (std::size_t i = 0; i < rules.size(); ++i) {
            if (rules[i].Covers(length)) {
                chosen[length] = static_cast<int>(i);
                break;
            }
        }
    }
    return chosen;
}

} // namespace

std::optional<std::vector<FormulaElement>> ParseRimeFormula(std::string_view formula) {
    if (formula.empty() || formula.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<FormulaElement> elements;
    for (std::size_t i = 0; i < formula.size(); i += 2) {
        FormulaElement element;
        if (!RimePosition(formula[i], 'A', element.charFromEnd, element.charNumber) ||
            !RimePosition(formula[i + 1], 'a', element.letterFromEnd, element.letterNumber)) {
            return std::nullopt;
        }
        elements.push_back(element);
    }
    return elements;
}

std::string FormatRimeFormula(const std::vector<FormulaElement>& elements, std::string& error) {
    std::string formula;
    for (const FormulaElement& element : elements) {
        const char character = RimeLetter(element.charFromEnd, element.charNumber, 'A');
        const char letter = RimeLetter(element.letterFromEnd, element.letterNumber, 'a');
        if (!character || !letter) {
            error =
                "Rime formulas reach characters 1-20 from the start and 1-6 from the end, "
                "and as many code letters";
            return {};
        }
        formula += character;
        formula += letter;
    }
    return formula;
}

std::optional<PhraseFormula> ParseFcitxRule(std::string_view line) {
    if (line.size() < 4 || line[2] != '=' || line[1] < '1' || line[1] > '9') {
        return std::nullopt;
    }
    PhraseFormula rule;
    const char kind = static_cast<char>(line[0] | 0x20);
    if (kind != 'e' && kind != 'a') {
        return std::nullopt;
    }
    rule.minLength = line[1] - '0';
    rule.maxLength = kind == 'e' ? rule.minLength : kLongestPhrase;
    std::string_view rest = line.substr(3);
    while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        const std::string_view text = rest.substr(0, plus);
        rest = plus == std::string_view::npos ? std::string_view() : rest.substr(plus + 1);
        const char from = text.empty() ? '\0' : static_cast<char>(text[0] | 0x20);
        if (text.size() != 3 || (from != 'p' && from != 'n') || text[1] < '0' || text[1] > '9') {
            return std::nullopt;
        }
        FormulaElement element;
        element.charFromEnd = from == 'n';
        element.charNumber = text[1] - '0';
        const char position = static_cast<char>(text[2] | 0x20);
        if (position >= '0' && position <= '9') {
            element.letterNumber = position - '0';
        } else if (position >= 'a' && position <= 'z') {
            element.letterFromEnd = true;
            element.letterNumber = 'z' - position + 1;
        } else {
            return std::nullopt;
        }
        if ((element.charNumber == 0) != (element.letterNumber == 0)) {
            return std::nullopt;
        }
        if (element.charNumber != 0) { // "p00" holds a place and takes nothing
            rule.elements.push_back(element);
        }
        if (plus != std::string_view::npos && rest.empty()) {
            return std::nullopt;
        }
    }
    if (rule.elements.empty()) {
        return std::nullopt;
    }
    return rule;
}

std::string FormatFcitxRule(const PhraseFormula& rule, std::string& error) {
    const bool orLonger = rule.maxLength >= kLongestPhrase;
    if (rule.minLength < 1 || rule.minLength > 9 ||
        (!orLonger && rule.maxLength != rule.minLength)) {
        error = "fcitx rules name one length from 1 to 9 (e) or a length and all longer (a); " +
                LengthText(rule) + " is neither";
        return {};
    }
    std::string line = {orLonger ? 'a' : 'e', static_cast<char>('0' + rule.minLength), '='};
    for (const FormulaElement& element : rule.elements) {
        if (element.charNumber > 9 || element.letterNumber > (element.letterFromEnd ? 26 : 9)) {
            error = "fcitx rules reach characters 1-9 and code letters 1-9 (or from the end)";
            return {};
        }
        if (line.back() != '=') {
            line += '+';
        }
        line += element.charFromEnd ? 'n' : 'p';
        line += static_cast<char>('0' + element.charNumber);
        line += element.letterFromEnd ? static_cast<char>('z' - element.letterNumber + 1)
                                      : static_cast<char>('0' + element.letterNumber);
    }
    return line;
}

std::optional<PhraseFormula> ParseIbusRule(std::string_view item) {
    item = TrimAscii(item);
    if (item.size() < 5 || item[0] != 'c' || (item[1] != 'e' && item[1] != 'a') || item[2] < '1' ||
        item[2] > '9' || item[3] != ':') {
        return std::nullopt;
    }
    PhraseFormula rule;
    rule.minLength = item[2] - '0';
    rule.maxLength = item[1] == 'e' ? rule.minLength : kLongestPhrase;
    // One signed digit: 1-9, or -1 to -9 counted from the end.
    const auto number = [](std::string_view& text, bool& fromEnd, int& value) {
        fromEnd = !text.empty() && text.front() == '-';
        if (fromEnd) {
            text.remove_prefix(1);
        }
        if (text.empty() || text.front() < '1' || text.front() > '9') {
            return false;
        }
        value = text.front() - '0';
        text.remove_prefix(1);
        return true;
    };
    std::string_view rest = item.substr(4);
    while (!rest.empty()) {
        const std::size_t plus = rest.find('+');
        std::string_view text = TrimAscii(rest.substr(0, plus));
        rest = plus == std::string_view::npos ? std::string_view() : rest.substr(plus + 1);
        FormulaElement element;
        if (text.empty() || text.front() != 'p') {
            return std::nullopt;
        }
        text.remove_prefix(1);
        if (!number(text, element.charFromEnd, element.charNumber) ||
            !number(text, element.letterFromEnd, element.letterNumber) || !text.empty()) {
            return std::nullopt;
        }
        rule.elements.push_back(element);
        if (plus != std::string_view::npos && rest.empty()) {
            return std::nullopt;
        }
    }
    return rule.elements.empty() ? std::nullopt : std::optional(rule);
}

std::string FormatIbusRule(const PhraseFormula& rule, std::string& error) {
    const bool orLonger = rule.maxLength >= kLongestPhrase;
    if (rule.minLength < 1 || rule.minLength > 9 ||
        (!orLonger && rule.maxLength != rule.minLength)) {
        error =
            "ibus-table rules name one length from 1 to 9 (ce) or a length and all longer "
            "(ca); " +
            LengthText(rule) + " is neither";
        return {};
    }
    std::string item = {'c', orLonger ? 'a' : 'e', static_cast<char>('0' + rule.minLength), ':'};
    for (const FormulaElement& element : rule.elements) {
        if (element.charNumber > 9 || element.letterNumber > 9) {
            error = "ibus-table rules reach characters and code letters 1-9 from either end";
            return {};
        }
        if (item.back() != ':') {
            item += '+';
        }
        item += 'p';
        item += element.charFromEnd ? "-" : "";
        item += static_cast<char>('0' + element.charNumber);
        item += element.letterFromEnd ? "-" : "";
        item += static_cast<char>('0' + element.letterNumber);
    }
    return item;
}

std::vector<PhraseFormula> FormulasOfHeader(const CodeTableHeader& header) {
    std::vector<PhraseFormula> rules;
    for (std::size_t slot = 0; slot < kRuleSlotCount; ++slot) {
        const RuleSlot& rule = header.Rules[slot];
        if (rule.elements[0].charNumber == 0) {
            break;
        }
        PhraseFormula formula;
        formula.minLength = formula.maxLength = static_cast<int>(slot) + 2;
        for (const RuleElement& element : rule.elements) {
            if (element.charNumber == 0) {
                break;
            }
            formula.elements.push_back(
                {element.fromEnd != 0, element.charNumber, false, element.letterNumber});
        }
        rules.push_back(std::move(formula));
    }
    if (!rules.empty()) {
        rules.back().maxLength = kLongestPhrase;
    }
    return rules;
}

std::optional<std::vector<PhraseFormula>> RulesByLength(const std::vector<PhraseFormula>& rules,
                                                        std::string& error,
                                                        std::vector<std::string>& notes) {
    std::vector<PhraseFormula> byLength;
    if (rules.empty()) {
        return byLength;
    }
    const std::vector<int> chosen = RuleForEachLength(rules);
    int top = kLongestNamedLength;
    while (top >= 2 && chosen[top] == -1) {
        --top;
    }
    if (top < 2) {
        error = "rules here start at phrases of 2 characters and name lengths up to " +
                std::to_string(kLongestNamedLength) + "; the source's rules serve none of them";
        return std::nullopt;
    }
    // The last length that needs a rule of its own: from there on one rule
    // serves every length.
    int last = top;
    while (last > 2 && chosen[last] == chosen[last - 1]) {
        --last;
    }
    for (int length = top + 1; length <= kLongestPhrase; ++length) {
        if (chosen[length] != -1 && chosen[length] != chosen[last]) {
            error = "rules here name lengths up to " + std::to_string(kLongestNamedLength) +
                    ", and the last one serves all longer phrases; " +
                    LengthText(rules[chosen[length]]) + " cannot be expressed";
            return std::nullopt;
        }
    }
    for (int length = 2; length <= last; ++length) {
        if (chosen[length] == -1) {
            error = "rules here cover every length from 2 on, but the source has no rule for " +
                    std::to_string(length) + " characters";
            return std::nullopt;
        }
        PhraseFormula rule = rules[chosen[length]];
        rule.minLength = length;
        rule.maxLength = length == last ? kLongestPhrase : length;
        byLength.push_back(std::move(rule));
    }
    const auto widened = std::find(chosen.begin() + top + 1, chosen.end(), -1);
    if (widened != chosen.end()) {
        notes.push_back("phrases of " + std::to_string(widened - chosen.begin()) +
                        " or more characters, which the source's rules do not encode, take " +
                        LengthText(rules[chosen[last]]));
    }
    return byLength;
}

std::string StoreFormulasInHeader(const std::vector<PhraseFormula>& rules, CodeTableHeader& header,
                                  std::vector<std::string>& notes) {
    header.PhraseRule = 0;
    std::fill(std::begin(header.Rules), std::end(header.Rules), RuleSlot{});
    std::string error;
    std::optional<std::vector<PhraseFormula>> byLength = RulesByLength(rules, error, notes);
    if (!byLength || byLength->empty()) {
        return error;
    }
    // At least two slots: PhraseRule=1 would stand for the default rules.
    if (byLength->size() == 1) {
        byLength->push_back(byLength->front());
    }
    header.PhraseRule = static_cast<std::uint8_t>(byLength->size());
    for (std::size_t slot = 0; slot < byLength->size(); ++slot) {
        const PhraseFormula& rule = (*byLength)[slot];
        if (rule.elements.size() > kRuleElementCount) {
            return "a table's rules take at most " + std::to_string(kRuleElementCount) +
                   " code letters; " + LengthText(rule) + " takes " +
                   std::to_string(rule.elements.size());
        }
        RuleSlot& target = header.Rules[slot];
        target.kind = slot + 1 == byLength->size() ? 1 : 0;
        for (std::size_t i = 0; i < rule.elements.size(); ++i) {
            const FormulaElement& element = rule.elements[i];
            if (element.letterFromEnd || !HeaderDigit(element.charNumber) ||
                !HeaderDigit(element.letterNumber)) {
                return "a table's rules count code letters from the start only; " +
                       LengthText(rule) + " counts one from the end";
            }
            target.elements[i] = {static_cast<std::uint8_t>(element.charFromEnd ? 1 : 0),
                                  static_cast<std::uint8_t>(element.charNumber),
                                  static_cast<std::uint8_t>(element.letterNumber)};
        }
    }
    return {};
}

std::optional<std::vector<std::string>>
FormatRulesByLength(const std::vector<PhraseFormula>& rules,
                    std::string (*format)(const PhraseFormula&, std::string&), std::string& error,
                    std::vector<std::string>& notes) {
    const std::optional<std::vector<PhraseFormula>> shaped = RulesByLength(rules, error, notes);
    if (!shaped) {
        return std::nullopt;
    }
    std::vector<std::string> items;
    for (const PhraseFormula& rule : *shaped) {
        items.push_back(format(rule, error));
        if (items.back().empty()) {
            return std::nullopt;
        }
    }
    return items;
}

} // namespace tide
