#include "core/config/SoftKeyboardFile.h"

#include <array>

namespace tide {
namespace {

// The OEM keys in key order (indices 37 to 47), with their file names.
struct OemKey {
    char16_t cap;
    std::u16string_view name;
};
constexpr std::array<OemKey, 11> kOemKeys = {{
    {u';', u"Semicolon"},
    {u'=', u"Plus"},
    {u',', u"Comma"},
    {u'-', u"Minus"},
    {u'.', u"Period"},
    {u'/', u"Slash"},
    {u'`', u"Wave"},
    {u'[', u"FSBracket"},
    {u'\\', u"BSlash"},
    {u']', u"BSBracket"},
    {u'\'', u"Quote"},
}};
constexpr std::size_t kFirstOemIndex = 37;

} // namespace

std::u16string SoftKeyName(std::size_t symbolIndex) {
    std::u16string name = u"Key_";
    if (symbolIndex >= 1 && symbolIndex <= 10) {
        name.push_back(static_cast<char16_t>(u'0' + symbolIndex - 1));
    } else if (symbolIndex >= 11 && symbolIndex <= 36) {
        name.push_back(static_cast<char16_t>(u'A' + symbolIndex - 11));
    } else if (symbolIndex >= kFirstOemIndex && symbolIndex < kFirstOemIndex + kOemKeys.size()) {
        name += kOemKeys[symbolIndex - kFirstOemIndex].name;
    } else {
        return {};
    }
    return name;
}

std::u16string SoftKeyValue(char16_t unit) {
    return unit == 0 || unit == kIdeographicSpace ? u"0" : std::u16string(1, unit);
}

char16_t SoftKeyUnit(std::u16string_view value) {
    return value.empty() || value == u"0" ? u'\0' : value.front();
}

std::optional<std::size_t> SymbolIndexForCap(char16_t cap) {
    if (cap >= u'0' && cap <= u'9') {
        return static_cast<std::size_t>(cap - u'0') + 1;
    }
    if (cap >= u'a' && cap <= u'z') {
        return static_cast<std::size_t>(cap - u'a') + 11;
    }
    for (std::size_t i = 0; i < kOemKeys.size(); ++i) {
        if (kOemKeys[i].cap == cap) {
            return kFirstOemIndex + i;
        }
    }
    return std::nullopt;
}

} // namespace tide
