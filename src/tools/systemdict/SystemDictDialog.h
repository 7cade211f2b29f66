// The system dictionary tool: lists the word libraries of the installation,
// shows the current one's statistics, switches the current library, and
// imports, exports, adds and removes libraries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/config/ConfigRecord.h"
#include "ui/Dialog.h"
#include "win/Handles.h"

namespace tide {

class CSystemDictDialog : public CDialogBox {
public:
    CSystemDictDialog(HINSTANCE instance, HWND owner);
    ~CSystemDictDialog() override;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls(HWND dialog);
    void FillDictionaryCombo(HWND dialog);
    std::wstring SelectedLibraryPath(HWND dialog) const;
    // The file name of the selected item; null when nothing is selected.
    const std::wstring* SelectedFileName(HWND dialog) const;
    // The file name of a list item; null for none.
    const std::wstring* FileNameOfItem(HWND dialog, LRESULT item) const;
    void ShowLibraryStatistics(HWND dialog, const std::wstring& libraryPath, bool update);
    // Makes `fileName` the current library: saved, listed, shown, announced.
    void MakeCurrent(HWND dialog, const std::wstring& fileName);

    void OnSelectionChange(HWND dialog);
    void OnImport(HWND dialog);
    void OnExport(HWND dialog);
    void OnAdd(HWND dialog);
    void OnRemove(HWND dialog);
    void OnHelp(HWND dialog);

    ConfigRecord config_ = {};
    std::vector<std::wstring> libraryFiles_; // in directory order; the combo's item data indexes it
    int selected_ = CB_ERR;
    FontHandle titleFont_;
};

// A file name for a new library that no file in `folder` has yet: "Tide",
// four random digits, ".imc". Empty when every such name is taken.
std::wstring NewLibraryName(const std::wstring& folder);

} // namespace tide
