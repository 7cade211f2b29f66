// "软键设置": the soft keyboard's default layout and hotkey, and the user's own
// layout "用户符号" drawn on a keyboard picture: a click on a key defines its
// plain and shifted characters; the layout can be cleared, exported to and
// imported from a soft-keyboard file.
#include <shlwapi.h>

#include <array>
#include <cwchar>
#include <string>

#include "core/config/ConfigRecord.h"
#include "core/config/SoftKeyboardFile.h"
#include "core/config/SoftKeyboardGeometry.h"
#include "tools/settings/ConfigureDialog.h"
#include "tools/settings/SettingsPages.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/ResourceIds.h"
#include "ui/UiFont.h"
#include "ui/InfoMessage.h"
#include "win/FileAccess.h"
#include "win/InstalledFiles.h"
#include "win/MonitorDpi.h"
#include "win/PathBuffer.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/skin/PreviewCanvas.h"

namespace tide {
namespace {

enum ControlId : int {
    kImportId = 256,
    kExportId,
    kClearId,
    kHotkeyOnId,
    kHotkeyEditId = 262,
    kLayoutListId,
};
constexpr std::uint16_t kUserLayout = 13;
constexpr COLORREF kLabelColor = RGB(92, 92, 92);

constexpr Binding SoftKey(BindKind kind) {
    return BindField(kind, RecordField::SoftKeyboardHotkey);
}

// clang-format off
constexpr PageRow kRows[] = {
    {RowKind::Heading, L"软键盘设置", kHeadingId, 18, 0, 57, 8, {}},
    {RowKind::Label,   L"请点击要设置或修改字符或符号的软键盘键位。", kLabelId, 18, 16, 150, 8, {}},
    {RowKind::Heading, L"软键盘管理", kHeadingId, 18, 158, 57, 8, {}},
    {RowKind::Button,  L"导入",       kImportId, 18, 173, 50, 12, {}},
    {RowKind::Button,  L"导出",       kExportId, 78, 173, 50, 12, {}},
    {RowKind::Button,  L"清空",       kClearId,  138, 173, 50, 12, {}},
    {RowKind::Label,   L"默认软键盘：", kLabelId, 18, 193, 44, 8, {}},
    {RowKind::List,    nullptr,       kLayoutListId, 62, 192, 103, 140,
     BindField(BindKind::ListIndex, RecordField::SoftKeyboardLayout), 0, CBS_NOINTEGRALHEIGHT},
    {RowKind::Check,   L"软键盘开关：", kHotkeyOnId, 18, 213, 57, 8, SoftKey(BindKind::HotkeyOn)},
    {RowKind::Label,   L"Ctrl  +  ",  260, 78, 213, 28, 8, {}, kHotkeyOnId},
    {RowKind::Check,   L"Alt  +  ",   261, 108, 213, 28, 8, SoftKey(BindKind::HotkeyAlt), kHotkeyOnId},
    {RowKind::Edit,    nullptr,       kHotkeyEditId, 143, 212, 22, 10, SoftKey(BindKind::HotkeyKey), kHotkeyOnId},
};
// clang-format on

constexpr std::array<const wchar_t*, 14> kLayouts = {
    L"PC键盘",     L"数字序号", L"中文数字", L"标点符号", L"特殊符号", L"数学符号", L"日文平假名",
    L"日文片假名", L"注音符号", L"拼音字母", L"希腊字母", L"俄文字母", L"制表符",   L"用户符号"};

constexpr wchar_t kMsgExportFailed[] = L"导出文件保存失败，软键盘导出失败！";
constexpr wchar_t kMsgNotKeyboardFile[] = L"导入文件不是软键盘文件，软键盘导入失败！";

// Whether the profile file at `path` has a section of the soft keyboard's,
// names matched as the profile functions match them (ignoring case). The
// file's section names are read once.
bool HasKeySection(const wchar_t* path) {
    std::wstring names(32767, L'\0');
    const DWORD length =
        ::GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), path);
    const std::wstring plain = ToWide(kPlainKeysSection);
    const std::wstring shifted = ToWide(kShiftedKeysSection);
    for (const wchar_t* section = names.c_str(); section < names.c_str() + length && *section;
         section += std::wcslen(section) + 1) {
        if (::lstrcmpiW(section, plain.c_str()) == 0 ||
            ::lstrcmpiW(section, shifted.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

// The keyboard window and the define-character dialog (dialog units).
constexpr int kKeyboardX = 18, kKeyboardY = 33, kKeyboardWidth = 280, kKeyboardHeight = 115;
constexpr DWORD kKeyboardStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD kDefineStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_CENTER;
constexpr int kPlainEditId = 257;
constexpr int kShiftedEditId = 258;

// clang-format off
constexpr ControlRow kDefineRows[] = {
    {L"Static", L"",           SS_ETCHEDFRAME, 0, 5,  5,  130, 60},
    {L"Static", nullptr,       0,              0, 15, 15, 110, 10},
    {L"Static", L"软键字符：", 0,              0, 15, 30, 36,  10},
    {L"Edit",   nullptr,       WS_BORDER | WS_TABSTOP, kPlainEditId, 51, 30, 30, 10},
    {L"Static", L"上档字符：", 0,              0, 15, 45, 36,  10},
    {L"Edit",   nullptr,       WS_BORDER | WS_TABSTOP, kShiftedEditId, 51, 45, 30, 10},
    {L"Button", L"确定",       BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, IDOK, 90, 30, 35, 10},
    {L"Button", L"取消",       BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 90, 45, 35, 10},
};
// clang-format on

bool Defined(const ConfigRecord& record) {
    return record.UserSymbols[0] != 0;
}

std::wstring UnitText(char16_t unit) {
    return unit == 0 || unit == kIdeographicSpace ? std::wstring() : std::wstring(1, unit);
}

// The key's character in upper case as the keyboard types it now.
wchar_t PromptCharacter(std::uint8_t virtualKey) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    wchar_t typed[4] = {};
    if (::ToUnicode(virtualKey, ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC), state, typed, 4,
                    0) != 1) {
        return L' ';
    }
    ::CharUpperBuffW(typed, 1);
    return typed[0];
}

class CSoftKeyboardPage : public CSettingsPage {
public:
    explicit CSoftKeyboardPage(CConfigureDialog& shell) : CSettingsPage(shell, kRows) {}

    void Fill() override {
        CSettingsPage::Fill();
        // Defaults or a backup come in through Fill: the list, the key and
        // the keyboard show them too.
        FillLayoutList();
        ShowStoredKey();
        UpdateLayoutButtons();
        if (keyboard_) {
            ::InvalidateRect(keyboard_, nullptr, TRUE);
        }
    }

protected:
    void FillLists() override { FillLayoutList(); }

    void OnCreated() override {
        keyboard_ = CreateChildPane(
            *this, kKeyboardStyle, kKeyboardX, kKeyboardY, kKeyboardWidth, kKeyboardHeight,
            DialogProcFor<CSoftKeyboardPage, &CSoftKeyboardPage::KeyboardMessage>, window());
        picture_ =
            ImageFromResource(instance(), MAKEINTRESOURCEW(kPngKeyboard), MAKEINTRESOURCEW(256));
        UpdateLayoutButtons();
    }

    bool OnPageCommand(int id, int code) override {
        if (code != BN_CLICKED || (id != kImportId && id != kExportId && id != kClearId)) {
            return false;
        }
        if (id == kImportId) {
            OnImport();
        } else if (id == kExportId) {
            OnExport();
        } else {
            OnClear();
        }
        shell().UpdateApplyButton();
        return true;
    }

private:
    void ShowStoredKey() {
        for (const PageRow& row : kRows) {
            if (row.id == kHotkeyEditId) {
                FillRow(row);
            }
        }
    }

    // The layouts; "用户符号" only while the user layout is defined.
    void FillLayoutList() {
        HWND list = Control(kLayoutListId);
        ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
        const bool defined = Defined(shell().record());
        for (std::size_t i = 0; i < kLayouts.size(); ++i) {
            if (i != kUserLayout || defined) {
                ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLayouts[i]));
            }
        }
        ::SendMessageW(list, CB_SETCURSEL, shell().record().SoftKeyboardLayout, 0);
    }

    void UpdateLayoutButtons() {
        const BOOL defined = Defined(shell().record()) ? TRUE : FALSE;
        ::EnableWindow(Control(kExportId), defined);
        ::EnableWindow(Control(kClearId), defined);
    }

    // After the user layout changed: the list, the buttons and the keyboard.
    void LayoutChanged() {
        shell().SetModified(true);
        FillLayoutList();
        UpdateLayoutButtons();
        if (keyboard_) {
            ::InvalidateRect(keyboard_, nullptr, TRUE);
            ::UpdateWindow(keyboard_);
        }
    }

    void OnImport() {
        PathBuffer path;
        if (!ShowFileDialog(window(), path, FileKind::OpenText)) {
            return;
        }
        // Any other file would leave every key undefined: refused, nothing changes.
        if (!HasKeySection(path)) {
            ShowInfoMessage(window(), kMsgNotKeyboardFile);
            return;
        }
        char16_t* units = shell().record().UserSymbols;
        for (const bool shifted : {false, true}) {
            const std::wstring section = ToWide(shifted ? kShiftedKeysSection : kPlainKeysSection);
            const std::size_t base = shifted ? kSymbolKeyCount : 0;
            units[base] = kIdeographicSpace;
            for (std::size_t key = 1; key < kSymbolKeyCount; ++key) {
                wchar_t value[261] = {};
                ::GetPrivateProfileStringW(section.c_str(), ToWide(SoftKeyName(key)).c_str(), L"",
                                           value, 261, path);
                units[base + key] = SoftKeyUnit(AsU16(std::wstring(value)));
            }
        }
        LayoutChanged();
    }

    void OnExport() {
        PathBuffer path;
        if (!ShowFileDialog(window(), path, FileKind::SaveText)) {
            return;
        }
        // A new file starts as UTF-16 with its mark, so the profile functions
        // keep it Unicode: in the ANSI code page symbols such as ⑩ or ∮
        // would be written as "?" and lost.
        if (!IsExistingFile(path)) {
            const std::uint8_t mark[] = {0xFF, 0xFE};
            if (!ReplaceFileContents(path, mark)) {
                ShowInfoMessage(window(), kMsgExportFailed);
                return;
            }
        }
        const char16_t* units = shell().record().UserSymbols;
        bool written = true;
        for (const bool shifted : {false, true}) {
            const std::wstring section = ToWide(shifted ? kShiftedKeysSection : kPlainKeysSection);
            const std::size_t base = shifted ? kSymbolKeyCount : 0;
            for (std::size_t key = 1; key < kSymbolKeyCount; ++key) {
                written = ::WritePrivateProfileStringW(
                              section.c_str(), ToWide(SoftKeyName(key)).c_str(),
                              ToWide(SoftKeyValue(units[base + key])).c_str(), path) &&
                          written;
            }
        }
        if (!written) {
            ShowInfoMessage(window(), kMsgExportFailed);
        }
    }

    void OnClear() {
        ConfigRecord& record = shell().record();
        std::fill(std::begin(record.UserSymbols), std::end(record.UserSymbols), u'\0');
        if (record.SoftKeyboardLayout == kUserLayout) {
            record.SoftKeyboardLayout = 0;
        }
        LayoutChanged();
    }

    INT_PTR KeyboardMessage(HWND window, UINT message, WPARAM, LPARAM lParam) {
        switch (message) {
        case WM_INITDIALOG:
            keyboard_ = window;
            return TRUE;
        case WM_PAINT: {
            PaintScope paint(window);
            PaintKeyboard(window, paint.dc());
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            OnKeyboardClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return TRUE;
        case WM_CTLCOLORDLG:
            return WhiteBackgroundBrush();
        default:
            return FALSE;
        }
    }

    LOGFONTW LabelFont(HWND window, HDC dc) const {
        UINT dpiX = 96, dpiY = 96;
        GetMonitorDpi(window, &dpiX, &dpiY);
        const int points = ::MulDiv(9, static_cast<int>(dpiY), 96);
        LOGFONTW font = {};
        font.lfHeight = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
        font.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynW(font.lfFaceName, IsFaceInstalled(L"宋体") ? L"宋体" : L"Ms Shell Dlg",
                    LF_FACESIZE);
        return font;
    }

    void PaintKeyboard(HWND window, HDC dc) {
        if (!picture_) {
            return;
        }
        const SIZE size = ImageSize(picture_.get());
        const POINT origin = PictureOrigin();
        PreviewCanvas canvas = PreviewCanvas::ForDc(dc);
        canvas.DrawImage(picture_.get(),
                         {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy},
                         {0, 0, size.cx, size.cy}, false);
        const LOGFONTW font = LabelFont(window, dc);
        const char16_t* units = shell().record().UserSymbols;
        for (const KeyCap& cap : kKeyCaps) {
            const auto index = SymbolIndexForCap(cap.key);
            if (!index) {
                continue;
            }
            const PixelRect square = KeyCapSquare(cap, origin.x, origin.y);
            const struct {
                char16_t unit;
                PixelRect area;
            } labels[] = {{units[*index], PlainLabelArea(square)},
                          {units[kSymbolKeyCount + *index], ShiftedLabelArea(square)}};
            for (const auto& label : labels) {
                if (label.unit != 0) {
                    canvas.DrawText(
                        dc, std::u16string_view(&label.unit, 1), kLabelColor, &font,
                        TextAlign::Centre, TextAlign::Centre,
                        {label.area.left, label.area.top, label.area.right, label.area.bottom});
                }
            }
        }
    }

    // The picture centred in the keyboard window (at its corner when larger).
    POINT PictureOrigin() const {
        RECT client = {};
        ::GetClientRect(keyboard_, &client);
        const SIZE size = ImageSize(picture_.get());
        return {client.right >= size.cx ? (client.right - size.cx) / 2 : 0,
                client.bottom >= size.cy ? (client.bottom - size.cy) / 2 : 0};
    }

    void OnKeyboardClick(int x, int y) {
        // Where the picture stands now, painted yet or not.
        const POINT origin = PictureOrigin();
        const auto cap = HitTestKeyCap(x, y, origin.x, origin.y);
        const auto index = cap ? SymbolIndexForCap(cap->key) : std::nullopt;
        if (!index) {
            return;
        }
        defining_ = *index;
        if (CreateChildDialog(*this, kDefineStyle, 0, L"定义软键字符", 0, 0, 140, 70,
                              DialogProcFor<CSoftKeyboardPage, &CSoftKeyboardPage::DefineMessage>,
                              keyboard_, true) == IDOK) {
            LayoutChanged();
            shell().UpdateApplyButton();
        }
    }

    INT_PTR DefineMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG: {
            const char16_t* units = shell().record().UserSymbols;
            wchar_t prompt[64] = {};
            ::wsprintfW(prompt, L"请输入键位%c上要定义的字符：",
                        PromptCharacter(VirtualKeyForSymbolIndex(defining_)));
            const std::wstring plain = UnitText(units[defining_]);
            const std::wstring shifted = UnitText(units[kSymbolKeyCount + defining_]);
            CreateControlRows(*this, kDefineRows, dialog, [&](const ControlRow& row) {
                return row.id == kPlainEditId     ? plain.c_str()
                       : row.id == kShiftedEditId ? shifted.c_str()
                                                  : prompt;
            });
            for (const int edit : {kPlainEditId, kShiftedEditId}) {
                ::SendDlgItemMessageW(dialog, edit, EM_LIMITTEXT, 1, 0);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if ((id == kPlainEditId || id == kShiftedEditId) && HIWORD(wParam) == EN_CHANGE) {
                const bool filled = ::GetWindowTextLengthW(::GetDlgItem(dialog, id)) > 0;
                ::EnableWindow(::GetDlgItem(dialog, IDOK), filled ? TRUE : FALSE);
                return TRUE;
            }
            if (id == IDOK && ::IsWindowEnabled(::GetDlgItem(dialog, IDOK))) {
                char16_t* units = shell().record().UserSymbols;
                const auto first = [dialog](int edit) -> char16_t {
                    wchar_t text[2] = {};
                    ::GetDlgItemTextW(dialog, edit, text, 2);
                    return static_cast<char16_t>(text[0]);
                };
                units[defining_] = first(kPlainEditId);
                units[kSymbolKeyCount + defining_] = first(kShiftedEditId);
                units[0] = units[kSymbolKeyCount] = kIdeographicSpace; // the Space keys
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
        }
    }

    HWND keyboard_ = nullptr;
    GdiplusImage picture_;
    std::size_t defining_ = 0; // the key the define-character dialog is for
};

} // namespace

std::unique_ptr<CSettingsPage> MakeSoftKeyboardPage(CConfigureDialog& shell) {
    return std::make_unique<CSoftKeyboardPage>(shell);
}

} // namespace tide
