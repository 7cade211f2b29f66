#include "tools/settings/ConfigureDialog.h"

#include <cstring>
#include <span>

#include "tools/settings/SettingsPages.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/ResourceIds.h"
#include "win/Handles.h"
#include "win/config/ConfigStorage.h"

namespace tide {
namespace {

enum ControlId : int {
    kFirstPageId = 257, // 257 to 262, one per page
    kLastPageId = 262,
    kRestoreDefaultsId,
    kBackupId,
    kRestoreId,
    kApplyId,
};

constexpr ColumnButtonRow kColumnButtons[] = {
    {kNavigateButtonClass, L"常规设置", 257, 45, kIconGeneral},
    {kNavigateButtonClass, L"界面设置", 258, 59, kIconInterface},
    {kNavigateButtonClass, L"按键设置", 259, 73, kIconKeys},
    {kNavigateButtonClass, L"软键设置", 260, 87, kIconSoftKeys},
    {kNavigateButtonClass, L"皮肤设置", 261, 101, kIconSkin},
    {kNavigateButtonClass, L"高级设置", 262, 115, kIconAdvanced},
    {kCommandButtonClass, L"恢复默认设置", kRestoreDefaultsId, 146, kIconDefaults},
    {kCommandButtonClass, L"备份设置", kBackupId, 160, kIconBackup},
    {kCommandButtonClass, L"还原设置", kRestoreId, 174, kIconRestore},
    {kCommandButtonClass, L"应用", kApplyId, 215, kIconApply},
    {kCommandButtonClass, L"确定", IDOK, 229, kIconOk},
};

struct PageSlot {
    int navigationId;
    std::unique_ptr<CSettingsPage> (*make)(CConfigureDialog& shell);
    int extraUnits;  // page width beyond the standard one, dialog units
    int extraPixels; // the window grows by this much while the page is shown
};

// In page order.
constexpr PageSlot kPageSlots[CConfigureDialog::kPageCount] = {
    {257, MakeGeneralPage, 0, 0},  {258, MakeInterfacePage, 0, 0},
    {259, MakeKeysPage, 0, 0},     {260, MakeSoftKeyboardPage, 185, 185},
    {261, MakeSkinPage, 100, 100}, {262, MakeOutputPage, 0, 0},
};
// Fill all and collect all go through these, in this order.
constexpr int kEditingPages[] = {0, 1, 2, 3, 5};

constexpr int kPageX = 90;
constexpr int kPageY = 15;
constexpr int kPageWidth = 300 - kPageX;

constexpr wchar_t kCaption[] = L"提示";
constexpr wchar_t kAskRestoreDefaults[] = L"本操作将会使所有选项恢复到初\r\n始状态，是否继续？";
constexpr wchar_t kBackupDamaged[] = L"输入法配置文件错误，不能恢复。";
constexpr wchar_t kBackupOtherVersion[] = L"输入法配置版本不符，不能恢复。";
constexpr wchar_t kBackupNotWritten[] = L"设置备份失败，文件无法写入！";
constexpr wchar_t kSavedForThisSessionOnly[] =
    L"设置已生效，但配置文件无法写入，重新启动后将恢复原来的设置。";
constexpr wchar_t kNotSaved[] = L"设置保存失败，输入法未能读取新的设置。";

void Tell(HWND owner, const wchar_t* text) {
    ::MessageBoxW(owner, text, kCaption, MB_OK | MB_ICONINFORMATION);
}

} // namespace

CConfigureDialog::CConfigureDialog(HINSTANCE instance, HWND owner) : CDialogBox(instance, owner) {}

CConfigureDialog::~CConfigureDialog() = default;

INT_PTR CConfigureDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        dialog_ = dialog;
        modified_ = false;
        LoadConfig(record_);
        CreateColumnButtons(*this, navigationWidth(), kColumnButtons, dialog);
        SelectNavigateButton(dialog, kFirstPageId, kLastPageId, kFirstPageId);
        RECT window = {};
        ::GetWindowRect(dialog, &window);
        baseSize_ = {window.right - window.left, window.bottom - window.top};
        CreatePages(dialog);
        UpdateApplyButton();
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstPageId && id <= kLastPageId) {
            ShowPage(dialog, id);
            return TRUE;
        }
        static constexpr CommandRow<CConfigureDialog> kHandlers[] = {
            {kRestoreDefaultsId, &CConfigureDialog::OnRestoreDefaults},
            {kBackupId, &CConfigureDialog::OnBackup},
            {kRestoreId, &CConfigureDialog::OnRestore},
            {kApplyId, &CConfigureDialog::Save},
            {IDOK, &CConfigureDialog::OnOk},
        };
        if (!RunCommand(*this, kHandlers, dialog, wParam)) {
            return FALSE;
        }
        UpdateApplyButton();
        return TRUE;
    }
    case WM_DESTROY:
        for (int i = 0; i < kPageCount; ++i) {
            if (HWND page = PageWindow(i)) {
                ::DestroyWindow(page);
            }
        }
        return FALSE;
    default:
        return FALSE;
    }
}

bool CConfigureDialog::OnHome(HWND dialog) {
    Save(dialog);
    return !modified_; // like 确定, a change that could not be saved stays on screen
}

void CConfigureDialog::UpdateApplyButton() {
    ::EnableWindow(::GetDlgItem(dialog_, kApplyId), modified_ ? TRUE : FALSE);
}

std::uint8_t CConfigureDialog::ShownHotkey(RecordField field) const {
    for (int i = 0; i < kPageCount; ++i) {
        if (PageWindow(i)) {
            if (const std::optional<std::uint8_t> key = pages_[i]->ShownHotkey(field)) {
                return *key;
            }
        }
    }
    return FillState(BindField(BindKind::HotkeyKey, field), record_).virtualKey;
}

HWND CConfigureDialog::PageWindow(int index) const {
    return pages_[index] ? pages_[index]->window() : nullptr;
}

void CConfigureDialog::CreatePages(HWND dialog) {
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i] = kPageSlots[i].make(*this);
    }
    // The dialog shows first; then its pages are made, one a step, each
    // filled from the record, all before the user can touch anything.
    DeferCreationSteps(dialog, kPageCount);
}

void CConfigureDialog::CreateStep(HWND, int step) {
    CreatePage(step, step == shownPage_);
}

void CConfigureDialog::CreatePage(int index, bool visible) {
    if (PageWindow(index)) {
        return;
    }
    const PageSlot& slot = kPageSlots[index];
    // Making a page shows the record; it changes nothing.
    const bool modified = modified_;
    HWND page = pages_[index]->Create(dialog_, visible, kPageX, kPageY,
                                      kPageWidth + slot.extraUnits, kPageHeight);
    modified_ = modified;
    UpdateApplyButton();
    if (page && visible) {
        ::RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void CConfigureDialog::ShowPage(HWND dialog, int navigationId) {
    int extraPixels = 0;
    for (int i = 0; i < kPageCount; ++i) {
        if (HWND page = PageWindow(i)) {
            ::ShowWindow(page, SW_HIDE);
        }
        if (kPageSlots[i].navigationId == navigationId) {
            extraPixels = kPageSlots[i].extraPixels;
            shownPage_ = i;
            CreatePage(i, false); // shown below, once the window has its size
        }
    }
    ::SetWindowPos(dialog, nullptr, 0, 0, baseSize_.cx + extraPixels, baseSize_.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < kPageCount; ++i) {
        HWND page = PageWindow(i);
        if (page && kPageSlots[i].navigationId == navigationId) {
            ::ShowWindow(page, SW_SHOW);
        }
    }
}

void CConfigureDialog::FillAll() {
    for (int i : kEditingPages) {
        if (PageWindow(i)) {
            pages_[i]->Fill();
        }
    }
    modified_ = true;
}

void CConfigureDialog::CollectAll() {
    for (int i : kEditingPages) {
        if (PageWindow(i)) {
            pages_[i]->Collect();
        }
    }
}

void CConfigureDialog::Save(HWND dialog) {
    if (!modified_) {
        return;
    }
    CollectAll();
    if (!ReportSave(dialog, SaveConfig(record_))) {
        return; // the change stays in the dialog, to be applied again
    }
    modified_ = false;
}

bool CConfigureDialog::ReportSave(HWND owner, int saved) {
    if (saved == kSaveFailed) {
        Tell(owner, kNotSaved);
        return false;
    }
    if (saved == kSavedToMappingOnly) {
        Tell(owner, kSavedForThisSessionOnly);
    }
    return true;
}

void CConfigureDialog::OnRestoreDefaults(HWND dialog) {
    if (::MessageBoxW(dialog, kAskRestoreDefaults, kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    SetDefaultConfig(record_, 0); // the library and the skin stay
    FillAll();
}

void CConfigureDialog::OnBackup(HWND dialog) {
    CollectAll();
    PathBuffer path;
    if (!ShowFileDialog(dialog, path, FileKind::SaveBackup)) {
        return;
    }
    // An existing file is written over from its start, not cut short.
    FileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), &record_, sizeof(record_), &written, nullptr) ||
        written != sizeof(record_)) {
        Tell(dialog, kBackupNotWritten);
    }
}

void CConfigureDialog::OnRestore(HWND dialog) {
    PathBuffer path;
    if (!ShowFileDialog(dialog, path, FileKind::OpenBackup)) {
        return;
    }
    FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    std::uint8_t bytes[kConfigRecordSize] = {};
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), bytes, sizeof(bytes), &read, nullptr)) {
        read = 0;
    }
    // A short file would leave every option off: refused, nothing changes.
    const CheckedBackup backup = CheckConfigBackup(std::span(bytes, read));
    if (backup.check != BackupCheck::Ok) {
        Tell(dialog,
             backup.check == BackupCheck::OtherVersion ? kBackupOtherVersion : kBackupDamaged);
        return;
    }
    ConfigRecord restored = backup.record;
    // The word library and the skin are this computer's: they stay.
    std::memcpy(restored.DictionaryFileName, record_.DictionaryFileName,
                sizeof(record_.DictionaryFileName));
    std::memcpy(restored.SkinFileName, record_.SkinFileName, sizeof(record_.SkinFileName));
    record_ = restored;
    FillAll();
}

void CConfigureDialog::OnOk(HWND dialog) {
    Save(dialog);
    if (!modified_) { // a change that could not be saved stays on screen
        EndWithOk(dialog);
    }
}

} // namespace tide
