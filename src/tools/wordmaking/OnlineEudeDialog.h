// Word-making on request of the input method: it leaves the text just typed
// in "TIDE_SSTRING" and starts the program with "/e". The dialog proposes the
// text's last two characters as a word, Up and Down lengthen and shorten it,
// the code is derived as the user edits, and 确定 stores a user entry in the
// current library.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Dialog.h"

namespace tide {

class COnlineEudeDialog : public CDialog {
public:
    COnlineEudeDialog(HINSTANCE instance, HWND owner) : CDialog(instance, owner) {}

    // Runs the dialog modally under `title`: 1 once an entry is stored, 2 when
    // cancelled, -1 when the template memory cannot be had.
    INT_PTR ShowModal(const wchar_t* title);

    virtual INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WordEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR data) noexcept;

    void CreateControls(HWND dialog, const std::wstring& word);
    // Up (true) or Down in the word edit.
    void OnLengthKey(HWND edit, bool longer);
    void OnWordChanged(HWND dialog);
    void OnCodeChanged(HWND dialog);
    void OnOk(HWND dialog);
    void OnCancel(HWND dialog);

    std::wstring shared_; // the input method's text, read once when the dialog opens
};

// The text in "TIDE_SSTRING": at most 41 units, up to the first zero. The
// mapping is created (holding an empty text) when the input method has not
// made it, and closed again before this returns.
std::wstring ReadWordMakingText();

} // namespace tide
