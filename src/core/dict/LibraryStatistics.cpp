#include "core/dict/LibraryStatistics.h"

#include "core/base/DecimalText.h"

namespace tide {

std::array<std::u16string, kStatisticsLineCount>
LibraryStatisticsLines(const CodeTableHeader* header) {
    const CodeTableHeader none = {};
    const CodeTableHeader& h = header ? *header : none;
    return {
        u"词库名称：" + std::u16string(FixedText(h.Name)),
        u"词库版本：" + std::u16string(FixedText(h.Version)),
        u"词库作者：" + std::u16string(FixedText(h.Author)),
        u"编码方案：" + std::u16string(CodeSchemeName(h)),
        u"编码总数：" + DecimalText(h.EntryCount) + u"条",
        u"编码词组：" + DecimalText(h.PhraseCount) + u"条",
        u"编码汉字：" + DecimalText(h.CharCount) + u"个",
        u"码长：" + DecimalText(h.CodeLength),
        u"码元：abcdefghijklmnopqrstuvwxyz",
    };
}

} // namespace tide
