// A tool's dialog run for real with a test's checks: they run once the
// dialog is up (posted from WM_INITDIALOG, so the dialog is shown and its
// controls made), and the dialog ends after them with `endResult` unless
// the checks ended it themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "ui/Dialog.h"

namespace tide::test {

template <typename Tool>
class DrivenDialog : public Tool {
public:
    using Checks = std::function<void(HWND, Tool&)>;

    explicit DrivenDialog(Checks checks, INT_PTR endResult = kResultOk)
        : Tool(::GetModuleHandleW(nullptr), nullptr), checks_(std::move(checks)),
          endResult_(endResult) {}
    explicit DrivenDialog(std::function<void(HWND)> checks, INT_PTR endResult = kResultOk)
        : DrivenDialog(Checks([checks = std::move(checks)](HWND dialog, Tool&) { checks(dialog); }),
                       endResult) {}

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kRunChecks) {
            checks_(dialog, *this);
            if (::IsWindowVisible(dialog)) { // EndDialog hides the dialog
                ::EndDialog(dialog, endResult_);
            }
            return TRUE;
        }
        const INT_PTR result = Tool::HandleMessage(dialog, message, wParam, lParam);
        if (message == WM_INITDIALOG) {
            ::PostMessageW(dialog, kRunChecks, 0, 0);
        }
        return result;
    }

private:
    static constexpr UINT kRunChecks = WM_APP + 40;

    Checks checks_;
    INT_PTR endResult_;
};

} // namespace tide::test
