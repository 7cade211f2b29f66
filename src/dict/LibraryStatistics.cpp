#include "dict/LibraryStatistics.h"

namespace tide {
namespace {

std::u16string Number(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

std::array<std::u16string, kStatisticsLineCount>
LibraryStatisticsLines(const CodeTableHeader* header) {
    const CodeTableHeader none = {};
    const CodeTableHeader& h = header ? *header : none;
    return {
        u"词库名称：" + std::u16string(HeaderText(h.Name)),
        u"词库版本：" + std::u16string(HeaderText(h.Version)),
        u"词库作者：" + std::u16string(HeaderText(h.Author)),
        u"编码方案：" + std::u16string(CodeSchemeName(h)),
        u"编码总数：" + Number(h.EntryCount) + u"条",
        u"编码词组：" + Number(h.PhraseCount) + u"条",
        u"编码汉字：" + Number(h.CharCount) + u"个",
        u"码长：" + Number(h.CodeLength),
        u"码元：abcdefghijklmnopqrstuvwxyz",
    };
}

} // namespace tide
