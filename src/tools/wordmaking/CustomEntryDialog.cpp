#include "tools/wordmaking/CustomEntryDialog.h"

#include <commctrl.h>

#include <string>

#include "tools/wordmaking/EntryStore.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/ResourceIds.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

enum ControlId : int {
    kHeadingId = -1,
    kTextId = 256,
    kResetId,
    kNextId,
    kWordEditId,
    kCodeEditId,
    kHintId,
};
constexpr int kMaxWordLength = 30;
constexpr UINT_PTR kCodeEditSubclass = 1;

constexpr wchar_t kHeadingFace[] = L"Microsoft YaHei UI";
constexpr int kHeadingPoints = 11;

constexpr ColumnButtonRow kColumnButtons[] = {
    {kCommandButtonClass, L"重置", kResetId, 50, kIconClear},
    {kCommandButtonClass, L"下一条", kNextId, 65, kIconNext},
    {kCommandButtonClass, L"确定", IDOK, 125, kIconOk},
    {kCommandButtonClass, L"退出", IDCANCEL, 140, kIconExit},
};

constexpr DWORD kWordEditStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCodeEditStyle = WS_BORDER | WS_TABSTOP;

// clang-format off
constexpr ControlRow kControls[] = {
    {L"Static", L"编辑词条：",                       0,              kHeadingId,  93,  15, 139, 10},
    {L"Static", L"词条可使用任何汉字、字母和符号。", 0,              kTextId,     103, 28, 139, 8},
    {L"Static", L"词条长度不能超过30个字符。",       0,              kTextId,     103, 38, 139, 8},
    {L"Static", L"词条：",                           0,              kTextId,     103, 51, 24,  8},
    {L"Edit",   L"",                                 kWordEditStyle, kWordEditId, 127, 50, 105, 10},
    {L"Static", L"编辑编码：",                       0,              kHeadingId,  93,  64, 139, 10},
    {L"Static", L"编码可使用a-z内的任何码元。",      0,              kTextId,     103, 77, 139, 8},
    {L"Static", nullptr,                             0,              kTextId,     103, 87, 139, 8},
    {L"Static", L"编码：",                           0,              kTextId,     103, 100, 24, 8},
    {L"Edit",   L"",                                 kCodeEditStyle, kCodeEditId, 127, 99, 105, 10},
    {L"Static", L"温馨提示：",                       0,              kHeadingId,  93,  113, 140, 10},
    {L"Static", L"",                                 0,              kHintId,     103, 126, 152, 32},
};
// clang-format on

constexpr wchar_t kValidHint[] =
    L"词条定义成功，可重新编辑，或者：\r\n点‘下一条’按钮定义下一条，\r\n"
    L"点‘确定’按钮保存并退出，\r\n点‘退出’按钮放弃并退出。";

std::wstring CodeLengthLine(int codeLength) {
    return L"编码长度不能超过" + std::to_wstring(codeLength) + L"个码元。";
}

bool IsEmpty(HWND dialog, int id) {
    return ::GetWindowTextLengthW(::GetDlgItem(dialog, id)) == 0;
}

void Enable(HWND dialog, int id, bool enabled) {
    ::EnableWindow(::GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

} // namespace

INT_PTR CCustomEntryDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        CreateControls(dialog);
        ShowStatus(dialog, EntryCheckStatus::EmptyWord); // what encoding no word gives
        ::SetFocus(::GetDlgItem(dialog, kWordEditId));
        return FALSE; // the focus is set
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, RGB(255, 255, 255));
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kHeadingId) {
            ::SetTextColor(dc, kAccentColor);
        }
        return WhiteBackgroundBrush();
    }
    case WM_COMMAND: {
        static constexpr CommandRow<CCustomEntryDialog> kHandlers[] = {
            {kWordEditId, &CCustomEntryDialog::OnWordChanged, EN_CHANGE},
            {kCodeEditId, &CCustomEntryDialog::OnCodeChanged, EN_CHANGE},
            {kNextId, &CCustomEntryDialog::OnNext},
            {kResetId, &CCustomEntryDialog::Reset},
            {IDOK, &CCustomEntryDialog::OnOk},
        };
        return RunCommand(*this, kHandlers, dialog, wParam); // 退出 is the frame's Esc
    }
    case WM_DESTROY:
        headingFont_.reset();
        return FALSE;
    default:
        return FALSE;
    }
}

bool CCustomEntryDialog::OnHome(HWND dialog) {
    return status_ != EntryCheckStatus::Valid || StoreEntry(dialog);
}

void CCustomEntryDialog::CreateControls(HWND dialog) {
    CreateColumnButtons(*this, navigationWidth(), kColumnButtons, dialog);
    const int codeLength = GetCurrentCodeLength();
    const std::wstring codeLengthLine = CodeLengthLine(codeLength);
    headingFont_ = CreateUiFont(dialog, kHeadingFace, kHeadingPoints);
    const std::vector<HWND> controls = CreateControlRows(
        *this, kControls, dialog, [&](const ControlRow&) { return codeLengthLine.c_str(); });
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i] && kControls[i].id == kHeadingId && headingFont_) {
            ::SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()),
                           TRUE);
        }
    }
    ::SendDlgItemMessageW(dialog, kWordEditId, EM_LIMITTEXT, kMaxWordLength, 0);
    // A library that cannot be opened has no length to keep to; its store fails.
    if (codeLength > 0) {
        ::SendDlgItemMessageW(dialog, kCodeEditId, EM_LIMITTEXT, codeLength, 0);
    }
    if (HWND code = ::GetDlgItem(dialog, kCodeEditId)) {
        ::SetWindowSubclass(code, CodeEditProc, kCodeEditSubclass,
                            reinterpret_cast<DWORD_PTR>(this));
    }
}

LRESULT CALLBACK CCustomEntryDialog::CodeEditProc(HWND edit, UINT message, WPARAM wParam,
                                                  LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    if (message == WM_CHAR) {
        HWND word = ::GetDlgItem(::GetParent(edit), kWordEditId);
        if (::GetWindowTextLengthW(word) == 0) {
            ::SetFocus(word); // the word comes first
            return 0;
        }
        const bool printable = wParam >= 32 && wParam != 127;
        if (printable && !(wParam >= L'a' && wParam <= L'z')) {
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(edit, CodeEditProc, kCodeEditSubclass);
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

void CCustomEntryDialog::ShowStatus(HWND dialog, EntryCheckStatus status) {
    status_ = status;
    if (const wchar_t* hint = EntryStatusHint(status, kValidHint)) {
        ::SetDlgItemTextW(dialog, kHintId, hint);
    }
    const bool valid = status == EntryCheckStatus::Valid;
    bool reset = true;
    if (status == EntryCheckStatus::EmptyWord) {
        reset = !IsEmpty(dialog, kCodeEditId);
    } else if (status == EntryCheckStatus::EmptyCode) {
        reset = !IsEmpty(dialog, kWordEditId);
    }
    Enable(dialog, IDOK, valid);
    Enable(dialog, kNextId, valid);
    Enable(dialog, kResetId, reset);
}

void CCustomEntryDialog::OnWordChanged(HWND dialog) {
    std::wstring code;
    AutoEncodeEntry(WindowText(::GetDlgItem(dialog, kWordEditId)).c_str(), code);
    // Setting the code notifies OnCodeChanged, whose status is the one shown.
    ::SetDlgItemTextW(dialog, kCodeEditId, code.c_str());
}

void CCustomEntryDialog::OnCodeChanged(HWND dialog) {
    const std::wstring word = WindowText(::GetDlgItem(dialog, kWordEditId));
    const std::wstring code = WindowText(::GetDlgItem(dialog, kCodeEditId));
    ShowStatus(dialog, CheckEntry(word.c_str(), code.c_str()));
}

bool CCustomEntryDialog::StoreEntry(HWND dialog) {
    // Enter reaches 确定 even while it is disabled.
    if (status_ != EntryCheckStatus::Valid) {
        return false;
    }
    return StoreUserEntry(dialog, WindowText(::GetDlgItem(dialog, kCodeEditId)),
                          WindowText(::GetDlgItem(dialog, kWordEditId)));
}

void CCustomEntryDialog::Reset(HWND dialog) {
    ::SetDlgItemTextW(dialog, kCodeEditId, L"");
    ::SetDlgItemTextW(dialog, kWordEditId, L"");
    ::SetFocus(::GetDlgItem(dialog, kWordEditId));
}

void CCustomEntryDialog::OnNext(HWND dialog) {
    if (StoreEntry(dialog)) {
        Reset(dialog);
    }
}

void CCustomEntryDialog::OnOk(HWND dialog) {
    if (StoreEntry(dialog)) {
        EndWithOk(dialog);
    }
}

} // namespace tide
