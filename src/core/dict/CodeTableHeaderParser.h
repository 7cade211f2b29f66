// The header section of a code table: "[CODETABLEHEADER]", nine key lines,
// the phrase rules, then "[CODETABLE]".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/dict/CodeTableHeader.h"
#include "core/dict/CodeTableText.h"

namespace tide {

inline constexpr std::u16string_view kHeaderSectionLine = u"[CODETABLEHEADER]";
inline constexpr std::u16string_view kEntrySectionLine = u"[CODETABLE]";

// The three rules a header with "PhraseRule=1" stands for.
inline constexpr std::u16string_view kDefaultPhraseRules[] = {
    u"pa2=w11+w12+w21+w22",
    u"pa3=w11+w21+w31+w32",
    u"pe4=w11+w21+w31+r11",
};

struct HeaderParseResult {
    std::optional<CodeTableHeader> header; // set on success
    std::u16string message;                // why it failed, for the user; may be empty
};

// Reads the header section from the start of `lines`; on success the lines
// stand just after "[CODETABLE]".
HeaderParseResult ParseHeader(CodeTableLines& lines);

// Stores one rule line ("pa2=w11+w12+w21+w22") into the slot of its length.
// False when the line is not a well-formed rule.
bool ParseRule(std::u16string_view line, CodeTableHeader& header);

} // namespace tide
