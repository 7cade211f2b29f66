// The About tool: product information with the installed version, and a page
// asking for support.
#pragma once

#include <windows.h>

#include "ui/Dialog.h"
#include "win/Handles.h"

namespace tide {

class CAboutDialog : public CDialogBox {
public:
    using CDialogBox::CDialogBox;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    INT_PTR AboutPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR SupportPageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowAboutPage(HWND dialog);
    void ShowSupportPage(HWND dialog);
    HWND aboutPage_ = nullptr;
    HWND supportPage_ = nullptr;
    FontHandle headingFont_;
};

} // namespace tide
