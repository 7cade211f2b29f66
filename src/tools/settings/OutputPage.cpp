// "高级设置": what the space key, the keypad and the punctuation keys type,
// the states the input method starts in, and learning and sound options.
#include "tools/settings/SettingsPages.h"

namespace tide {
namespace {

constexpr OptionPair kBrackets = {OptBracketsPlain, OptBracketsLenticular};
constexpr OptionPair kSlash = {OptSlashEnumerationComma, OptSlashFullWidth};

// clang-format off
constexpr PageRow kOutputRows[] = {
    {RowKind::Heading,    L"字符输出",                   kHeadingId, 18, 0,  50, 10, {}},
    {RowKind::Label,      L"空格键输出：",               kLabelId, 18, 13,  48, 8, {}},
    {RowKind::RadioGroup, L"半角",                       1537, 68, 13,  48, 8, BindBitClear(OptFullWidthSpace)},
    {RowKind::Radio,      L"全角",                       1538, 108, 13, 48, 8, BindBit(OptFullWidthSpace)},
    {RowKind::Check,      L"小键盘输出为半角",           1539, 18, 25,  88, 8, BindBit(OptHalfWidthNumpad)},
    {RowKind::Check,      L"数字后点号输出为半角",       1540, 18, 37,  88, 8, BindBit(OptHalfWidthDotAfterDigit)},
    {RowKind::Heading,    L"标点输出",                   kHeadingId, 18, 50, 50, 10, {}},
    {RowKind::Label,      L"方括号输出：",               kLabelId, 18, 63,  56, 8, {}},
    {RowKind::RadioGroup, L"［］",                       1541, 68, 63,  35, 8, BindPair(BindKind::PairFirst, kBrackets)},
    {RowKind::Radio,      L"【】",                       1542, 108, 63, 35, 8, BindPair(BindKind::PairSecond, kBrackets)},
    {RowKind::Radio,      L"〖〗",                       1543, 148, 63, 35, 8, BindPair(BindKind::PairNeither, kBrackets)},
    {RowKind::Label,      L"斜杠键输出：",               kLabelId, 18, 75,  48, 8, {}},
    {RowKind::RadioGroup, L"顿号",                       1544, 68, 75,  35, 8, BindPair(BindKind::PairFirst, kSlash)},
    {RowKind::Radio,      L"／(全)",                     1545, 108, 75, 35, 8, BindPair(BindKind::PairSecond, kSlash)},
    {RowKind::Radio,      L"/(半)",                      1546, 148, 75, 35, 8, BindPair(BindKind::PairNeither, kSlash)},
    {RowKind::Label,      L"花括号输出：",               kLabelId, 18, 87,  48, 8, {}},
    {RowKind::RadioGroup, L"｛｝",                       1547, 68, 87,  35, 8, BindBit(OptBracesPlain)},
    {RowKind::Radio,      L"〔〕",                       1548, 108, 87, 35, 8, BindBitClear(OptBracesPlain)},
    {RowKind::Label,      L"单引号输出：",               kLabelId, 18, 99,  48, 8, {}},
    {RowKind::RadioGroup, L"‘’",                         1549, 68, 99,  35, 8, BindBit(OptSingleQuotesCurly)},
    {RowKind::Radio,      L"「」",                       1550, 108, 99, 35, 8, BindBitClear(OptSingleQuotesCurly)},
    {RowKind::Label,      L"双引号输出：",               kLabelId, 18, 111, 48, 8, {}},
    {RowKind::RadioGroup, L"“”",                         1551, 68, 111, 35, 8, BindBit(OptDoubleQuotesCurly)},
    {RowKind::Radio,      L"『』",                       1552, 108, 111, 35, 8, BindBitClear(OptDoubleQuotesCurly)},
    {RowKind::Heading,    L"默认状态",                   kHeadingId, 18, 124, 50, 10, {}},
    {RowKind::Check,      L"中文输入状态",               1553, 18, 137, 60,  8, BindBit(OptStartChinese)},
    {RowKind::Check,      L"半角字符输入状态",           1554, 18, 149, 80,  8, BindBit(OptStartHalfWidth)},
    {RowKind::Check,      L"中文标点输入状态",           1555, 18, 161, 80,  8, BindBit(OptStartChinesePunct)},
    {RowKind::Check,      L"标点状态不随中英文状态变化", 1556, 18, 173, 100, 8, BindBit(OptPunctIndependent)},
    {RowKind::Heading,    L"其他",                       kHeadingId, 18, 186, 48, 10, {}},
    {RowKind::RadioGroup, L"手动调频",                   1557, 18, 199, 57,  8, BindBitClear(OptAutoFrequency)},
    {RowKind::Radio,      L"自动调频",                   1558, 78, 199, 57,  8, BindBit(OptAutoFrequency)},
    {RowKind::Check,      L"自动造词",                   1559, 18, 211, 56,  8, BindBit(OptAutoWordMaking)},
    {RowKind::Check,      L"重码空码声音提示",           1560, 18, 223, 72,  8, BindBit(OptSoundOnDuplicateOrEmpty)},
};
// clang-format on

} // namespace

std::unique_ptr<CSettingsPage> MakeOutputPage(CConfigureDialog& shell) {
    return std::make_unique<CSettingsPage>(shell, kOutputRows);
}

} // namespace tide
