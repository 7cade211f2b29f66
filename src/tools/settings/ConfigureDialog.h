// The settings tool: a working copy of the configuration record, six pages
// that edit it, and the commands that restore the defaults, back the record
// up to a file, restore it from one, and save it for the input method.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "core/config/ConfigRecord.h"
#include "tools/settings/SettingsPage.h"
#include "ui/Dialog.h"

namespace tide {

class CConfigureDialog : public CDialogBox {
public:
    CConfigureDialog(HINSTANCE instance, HWND owner);
    ~CConfigureDialog() override;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnHome(HWND dialog) override;

    // What the pages edit.
    ConfigRecord& record() { return record_; }
    bool modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // "应用" is enabled exactly while there is something to save.
    void UpdateApplyButton();
    // Tells the user what a save that did not fully succeed means (SaveConfig's
    // result); true when the input method has the record.
    static bool ReportSave(HWND owner, int saved);
    // The key of a hotkey as the user sees it: the edit of the page that
    // shows it, else the working record's.
    std::uint8_t ShownHotkey(RecordField field) const;

    static constexpr int kPageCount = 6;
    static constexpr int kPageHeight = 250; // dialog units, every page

protected:
    void CreateStep(HWND dialog, int step) override;

private:
    void CreatePages(HWND dialog);
    // Makes the window of page `index` unless it is there.
    void CreatePage(int index, bool visible);
    // The page's window; null for a page not made yet or that could not be made.
    HWND PageWindow(int index) const;
    void ShowPage(HWND dialog, int navigationId);
    void FillAll();
    void CollectAll();
    // Saves the working record when it was changed; tells the user when the
    // change could not be kept.
    void Save(HWND dialog);

    void OnRestoreDefaults(HWND dialog);
    void OnBackup(HWND dialog);
    void OnRestore(HWND dialog);
    // 确定: saves, and ends the dialog unless a change could not be saved.
    void OnOk(HWND dialog);

    std::array<std::unique_ptr<CSettingsPage>, kPageCount> pages_;
    ConfigRecord record_ = {};
    bool modified_ = false;
    HWND dialog_ = nullptr;
    SIZE baseSize_ = {}; // the window's size on the pages of the standard width
    int shownPage_ = 0;
};

} // namespace tide
