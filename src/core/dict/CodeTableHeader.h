// The 612-byte header every word library begins with, which is also what the
// header section of a code table parses into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/FixedText.h"

namespace tide {

inline constexpr std::size_t kHeaderTextUnits = 21; // 20 characters and the terminator
inline constexpr std::size_t kRuleElementCount = 12;
inline constexpr std::size_t kRuleSlotCount = 11; // phrase lengths 2 to 12
inline constexpr std::size_t kMaxCharCodeWidth = 12;

struct RuleElement {
    std::uint8_t fromEnd;      // 0 = "w" (count characters from the start), 1 = "r" (from the end)
    std::uint8_t charNumber;   // 1 = first (or last) character
    std::uint8_t letterNumber; // 1 = first letter of that character's code
};
static_assert(sizeof(RuleElement) == 3);

struct RuleSlot {
    std::uint8_t kind;                       // 0 = "a", 1 = "e"
    RuleElement elements[kRuleElementCount]; // ends at the first all-zero element
};
static_assert(sizeof(RuleSlot) == 37);

struct CodeTableHeader {
    char16_t Name[kHeaderTextUnits];
    char16_t Version[kHeaderTextUnits];
    char16_t Author[kHeaderTextUnits];
    char16_t CodeScheme[kHeaderTextUnits];
    std::int32_t EntryCount;
    std::int32_t CharCount;
    std::int32_t PhraseCount;
    char16_t SpecialPrefix[3];
    char16_t WildChar;
    std::uint32_t RootOffset;
    std::uint32_t UsedLength;
    std::uint8_t CodeLength;
    std::uint8_t BWCodeLength;
    std::uint8_t Reserved[2];
    std::uint32_t Capacity;
    std::uint8_t PhraseRule;
    RuleSlot Rules[kRuleSlotCount];

    std::size_t SlotWidth() const;
};

// Width of a CharCodeTable slot: the code, plus "/" and the second code.
constexpr std::size_t SlotWidthFor(std::uint8_t codeLength, std::uint8_t secondCodeLength) {
    return secondCodeLength == 0 ? codeLength : std::size_t{codeLength} + secondCodeLength + 1;
}
inline std::size_t CodeTableHeader::SlotWidth() const {
    return SlotWidthFor(CodeLength, BWCodeLength);
}

inline constexpr std::size_t kHeaderSize = 612;
static_assert(sizeof(CodeTableHeader) == kHeaderSize);
static_assert(offsetof(CodeTableHeader, Name) == 0);
static_assert(offsetof(CodeTableHeader, Version) == 42);
static_assert(offsetof(CodeTableHeader, Author) == 84);
static_assert(offsetof(CodeTableHeader, CodeScheme) == 126);
static_assert(offsetof(CodeTableHeader, EntryCount) == 168);
static_assert(offsetof(CodeTableHeader, CharCount) == 172);
static_assert(offsetof(CodeTableHeader, PhraseCount) == 176);
static_assert(offsetof(CodeTableHeader, SpecialPrefix) == 180);
static_assert(offsetof(CodeTableHeader, WildChar) == 186);
static_assert(offsetof(CodeTableHeader, RootOffset) == 188);
static_assert(offsetof(CodeTableHeader, UsedLength) == 192);
static_assert(offsetof(CodeTableHeader, CodeLength) == 196);
static_assert(offsetof(CodeTableHeader, BWCodeLength) == 197);
static_assert(offsetof(CodeTableHeader, Reserved) == 198);
static_assert(offsetof(CodeTableHeader, Capacity) == 200);
static_assert(offsetof(CodeTableHeader, PhraseRule) == 204);
static_assert(offsetof(CodeTableHeader, Rules) == 205);

// The code scheme without its remark: the text before the first "(".
inline std::u16string_view CodeSchemeName(const CodeTableHeader& header) {
    const std::u16string_view scheme = FixedText(header.CodeScheme);
    return scheme.substr(0, scheme.find(u'('));
}

} // namespace tide
