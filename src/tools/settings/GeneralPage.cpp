// "常规设置": the input scheme, the character range, input states, automatic
// commit, empty codes and word association.
#include "tools/settings/SettingsPages.h"

#include <string>

#include "core/config/SchemeCaptions.h"
#include "tools/settings/ConfigureDialog.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/LibraryAccess.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr OptionPair kUniqueCommit = {OptUniqueCandidateCommit, OptUniqueFullCodeCommit};
constexpr OptionPair kEmptyCode = {OptEmptyCodeClear, OptEmptyCodeFullLengthClear};
constexpr int kDelayList = 533;

// clang-format off
constexpr PageRow kGeneralRows[] = {
    {RowKind::Heading,    L"输入方案",                     kHeadingId, 18, 0,   40,  10, {}},
    // Wider than the others of its column: nothing stands to its right, and a
    // scheme's own word may be longer than "主码".
    {RowKind::RadioGroup, L"%s拼音混输",                   513, 18, 13,  120, 10, BindBitClear(OptPureCodeInput)},
    {RowKind::Radio,      L"%s输入",                       514, 18, 25,  60,  10, BindBit(OptPureCodeInput)},
    {RowKind::Check,      L"临时拼音输入",                 515, 78, 25,  60,  10, BindBit(OptTempPinyin), 514},
    {RowKind::Heading,    L"输入范围",                     kHeadingId, 18, 38,  60,  8, {}},
    {RowKind::RadioGroup, L"GB18030字符集汉字",            516, 18, 51,  96,  10, BindBitClear(OptStandardCharset)},
    {RowKind::Radio,      L"通用规范汉字",                 517, 18, 63,  57,  10, BindBit(OptStandardCharset)},
    {RowKind::Check,      L"空码时检索GB18030字符集汉字",  518, 18, 75,  136, 10, BindBit(OptGB18030OnEmpty), 517},
    {RowKind::Heading,    L"输入状态",                     kHeadingId, 18, 88,  40,  10, {}},
    {RowKind::Check,      L"编码逐键提示",                 519, 18, 101, 56,  10, BindBit(OptKeyByKeyHint)},
    {RowKind::Check,      L"单字输入",                     520, 78, 101, 57,  10, BindBit(OptSingleCharInput)},
    {RowKind::Check,      L"临时英文输入",                 522, 18, 113, 57,  10, BindBit(OptTempEnglish)},
    {RowKind::Check,      L"分号快捷输入",                 521, 78, 113, 56,  10, BindBit(OptSemicolonShortcut)},
    {RowKind::Heading,    L"自动上屏",                     kHeadingId, 18, 126, 40,  10, {}},
    {RowKind::Check,      L"%c码顶字上屏",                 523, 18, 139, 57,  10, BindBit(OptOverflowCommit)},
    {RowKind::Check,      L"标点顶字上屏",                 524, 78, 139, 57,  10, BindBit(OptPunctuationCommit)},
    {RowKind::RadioGroup, L"候选唯一上屏",                 525, 18, 151, 57,  10, BindPair(BindKind::PairFirst, kUniqueCommit)},
    {RowKind::Radio,      L"%c码唯一上屏",                 526, 78, 151, 57,  10, BindPair(BindKind::PairSecond, kUniqueCommit)},
    {RowKind::Radio,      L"不上屏",                       527, 138, 151, 33, 10, BindPair(BindKind::PairNeither, kUniqueCommit)},
    {RowKind::Heading,    L"空码状态",                     kHeadingId, 18, 164, 40,  10, {}},
    {RowKind::RadioGroup, L"自动清空",                     528, 18, 177, 60,  10, BindPair(BindKind::PairFirst, kEmptyCode)},
    {RowKind::Radio,      L"%c码自动清空",                 529, 78, 177, 60,  10, BindPair(BindKind::PairSecond, kEmptyCode)},
    {RowKind::Radio,      L"临时英文",                     530, 138, 177, 60, 10, BindPair(BindKind::PairNeither, kEmptyCode)},
    {RowKind::Heading,    L"联想输入",                     kHeadingId, 18, 190, 40,  8, {}},
    {RowKind::RadioGroup, L"词语联想",                     531, 18, 203, 43,  10, BindBit(OptWordAssociation)},
    {RowKind::Radio,      L"无联想",                       532, 78, 203, 43,  10, BindBitClear(OptWordAssociation)},
    {RowKind::Label,      L"联想延迟（秒）：",             kLabelId, 18, 217, 60, 10, {}, 531},
    {RowKind::List,       nullptr,                         kDelayList, 78, 216, 38, 56,
     BindField(BindKind::ListIndex, RecordField::AssociationDelay), 531},
};
// clang-format on

constexpr const wchar_t* kDelays[] = {L"无", L"1", L"2", L"3", L"4"};

class CGeneralPage : public CSettingsPage {
public:
    explicit CGeneralPage(CConfigureDialog& shell)
        : CSettingsPage(shell, kGeneralRows), captions_(CaptionsOfCurrentLibrary()) {}

private:
    // The scheme word and the numerals come from the current word library.
    static SchemeCaptions CaptionsOfCurrentLibrary() {
        const auto library = OpenLibrary(CurrentLibraryPath().c_str(), true);
        return library ? CaptionsForHeader(library->library().header()) : SchemeCaptions();
    }

    std::wstring Caption(const PageRow& row) override {
        const std::u16string numeral =
            row.id == 523 ? captions_.nextNumeral : captions_.fullLengthNumeral;
        return ToWide(
            FormatCaption(AsU16(CSettingsPage::Caption(row)), captions_.schemeWord, numeral));
    }

    void FillLists() override {
        HWND list = Control(kDelayList);
        for (const wchar_t* delay : kDelays) {
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(delay));
        }
    }

    SchemeCaptions captions_;
};

} // namespace

std::unique_ptr<CSettingsPage> MakeGeneralPage(CConfigureDialog& shell) {
    return std::make_unique<CGeneralPage>(shell);
}

} // namespace tide
