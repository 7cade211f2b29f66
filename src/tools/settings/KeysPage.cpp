// "按键设置": keys that commit candidates, what Enter does, the switch keys
// and the two hotkeys of the manager (settings and word-making).
#include "tools/settings/SettingsPages.h"

#include <string>

#include "tools/settings/ConfigureDialog.h"

namespace tide {
namespace {

constexpr OptionPair kSecondThird = {OptSecondThirdSemicolonQuote, OptSecondThirdCommaPeriod};
constexpr int kSettingsKeyEdit = 1043;
constexpr int kWordMakingKeyEdit = 1047;

constexpr Binding SettingsKey(BindKind kind) {
    return BindField(kind, RecordField::SettingsHotkey);
}
constexpr Binding WordMakingKey(BindKind kind) {
    return BindField(kind, RecordField::WordMakingHotkey);
}

// clang-format off
constexpr PageRow kKeysRows[] = {
    {RowKind::Heading,    L"功能键",               kHeadingId, 18, 0,  28, 10, {}},
    {RowKind::Label,      L"二三候选上屏键：",     kLabelId, 18, 13,  80, 8, {}},
    {RowKind::RadioGroup, L"分号引号",             1025, 18, 25,  40, 8, BindPair(BindKind::PairFirst, kSecondThird)},
    {RowKind::Radio,      L"逗号句号",             1026, 68, 25,  40, 8, BindPair(BindKind::PairSecond, kSecondThird)},
    {RowKind::Radio,      L"无",                   1027, 118, 25, 20, 8, BindPair(BindKind::PairNeither, kSecondThird)},
    {RowKind::Label,      L"回车键操作：",         kLabelId, 18, 38,  48, 8, {}},
    {RowKind::RadioGroup, L"清除编码",             1028, 18, 50,  40, 8, BindBitClear(OptEnterCommitsCode)},
    {RowKind::Radio,      L"编码上屏",             1029, 68, 50,  40, 8, BindBit(OptEnterCommitsCode)},
    {RowKind::Heading,    L"快捷键",               kHeadingId, 18, 64, 56, 10, {}},
    {RowKind::Label,      L"中英文切换键：",       kLabelId, 18, 77,  80, 8, {}},
    {RowKind::Check,      L"左Shift",              1030, 18, 89,  36, 8, BindBit(OptSwitchLeftShift)},
    {RowKind::Check,      L"右Shift",              1031, 68, 89,  36, 8, BindBit(OptSwitchRightShift)},
    {RowKind::Check,      L"CapsLock",             1032, 118, 89, 48, 8, BindBit(OptSwitchCapsLock)},
    {RowKind::Label,      L"全角半角切换键：",     kLabelId, 18, 102, 80, 8, {}},
    {RowKind::RadioGroup, L"Shift+空格",           1033, 18, 114, 44, 8, BindBit(OptWidthSwitchShiftSpace)},
    {RowKind::Radio,      L"Ctrl+Shift+空格",      1034, 68, 114, 64, 8, BindBitClear(OptWidthSwitchShiftSpace)},
    {RowKind::Label,      L"中英文标点切换键：",   kLabelId, 18, 127, 80, 8, {}},
    {RowKind::RadioGroup, L"Ctrl+句号",            1035, 18, 139, 40, 8, BindBit(OptPunctSwitchCtrlPeriod)},
    {RowKind::Radio,      L"Ctrl+Shift+句号",      1036, 68, 139, 60, 8, BindBitClear(OptPunctSwitchCtrlPeriod)},
    {RowKind::Check,      L"一键切入潮汐输入法：", 1037, 18, 152, 80, 8, BindBit(OptOneKeySwitch)},
    {RowKind::RadioGroup, L"Ctrl + 9",             1038, 18, 164, 40, 8, BindBit(OptOneKeySwitchCtrl9), 1037},
    {RowKind::Radio,      L"Ctrl + Shift + 9",     1039, 68, 164, 60, 8, BindBitClear(OptOneKeySwitchCtrl9), 1037},
    {RowKind::Check,      L"输入法设置：",         1040, 18, 177, 80, 8, SettingsKey(BindKind::HotkeyOn)},
    {RowKind::Label,      L"Ctrl  +  ",            1041, 18, 189, 28, 8, {}, 1040},
    {RowKind::Check,      L"Alt  +  ",             1042, 46, 189, 28, 8, SettingsKey(BindKind::HotkeyAlt), 1040},
    {RowKind::Edit,       nullptr,                 kSettingsKeyEdit, 78, 188, 22, 10, SettingsKey(BindKind::HotkeyKey), 1040},
    {RowKind::Check,      L"在线造词：",           1044, 18, 202, 80, 8, WordMakingKey(BindKind::HotkeyOn)},
    {RowKind::Label,      L"Ctrl  +  ",            1045, 18, 214, 28, 8, {}, 1044},
    {RowKind::Check,      L"Alt  +  ",             1046, 46, 214, 28, 8, WordMakingKey(BindKind::HotkeyAlt), 1044},
    {RowKind::Edit,       nullptr,                 kWordMakingKeyEdit, 78, 213, 22, 10, WordMakingKey(BindKind::HotkeyKey), 1044},
};
// clang-format on

} // namespace

std::unique_ptr<CSettingsPage> MakeKeysPage(CConfigureDialog& shell) {
    return std::make_unique<CSettingsPage>(shell, kKeysRows);
}

} // namespace tide
