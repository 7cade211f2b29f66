// Phrase rules in each format's own notation, and the mapping of a rule set
// onto the lengths a format can name. Each writer refuses, with a reason, a
// rule its format cannot express.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/convert/TableModel.h"
#include "core/dict/CodeTableHeader.h"

namespace tide {

// "AaAbBaBb": pairs of a capital (the character: A–T from the start, U–Z
// from the end, Z the last) and a small letter (the code letter, likewise
// a–t and u–z). Nothing for any other text.
std::optional<std::vector<FormulaElement>> ParseRimeFormula(std::string_view formula);
// The formula text; empty with `error` set when an element is out of reach.
std::string FormatRimeFormula(const std::vector<FormulaElement>& elements, std::string& error);

// "e2=p11+p12+p21+p22" (exactly 2 characters) or "a4=p11+p21+p31+n11" (4 or
// more): p counts characters from the start, n from the end; the code
// position is a digit from the start or a letter from the end (z the last);
// "p00" stands for nothing. Nothing for a malformed line.
std::optional<PhraseFormula> ParseFcitxRule(std::string_view line);
std::string FormatFcitxRule(const PhraseFormula& rule, std::string& error);

// ibus-table's "ce2:p11+p12+p21+p22" (exactly 2 characters) or
// "ca4:p11+p21+p31+p-11" (4 or more): character and code letter numbers of
// one digit, negative when counted from the end. Nothing for a malformed item.
std::optional<PhraseFormula> ParseIbusRule(std::string_view item);
std::string FormatIbusRule(const PhraseFormula& rule, std::string& error);

// Rule i (0 to n-1) of a table header serves length i + 2; the last one also
// every longer phrase.
std::vector<PhraseFormula> FormulasOfHeader(const CodeTableHeader& header);
// Stores `rules` as header rules (PhraseRule and the slots), shaped by
// RulesByLength. Returns an error text when they cannot be expressed.
std::string StoreFormulasInHeader(const std::vector<PhraseFormula>& rules, CodeTableHeader& header,
                                  std::vector<std::string>& notes);

// The rules shaped by RulesByLength, each in a format's notation (`format`:
// FormatFcitxRule, FormatIbusRule); nothing, with `error` set, when one
// cannot be expressed.
std::optional<std::vector<std::string>>
FormatRulesByLength(const std::vector<PhraseFormula>& rules,
                    std::string (*format)(const PhraseFormula&, std::string&), std::string& error,
                    std::vector<std::string>& notes);

// The rules as formats that name lengths with one digit hold them: one rule
// for each length from 2 on, the last serving every longer phrase. Nothing,
// with `error` set, when the source's rules do not fit that shape; `notes`
// gets the lengths that widened (ones the source did not encode that the
// last rule now serves).
std::optional<std::vector<PhraseFormula>> RulesByLength(const std::vector<PhraseFormula>& rules,
                                                        std::string& error,
                                                        std::vector<std::string>& notes);

} // namespace tide
