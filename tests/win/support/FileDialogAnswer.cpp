#include "support/FileDialogAnswer.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include "support/WinTestSupport.h"

namespace tide::test {

std::thread AnswerFileDialog(const wchar_t* title, std::wstring name, std::atomic<bool>& seen) {
    return std::thread([title, name = std::move(name), &seen] {
        HWND dialog = WaitForWindow(L"#32770", title, std::chrono::seconds(20));
        if (!dialog) {
            return;
        }
        seen = true;
        // The file name box is a combo box or an edit, depending on the style.
        // WM_SETTEXT reaches it in another process too (its text is copied
        // across; CDM_SETCONTROLTEXT's is not).
        for (const int id : {cmb13, edt1}) {
            HWND box = ::GetDlgItem(dialog, id);
            HWND edit = box ? ::FindWindowExW(box, nullptr, L"Edit", nullptr) : nullptr;
            if (HWND target = edit ? edit : box) {
                ::SendMessageW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            }
        }
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        // A name the dialog does not take leaves it open: cancel it rather
        // than leave the test hanging.
        for (int i = 0; i < 250 && ::IsWindow(dialog); ++i) {
            ::Sleep(20);
        }
        if (::IsWindow(dialog)) {
            seen = false;
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
}

} // namespace tide::test
