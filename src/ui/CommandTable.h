// A dialog's commands as a table: one row per control that sends WM_COMMAND,
// naming the notification it answers and the member that handles it, so a
// tool's WM_COMMAND is one lookup instead of a switch.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tide {

template <typename Object>
struct CommandRow {
    int id;
    void (Object::*handler)(HWND dialog);
    // What the control sends: BN_CLICKED (0) for a button and for the
    // dialog manager's IDOK/IDCANCEL, EN_CHANGE for an edit, …
    WORD notification = BN_CLICKED;
};

// Runs the row of this command, if any; false when no row answers it.
template <typename Object, std::size_t Count>
bool RunCommand(Object& object, const CommandRow<Object> (&rows)[Count], HWND dialog,
                WPARAM wParam) {
    for (const CommandRow<Object>& row : rows) {
        if (row.id == LOWORD(wParam) && row.notification == HIWORD(wParam)) {
            (object.*row.handler)(dialog);
            return true;
        }
    }
    return false;
}

} // namespace tide
