#include "core/contract/ImeContract.h"

#include "core/base/DecimalText.h"

namespace tide {

std::u16string MappingNameForFile(std::u16string_view prefix, std::u16string_view fileName) {
    const auto separator = fileName.find_last_of(u"\\/");
    if (separator != std::u16string_view::npos) {
        fileName.remove_prefix(separator + 1);
    }
    std::u16string name;
    name.reserve(prefix.size() + fileName.size());
    name.append(prefix).append(fileName);
    const auto dot = name.find(u'.', prefix.size());
    if (dot != std::u16string::npos) {
        name[dot] = u'_';
    }
    return name;
}

std::uint32_t ImeModuleNumber(std::uint32_t versionHigh, std::uint32_t versionLow) {
    const std::uint32_t a = versionHigh >> 16;
    const std::uint32_t b = versionHigh & 0xFFFFu;
    const std::uint32_t c = versionLow >> 16;
    const std::uint32_t d = versionLow & 0xFFFFu;
    return 1000u * a + 100u * b + 10u * c + d;
}

std::u16string ImeFileNameForNumber(std::uint32_t number) {
    std::u16string name(kImeFileNamePrefix);
    AppendDecimal(name, number);
    name.append(kImeFileNameSuffix);
    return name;
}

} // namespace tide
