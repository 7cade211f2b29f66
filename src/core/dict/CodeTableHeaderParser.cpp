#include "core/dict/CodeTableHeaderParser.h"

#include <algorithm>
#include <cstring>

#include "core/dict/CompileMessages.h"

namespace tide {
namespace {

enum class HeaderKey {
    Name,
    Version,
    Author,
    CodeScheme,
    CodeLength,
    BWCodeLength,
    SpecialPrefix,
    WildChar,
    PhraseRule
};

// The nine header lines, in the order they must appear.
constexpr struct {
    std::u16string_view key;
    HeaderKey field;
} kHeaderLines[] = {
    {u"Name", HeaderKey::Name},
    {u"Version", HeaderKey::Version},
    {u"Author", HeaderKey::Author},
    {u"CodeScheme", HeaderKey::CodeScheme},
    {u"CodeLength", HeaderKey::CodeLength},
    {u"BWCodeLength", HeaderKey::BWCodeLength},
    {u"SpecialPrefix", HeaderKey::SpecialPrefix},
    {u"WildChar", HeaderKey::WildChar},
    {u"PhraseRule", HeaderKey::PhraseRule},
};

// Rule lines define the lengths 2 to n + 1 and a length is one digit, so at
// most eight lines can be given.
constexpr std::size_t kMaxRuleLines = 8;

// "0" stands for "none" in SpecialPrefix and WildChar.
constexpr std::u16string_view kNone = u"0";

bool StoreByte(std::uint8_t& field, std::u16string_view value) {
    const std::int32_t number = ParseDecimal(value);
    if (number < 0 || number > 255) {
        return false;
    }
    field = static_cast<std::uint8_t>(number);
    return true;
}

bool StoreValue(CodeTableHeader& header, HeaderKey field, std::u16string_view value) {
    switch (field) {
    case HeaderKey::Name:
        return SetFixedText(header.Name, value);
    case HeaderKey::Version:
        return SetFixedText(header.Version, value);
    case HeaderKey::Author:
        return SetFixedText(header.Author, value);
    case HeaderKey::CodeScheme:
        return SetFixedText(header.CodeScheme, value);
    case HeaderKey::CodeLength:
        return StoreByte(header.CodeLength, value);
    case HeaderKey::BWCodeLength:
        return StoreByte(header.BWCodeLength, value);
    case HeaderKey::SpecialPrefix:
        return SetFixedText(header.SpecialPrefix, value == kNone ? std::u16string_view{} : value);
    case HeaderKey::WildChar:
        header.WildChar = (value.empty() || value == kNone) ? u'\0' : value.front();
        return true;
    case HeaderKey::PhraseRule:
        return StoreByte(header.PhraseRule, value);
    }
    return false;
}

// "0"-"9" for 0-9, then "a" for 10, "b" for 11, ...
std::optional<std::uint8_t> RuleNumber(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return static_cast<std::uint8_t>(c - u'0');
    }
    if (c >= u'a' && c <= u'z') {
        return static_cast<std::uint8_t>(c - u'a' + 10);
    }
    return std::nullopt;
}

bool StartsWithP(std::u16string_view line) {
    return !line.empty() && line.front() == u'p';
}

HeaderParseResult Failure(std::u16string_view message) {
    return {std::nullopt, std::u16string(message)};
}

} // namespace

bool ParseRule(std::u16string_view line, CodeTableHeader& header) {
    // "p", kind, length digit, "=", then elements of three characters joined by "+".
    if (line.size() < 7 || line[0] != u'p' || line[3] != u'=' || line[2] < u'2' || line[2] > u'9') {
        return false;
    }
    RuleSlot slot = {};
    slot.kind = line[1] == u'a' ? 0 : 1;
    std::size_t position = 4;
    std::size_t count = 0;
    for (;;) {
        if (count == kRuleElementCount || position + 3 > line.size()) {
            return false;
        }
        const char16_t kind = line[position];
        const auto charNumber = RuleNumber(line[position + 1]);
        const auto letterNumber = RuleNumber(line[position + 2]);
        if ((kind != u'w' && kind != u'r') || !charNumber || !letterNumber || *charNumber == 0 ||
            *letterNumber == 0) {
            return false;
        }
        slot.elements[count++] = {static_cast<std::uint8_t>(kind == u'w' ? 0 : 1), *charNumber,
                                  *letterNumber};
        position += 3;
        if (position == line.size()) {
            break;
        }
        if (line[position] != u'+') {
            return false;
        }
        ++position;
    }
    header.Rules[line[2] - u'2'] = slot;
    return true;
}

HeaderParseResult ParseHeader(CodeTableLines& lines) {
    if (lines.Next() != kHeaderSectionLine) {
        return Failure(kMsgHeaderMissing);
    }
    CodeTableHeader header;
    std::memset(&header, 0, sizeof(header));
    for (const auto& expected : kHeaderLines) {
        const std::u16string_view line = lines.Next();
        const auto equals = line.find(u'=');
        if (line.substr(0, expected.key.size()) != expected.key ||
            equals == std::u16string_view::npos ||
            !StoreValue(header, expected.field, line.substr(equals + 1))) {
            return Failure(kMsgHeaderInvalid);
        }
    }
    // A slot holds at most 12 code letters (the phrase encoder reads it into
    // a 13-unit buffer), and a library without code letters is no library.
    if (header.CodeLength == 0 || header.SlotWidth() > kMaxCharCodeWidth) {
        return Failure(kMsgHeaderInvalid);
    }

    const std::size_t ruleCount = header.PhraseRule;
    std::u16string_view line = lines.Next();
    if (ruleCount < 2) {
        if (StartsWithP(line)) {
            return Failure(kMsgRulesExtra);
        }
        if (ruleCount == 1) {
            for (const auto rule : kDefaultPhraseRules) {
                ParseRule(rule, header);
            }
        }
    } else {
        if (!StartsWithP(line)) {
            return Failure(kMsgRulesMissing);
        }
        if (ruleCount > kMaxRuleLines) {
            return Failure(kMsgHeaderInvalid);
        }
        for (std::size_t i = 0; i < ruleCount; ++i, line = lines.Next()) {
            if (!ParseRule(line, header)) {
                return Failure(kMsgHeaderInvalid);
            }
        }
        // Together the rules must define the lengths 2, 3, ... n + 1.
        for (std::size_t slot = 0; slot < ruleCount; ++slot) {
            if (header.Rules[slot].elements[0].charNumber == 0) {
                return Failure(kMsgHeaderInvalid);
            }
        }
    }
    if (line != kEntrySectionLine) {
        return Failure(kMsgHeaderInvalid);
    }
    return {header, {}};
}

} // namespace tide
