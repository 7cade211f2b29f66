#include "core/config/SchemeCaptions.h"

#include <algorithm>

namespace tide {
namespace {

// Index 0 is "一"; "十" serves only as the numeral after a length of nine.
constexpr std::u16string_view kNumerals = u"一二三四五六七八九十";
constexpr std::size_t kMaxSchemeWordUnits = 260;

} // namespace

SchemeCaptions CaptionsForHeader(const CodeTableHeader& header) {
    SchemeCaptions captions;
    const std::u16string_view scheme = FixedText(header.CodeScheme);
    if (const auto open = scheme.find(u'('); open != std::u16string_view::npos) {
        std::u16string_view remark = scheme.substr(open + 1);
        remark.remove_suffix(remark.empty() ? 0 : 1); // the closing parenthesis
        captions.schemeWord = std::u16string(remark.substr(0, kMaxSchemeWordUnits));
    }
    const std::size_t length = header.CodeLength;
    if (length >= 1 && length <= 9) {
        captions.fullLengthNumeral = kNumerals.substr(length - 1, 1);
        captions.nextNumeral = kNumerals.substr(length, 1);
    }
    return captions;
}

std::u16string FormatCaption(std::u16string_view caption, std::u16string_view schemeWord,
                             std::u16string_view numeral) {
    std::u16string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'%' && i + 1 < caption.size() &&
            (caption[i + 1] == u's' || caption[i + 1] == u'c')) {
            text.append(caption[i + 1] == u's' ? schemeWord : numeral);
            ++i;
        } else {
            text.push_back(caption[i]);
        }
    }
    return text;
}

} // namespace tide
