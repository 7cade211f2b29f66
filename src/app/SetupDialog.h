// The launcher: a captioned dialog with one option button per tool. A tool
// runs with the launcher hidden; its "主页" brings the launcher back, any
// other way out ends the program.
#pragma once

#include <windows.h>

#include "ui/Dialog.h"

namespace tide {

class CSetupDialog : public CDialog {
public:
    CSetupDialog(HINSTANCE instance, HWND owner);

    // The launcher's modal result (the process exit code); -1 when the
    // template memory cannot be had.
    INT_PTR Run();

private:
    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(HWND dialog, int id);
};

} // namespace tide
