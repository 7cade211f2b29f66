// "界面设置": the candidate window, its fonts, size and page keys, and the
// status window.
#include "tools/settings/SettingsPages.h"

#include <string>

#include "tools/settings/ConfigureDialog.h"
#include "win/Handles.h"

namespace tide {
namespace {

constexpr OptionPair kStatusPlace = {OptStatusBottomRight, OptStatusBottomLeft};
constexpr int kCodeFontList = 774;
constexpr int kCandidateFontList = 775;
constexpr int kFontSizeList = 776;
constexpr int kCandidatesList = 777;
constexpr DWORD kFontListStyle = CBS_SORT | CBS_NOINTEGRALHEIGHT;
constexpr int kFontListDropWidth = 160; // pixels

// clang-format off
constexpr PageRow kInterfaceRows[] = {
    {RowKind::Heading,    L"候选窗口",               kHeadingId, 18, 0,   60,  10, {}},
    {RowKind::RadioGroup, L"光标跟随",               769, 18, 14,  43,  8, BindBit(OptCandidatesFollowCursor)},
    {RowKind::Radio,      L"状态窗口跟随",           770, 83, 14,  57,  8, BindBitClear(OptCandidatesFollowCursor)},
    {RowKind::Check,      L"隐藏候选窗口",           771, 18, 28,  57,  8, BindBit(OptHideCandidateWindow)},
    {RowKind::Check,      L"候选项横向排列",         772, 18, 42,  64,  8, BindBit(OptHorizontalCandidates)},
    {RowKind::Check,      L"候选超长自动转竖向排列", 773, 83, 42,  96,  8, BindBit(OptVerticalWhenLong), 772},
    {RowKind::Label,      L"编码字体：",             kLabelId, 18, 58, 35, 8, {}},
    {RowKind::List,       nullptr,                   kCodeFontList, 54, 57, 100, 200,
     BindField(BindKind::FaceName, RecordField::CodeFontName), 0, kFontListStyle},
    {RowKind::Label,      L"候选字体：",             kLabelId, 18, 74, 35, 8, {}},
    {RowKind::List,       nullptr,                   kCandidateFontList, 54, 73, 100, 200,
     BindField(BindKind::FaceName, RecordField::CandidateFontName), 0, kFontListStyle},
    {RowKind::Label,      L"字体大小：",             kLabelId, 18, 90, 35, 8, {}},
    {RowKind::List,       nullptr,                   kFontSizeList, 54, 89, 100, 120,
     BindField(BindKind::NumberText, RecordField::FontSize), 0, CBS_SORT},
    {RowKind::Label,      L"页候选数：",             kLabelId, 18, 106, 35, 8, {}},
    {RowKind::List,       nullptr,                   kCandidatesList, 54, 105, 100, 80,
     BindField(BindKind::ListIndex, RecordField::CandidatesPerPage, 3), 0, CBS_SORT},
    {RowKind::Label,      L"候选翻页扩展键：",       kLabelId, 18, 122, 80, 8, {}},
    {RowKind::Check,      L"减号等号",               778, 18, 136, 40,  8, BindBit(OptPageKeysMinusEquals)},
    {RowKind::Check,      L"左右方括号",             779, 83, 136, 48,  8, BindBit(OptPageKeysBrackets)},
    {RowKind::Check,      L"Shift+Tab/Tab",          780, 18, 150, 72,  8, BindBit(OptPageKeysShiftTab)},
    {RowKind::Heading,    L"状态窗口",               kHeadingId, 18, 164, 48, 10, {}},
    {RowKind::RadioGroup, L"位于桌面右下角",         781, 18, 178, 60,  8, BindPair(BindKind::PairFirst, kStatusPlace)},
    {RowKind::Radio,      L"位于桌面左下角",         782, 83, 178, 60,  8, BindPair(BindKind::PairSecond, kStatusPlace)},
    {RowKind::Radio,      L"位于桌面中下部",         783, 18, 192, 60,  8, BindPair(BindKind::PairNeither, kStatusPlace)},
    {RowKind::Check,      L"状态窗口休眠",           784, 83, 192, 60,  8, BindBit(OptStatusSleep)},
    {RowKind::Check,      L"状态窗口显示或隐藏：",   785, 18, 206, 80,  8, BindBit(OptStatusToggleKey)},
    {RowKind::RadioGroup, L"Ctrl",                   786, 18, 220, 36,  8, BindBit(OptStatusToggleCtrl), 785},
    {RowKind::Radio,      L"Ctrl + 斜杠",            787, 83, 220, 50,  8, BindBitClear(OptStatusToggleCtrl), 785},
};
// clang-format on

constexpr int kFontSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26};

// Installed TrueType families of the Chinese or Western character set, without
// the vertical-writing "@" faces.
int CALLBACK AddFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD type,
                           LPARAM list) noexcept {
    const bool wanted = (type & TRUETYPE_FONTTYPE) != 0 &&
                        (font->lfCharSet == GB2312_CHARSET || font->lfCharSet == ANSI_CHARSET) &&
                        font->lfFaceName[0] != L'@';
    if (wanted &&
        ::SendMessageW(reinterpret_cast<HWND>(list), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(font->lfFaceName)) == CB_ERR) {
        ::SendMessageW(reinterpret_cast<HWND>(list), CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(font->lfFaceName));
    }
    return 1;
}

void FillFontList(HWND page, HWND list) {
    WindowDc dc(page);
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    if (dc) {
        ::EnumFontFamiliesExW(dc.get(), &query, AddFontFamily, reinterpret_cast<LPARAM>(list), 0);
    }
    ::SendMessageW(list, CB_SETDROPPEDWIDTH, kFontListDropWidth, 0);
}

class CInterfacePage : public CSettingsPage {
public:
    explicit CInterfacePage(CConfigureDialog& shell) : CSettingsPage(shell, kInterfaceRows) {}

private:
    void FillLists() override {
        FillFontList(window(), Control(kCodeFontList));
        FillFontList(window(), Control(kCandidateFontList));
        for (int size : kFontSizes) {
            const std::wstring text = std::to_wstring(size);
            ::SendMessageW(Control(kFontSizeList), CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(text.c_str()));
        }
        for (int count = 3; count <= 9; ++count) {
            const std::wstring text = std::to_wstring(count);
            ::SendMessageW(Control(kCandidatesList), CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
};

} // namespace

std::unique_ptr<CSettingsPage> MakeInterfacePage(CConfigureDialog& shell) {
    return std::make_unique<CInterfacePage>(shell);
}

} // namespace tide
