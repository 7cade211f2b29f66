// The tool "添加用户词条": the user types a word, its code is derived from the
// phrase rules and may be edited, a hint says whether the entry can be
// added, and it is stored as a user entry of the current library. Entries
// can be defined one after another.
#pragma once

#include <windows.h>

#include "core/dict/PhraseEncoder.h"
#include "ui/Dialog.h"
#include "win/Handles.h"

namespace tide {

class CCustomEntryDialog : public CDialogBox {
public:
    using CDialogBox::CDialogBox;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
    // A valid entry in the edits is stored before going back to the launcher;
    // when that fails the dialog stays with it.
    bool OnHome(HWND dialog) override;

private:
    static LRESULT CALLBACK CodeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data) noexcept;

    void CreateControls(HWND dialog);
    void ShowStatus(HWND dialog, EntryCheckStatus status);
    void OnWordChanged(HWND dialog);
    void OnCodeChanged(HWND dialog);
    // Stores the entry in the edits; false (and the user told) when it cannot be.
    bool StoreEntry(HWND dialog);
    void Reset(HWND dialog);
    void OnNext(HWND dialog);
    void OnOk(HWND dialog);

    EntryCheckStatus status_ = EntryCheckStatus::EmptyWord;
    FontHandle headingFont_;
};

} // namespace tide
