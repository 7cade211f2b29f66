// The About tool: product information with the installed version, and a page
// asking for support.
#pragma once

#include <windows.h>

#include "ui/Dialog.h"

namespace tide {

class CAboutDialog : public CDialogBox {
public:
    CAboutDialog(HINSTANCE instance, HWND owner);
    ~CAboutDialog() override;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK SupportPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

    static CAboutDialog* current_;
    HWND aboutPage_ = nullptr;
    HWND supportPage_ = nullptr;
};

} // namespace tide
