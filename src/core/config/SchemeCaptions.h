// Caption words of the general settings page taken from the current word
// library: the name of its main code ("主码", or the scheme's remark) and the
// numerals of its full code length and the length after it.
#pragma once

#include <string>
#include <string_view>

#include "core/dict/CodeTableHeader.h"

namespace tide {

struct SchemeCaptions {
    std::u16string schemeWord = u"主码";
    // Without a library, or with a code length the numerals cannot say,
    // "全码" (full code) and "超码" (past the full code) read right.
    std::u16string fullLengthNumeral = u"全";
    std::u16string nextNumeral = u"超";
};

// From a library's header: CodeScheme "ABC(DEF)" gives the scheme word "DEF";
// CodeLength 4 gives "四" and "五".
SchemeCaptions CaptionsForHeader(const CodeTableHeader& header);

// `caption` with "%s" replaced by the scheme word and "%c" by `numeral`.
std::u16string FormatCaption(std::u16string_view caption, std::u16string_view schemeWord,
                             std::u16string_view numeral);

} // namespace tide
