#include "tools/wordmaking/OnlineEudeDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/contract/ImeContract.h"
#include "tools/wordmaking/EntryStore.h"
#include "tools/wordmaking/WordLength.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "win/FileMapping.h"
#include "win/WideText.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_CENTER | DS_SETFONT;
constexpr int kDialogWidth = 160;
constexpr int kDialogHeight = 95;

enum ControlId : int {
    kNoId = -1,
    kCancelButtonId = 8,
    kWordEditId = 259,
    kCodeEditId,
    kStatusId,
};
constexpr UINT_PTR kWordEditSubclass = 1;

constexpr DWORD kEditStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

constexpr ControlRow kControls[] = {
    {L"Static", L"上下光标键增减词长，其他键输入或编辑。", SS_CENTERIMAGE, kNoId, 10, 10, 130, 10},
    {L"Static", L"", SS_ETCHEDFRAME, kNoId, 5, 5, 150, 65},
    {L"Static", L"词条：", SS_CENTERIMAGE, kNoId, 10, 25, 24, 8},
    {L"Edit", nullptr, kEditStyle, kWordEditId, 34, 24, 115, 10},
    {L"Static", L"编码：", SS_CENTERIMAGE, kNoId, 10, 40, 24, 8},
    {L"Edit", L"", kEditStyle, kCodeEditId, 34, 39, 115, 10},
    {L"Static", L"", SS_CENTERIMAGE, kStatusId, 10, 55, 140, 8},
    {L"Button", L"确定", BS_PUSHBUTTON, IDOK, 70, 76, 40, 12},
    {L"Button", L"取消", BS_PUSHBUTTON, kCancelButtonId, 115, 76, 40, 12},
};

constexpr wchar_t kValidHint[] = L"编码正确，可以添加！";

// Shows the hint for `status` (a status without one leaves the line as it
// is) and enables 确定 exactly for a valid new entry.
void ShowStatus(HWND dialog, EntryCheckStatus status) {
    if (const wchar_t* hint = EntryStatusHint(status, kValidHint)) {
        ::SetDlgItemTextW(dialog, kStatusId, hint);
    }
    ::EnableWindow(::GetDlgItem(dialog, IDOK), status == EntryCheckStatus::Valid ? TRUE : FALSE);
}

} // namespace

std::wstring ReadWordMakingText() {
    FileMapping mapping = FileMapping::OpenOrCreate(
        ToWide(kWordMakingMappingName).c_str(), INVALID_HANDLE_VALUE, kWordMakingMappingSize,
        FileMapping::Access::ReadWrite, FileMapping::Fit::Exactly);
    if (!mapping || mapping.size() < kWordMakingMappingSize) {
        return {};
    }
    // The input method's bytes are not trusted to hold their terminator.
    wchar_t units[kWordMakingMaxChars] = {};
    std::memcpy(units, mapping.data(), sizeof(units));
    const wchar_t* end = std::find(units, units + kWordMakingMaxChars, L'\0');
    return std::wstring(units, static_cast<std::size_t>(end - units));
}

INT_PTR COnlineEudeDialog::ShowModal(const wchar_t* title) {
    return CreateChildDialog(*this, kDialogStyle, 0, title, 0, 0, kDialogWidth, kDialogHeight,
                             DialogProcFor<COnlineEudeDialog, &COnlineEudeDialog::HandleMessage>,
                             owner_, true);
}

INT_PTR COnlineEudeDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        shared_ = ReadWordMakingText();
        const std::u16string_view shared = AsU16(shared_);
        const std::wstring word = ToWide(LastUnits(shared, ProposedLength(shared)));
        CreateControls(dialog, word);
        OnWordChanged(dialog);
        HWND edit = ::GetDlgItem(dialog, kWordEditId);
        ::SetFocus(edit);
        ::SendMessageW(edit, EM_SETSEL, word.size(), word.size());
        return FALSE; // the focus is set
    }
    case WM_COMMAND: {
        static constexpr CommandRow<COnlineEudeDialog> kHandlers[] = {
            {kWordEditId, &COnlineEudeDialog::OnWordChanged, EN_CHANGE},
            {kCodeEditId, &COnlineEudeDialog::OnCodeChanged, EN_CHANGE},
            {IDOK, &COnlineEudeDialog::OnOk},
            {IDCANCEL, &COnlineEudeDialog::OnCancel},
            {kCancelButtonId, &COnlineEudeDialog::OnCancel},
        };
        return RunCommand(*this, kHandlers, dialog, wParam);
    }
    default:
        return FALSE;
    }
}

void COnlineEudeDialog::CreateControls(HWND dialog, const std::wstring& word) {
    CreateControlRows(*this, kControls, dialog, [&](const ControlRow&) { return word.c_str(); });
    if (HWND edit = ::GetDlgItem(dialog, kWordEditId)) {
        ::SetWindowSubclass(edit, WordEditProc, kWordEditSubclass,
                            reinterpret_cast<DWORD_PTR>(this));
    }
}

LRESULT CALLBACK COnlineEudeDialog::WordEditProc(HWND edit, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        auto* self = reinterpret_cast<COnlineEudeDialog*>(data);
        HandleGuarded([&] {
            self->OnLengthKey(edit, wParam == VK_UP);
            return INT_PTR{0};
        });
        return 0; // consumed whether or not the word changed
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(edit, WordEditProc, kWordEditSubclass);
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

void COnlineEudeDialog::OnLengthKey(HWND edit, bool longer) {
    const std::u16string_view shared = AsU16(shared_);
    const auto current = static_cast<std::size_t>(std::max(::GetWindowTextLengthW(edit), 0));
    const std::optional<std::size_t> length =
        longer ? LengthAfterUp(shared, current) : LengthAfterDown(shared, current);
    if (!length) {
        return;
    }
    // Setting the text notifies the dialog (EN_CHANGE) like typing would.
    const std::wstring word = ToWide(LastUnits(shared, *length));
    ::SetWindowTextW(edit, word.c_str());
    ::SendMessageW(edit, EM_SETSEL, word.size(), word.size());
}

void COnlineEudeDialog::OnWordChanged(HWND dialog) {
    const std::wstring word = WindowText(::GetDlgItem(dialog, kWordEditId));
    std::wstring code;
    const EntryCheckStatus status = AutoEncodeEntry(word.c_str(), code);
    // The code edit checks its new text first; the encoding's status is the
    // one left standing.
    ::SetDlgItemTextW(dialog, kCodeEditId, code.c_str());
    ShowStatus(dialog, status);
}

void COnlineEudeDialog::OnCodeChanged(HWND dialog) {
    const std::wstring word = WindowText(::GetDlgItem(dialog, kWordEditId));
    const std::wstring code = WindowText(::GetDlgItem(dialog, kCodeEditId));
    ShowStatus(dialog, CheckEntry(word.c_str(), code.c_str()));
}

void COnlineEudeDialog::OnOk(HWND dialog) {
    // Enter reaches here even while 确定 is disabled.
    if (!::IsWindowEnabled(::GetDlgItem(dialog, IDOK))) {
        return;
    }
    const std::wstring word = WindowText(::GetDlgItem(dialog, kWordEditId));
    const std::wstring code = WindowText(::GetDlgItem(dialog, kCodeEditId));
    // A store that fails keeps the dialog and what the user typed.
    if (StoreUserEntry(dialog, code, word)) {
        ::EndDialog(dialog, kResultOk);
    }
}

void COnlineEudeDialog::OnCancel(HWND dialog) {
    ::EndDialog(dialog, kResultCancel);
}

} // namespace tide
