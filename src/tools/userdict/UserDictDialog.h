// The user dictionary tool: the user entries of the current library in a
// virtual list, their import from and export to text files, deleting one
// and clearing them all. Changes are made in place in the library the input
// method maps, so it sees them at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dict/WordLibrary.h"
#include "ui/Dialog.h"

namespace tide {

class CUserDictDialog : public CDialogBox {
public:
    using CDialogBox::CDialogBox;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The user entries of the current library; false when it cannot be read.
    bool ReadEntries();
    void CreateList(HWND dialog);
    void Reload(HWND dialog);
    void UpdateButtons(HWND dialog);
    int SelectedItem(HWND dialog) const;
    void ShowItemText(NMLVDISPINFOW& info);

    void OnImport(HWND dialog);
    // Asks with the counts first, then merges what can be coded.
    void ImportForeignList(HWND dialog, std::span<const std::uint8_t> bytes);
    void OnExport(HWND dialog);
    void OnDelete(HWND dialog);
    void OnClear(HWND dialog);
    void OnHelp(HWND dialog);

    std::vector<UserEntry> entries_; // in the library's walk order
    HWND list_ = nullptr;
    std::wstring itemText_; // what the list shows of the item asked for last
};

} // namespace tide
