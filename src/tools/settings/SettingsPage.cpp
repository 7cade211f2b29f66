#include "tools/settings/SettingsPage.h"

#include <string>

#include "tools/settings/ConfigureDialog.h"
#include "ui/Controls.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr COLORREF kHeadingColor = RGB(0, 120, 215);
constexpr wchar_t kHeadingFace[] = L"Microsoft YaHei UI";
constexpr int kHeadingPoints = 11;

ControlClass ClassOf(const PageRow& row) {
    switch (row.kind) {
    case RowKind::Heading:
    case RowKind::Label:
        return ClassOf(ControlKind::Text);
    case RowKind::Check:
        return ClassOf(ControlKind::Check);
    case RowKind::RadioGroup:
        return ClassOf(ControlKind::RadioFirst);
    case RowKind::Radio:
        return ClassOf(ControlKind::Radio);
    case RowKind::List: {
        ControlClass list = ClassOf(ControlKind::List);
        list.style |= row.listStyle;
        return list;
    }
    case RowKind::Edit:
        return ClassOf(ControlKind::Edit);
    case RowKind::Button:
        return ClassOf(ControlKind::Button);
    }
    return {L"Static", 0};
}

bool IsButtonRow(const PageRow& row) {
    return row.kind == RowKind::Check || row.kind == RowKind::RadioGroup ||
           row.kind == RowKind::Radio;
}

// The hotkeys that must not share a key, checked in this order when the key
// of `edited` is typed: each against what the user sees of `other` now.
struct HotkeyClash {
    RecordField edited;
    RecordField other;
    const wchar_t* refusal;
};
constexpr wchar_t kSameAsWordMaking[] = L"不能与在线造词键相同。";
constexpr wchar_t kSameAsSettings[] = L"不能与输入法设置键相同。";
constexpr HotkeyClash kHotkeyClashes[] = {
    {RecordField::SettingsHotkey, RecordField::WordMakingHotkey, kSameAsWordMaking},
    {RecordField::WordMakingHotkey, RecordField::SettingsHotkey, kSameAsSettings},
    {RecordField::SoftKeyboardHotkey, RecordField::SettingsHotkey, kSameAsSettings},
    {RecordField::SoftKeyboardHotkey, RecordField::WordMakingHotkey, kSameAsWordMaking},
};

// The virtual key of an edit's first character; 0 for an empty edit.
std::uint8_t KeyShownBy(HWND edit) {
    const std::wstring text = WindowText(edit);
    return text.empty() ? 0 : static_cast<std::uint8_t>(::VkKeyScanW(text[0]) & 0xFF);
}

// The character a virtual key types on this keyboard, and back.
std::wstring KeyText(std::uint8_t virtualKey) {
    const UINT character = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_CHAR) & 0xFFFF;
    return character ? std::wstring(1, static_cast<wchar_t>(character)) : std::wstring();
}

} // namespace

CSettingsPage::CSettingsPage(CConfigureDialog& shell, std::span<const PageRow> rows)
    : CDialog(shell.instance(), nullptr), shell_(shell), rows_(rows) {}

HWND CSettingsPage::Create(HWND shellWindow, bool visible, int x, int y, int width, int height) {
    owner_ = shellWindow;
    window_ = CreatePageDialog(*this, DialogProcFor<CSettingsPage, &CSettingsPage::HandleMessage>,
                               visible, x, y, width, height, shellWindow);
    return window_;
}

INT_PTR CSettingsPage::HandleMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        window_ = page;
        CreateControls();
        FillLists();
        Fill();
        OnCreated();
        return TRUE;
    case WM_DESTROY:
        OnDestroyed();
        images_.TakeBack();
        return FALSE;
    case WM_COMMAND: {
        if (filling_) {
            return TRUE;
        }
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (OnPageCommand(id, code)) {
            return TRUE;
        }
        if (code == EN_CHANGE && OnHotkeyEdited(id)) {
            shell_.UpdateApplyButton();
            return TRUE;
        }
        HWND control = reinterpret_cast<HWND>(lParam);
        wchar_t className[16] = {};
        ::GetClassNameW(control, className, 16);
        if (code == BN_CLICKED && ::lstrcmpiW(className, L"Button") == 0) {
            // Any click is a change; a check or radio may enable others.
            shell_.SetModified(true);
            ApplyEnablingRules();
        } else if (code == CBN_SELCHANGE && ::lstrcmpiW(className, L"ComboBox") == 0) {
            shell_.SetModified(true);
        } else {
            OnCommand(id, code);
        }
        shell_.UpdateApplyButton();
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kHeadingId) {
            ::SetTextColor(dc, kHeadingColor);
        }
        ::SetBkColor(dc, RGB(255, 255, 255));
        return WhiteBackgroundBrush();
    }
    case WM_CTLCOLORDLG:
        return WhiteBackgroundBrush();
    default:
        return FALSE;
    }
}

void CSettingsPage::CreateControls() {
    headingFont_ = CreateUiFont(window_, kHeadingFace, kHeadingPoints);
    controls_.clear();
    controls_.reserve(rows_.size());
    for (const PageRow& row : rows_) {
        const ControlClass kind = ClassOf(row);
        const std::wstring caption = Caption(row);
        HWND control = CreateControl(*this, kind.name, caption.c_str(), kind.style, row.x, row.y,
                                     row.width, row.height, window_, row.id);
        if (row.kind == RowKind::Heading) {
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()),
                           FALSE);
        }
        controls_.push_back(control);
    }
}

std::wstring CSettingsPage::Caption(const PageRow& row) {
    return row.caption ? row.caption : L"";
}

void CSettingsPage::OnCommand(int, int) {}

std::optional<std::uint8_t> CSettingsPage::ShownHotkey(RecordField field) const {
    for (std::size_t i = 0; i < rows_.size() && i < controls_.size(); ++i) {
        const Binding& binding = rows_[i].binding;
        if (binding.kind == BindKind::HotkeyKey && binding.field == field && controls_[i]) {
            return KeyShownBy(controls_[i]);
        }
    }
    return std::nullopt;
}

bool CSettingsPage::OnHotkeyEdited(int id) {
    for (std::size_t i = 0; i < rows_.size() && i < controls_.size(); ++i) {
        const PageRow& row = rows_[i];
        if (row.id != id || row.binding.kind != BindKind::HotkeyKey) {
            continue;
        }
        const bool modifiedBefore = shell_.modified();
        shell_.SetModified(true);
        const std::uint8_t key = KeyShownBy(controls_[i]);
        for (const HotkeyClash& clash : kHotkeyClashes) {
            if (key != 0 && clash.edited == row.binding.field &&
                key == shell_.ShownHotkey(clash.other)) {
                ::MessageBoxW(window_, clash.refusal, L"提示", MB_OK | MB_ICONINFORMATION);
                FillRow(row);
                shell_.SetModified(modifiedBefore);
                break;
            }
        }
        return true;
    }
    return false;
}

HWND CSettingsPage::Control(int id) const {
    for (std::size_t i = 0; i < rows_.size() && i < controls_.size(); ++i) {
        if (rows_[i].id == id) {
            return controls_[i];
        }
    }
    return nullptr;
}

bool CSettingsPage::IsChecked(int id) const {
    return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSettingsPage::ApplyEnablingRules() {
    for (std::size_t i = 0; i < rows_.size() && i < controls_.size(); ++i) {
        if (rows_[i].enabledBy != 0) {
            ::EnableWindow(controls_[i], IsChecked(rows_[i].enabledBy) ? TRUE : FALSE);
        }
    }
}

void CSettingsPage::Fill() {
    for (const PageRow& row : rows_) {
        FillRow(row);
    }
    ApplyEnablingRules();
}

void CSettingsPage::FillRow(const PageRow& row) {
    HWND control = Control(row.id);
    if (!control || row.binding.kind == BindKind::None) {
        return;
    }
    filling_ = true;
    ShowState(row, control, FillState(row.binding, shell_.record()));
    filling_ = false;
}

void CSettingsPage::Collect() {
    ConfigRecord& record = shell_.record();
    for (std::size_t i = 0; i < rows_.size() && i < controls_.size(); ++i) {
        // A control that could not be made says nothing about the record.
        if (rows_[i].binding.kind != BindKind::None && controls_[i]) {
            CollectState(rows_[i].binding, ReadState(rows_[i], controls_[i]), record);
        }
    }
}

void CSettingsPage::ShowState(const PageRow& row, HWND control, const ControlState& state) {
    if (IsButtonRow(row)) {
        ::SendMessageW(control, BM_SETCHECK, state.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (row.kind == RowKind::Edit) {
        // The key shown is always the record's, after defaults or a backup too.
        ::SetWindowTextW(control, KeyText(state.virtualKey).c_str());
        return;
    }
    if (row.kind != RowKind::List) {
        return;
    }
    LRESULT index = state.selection;
    if (row.binding.kind == BindKind::NumberText || row.binding.kind == BindKind::FaceName) {
        const std::wstring text = ToWide(state.text);
        index = ::SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Not in the list: nothing is selected, and Collect keeps the stored value.
    ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

ControlState CSettingsPage::ReadState(const PageRow& row, HWND control) const {
    ControlState state;
    if (IsButtonRow(row)) {
        state.checked = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    } else if (row.kind == RowKind::List) {
        state.selection = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
        if (state.selection >= 0) {
            const LRESULT length =
                ::SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(state.selection), 0);
            std::wstring text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
            ::SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(state.selection),
                           reinterpret_cast<LPARAM>(text.data()));
            text.resize(std::wcslen(text.c_str()));
            state.text = std::u16string(AsU16(text));
        }
    } else if (row.kind == RowKind::Edit) {
        // An empty edit keeps the stored key.
        const std::uint8_t shown = KeyShownBy(control);
        state.virtualKey = shown != 0 ? shown : FillState(row.binding, shell_.record()).virtualKey;
    }
    return state;
}

} // namespace tide
