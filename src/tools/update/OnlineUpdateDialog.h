// The online update tool: the installed version beside the one the maker's
// web site publishes, and, when that one is newer, "更新" fetching the
// installer and starting it once it is verified.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ui/Dialog.h"
#include "win/update/OnlineUpdate.h"

namespace tide {

class COnlineUpdateDialog : public CDialogBox {
public:
    using CDialogBox::CDialogBox;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Fetches the descriptor (once per opening) and fills lines 260 to 262
    // and the state of "更新".
    void ShowLatestVersion(HWND dialog, const std::wstring& installed);
    void OnUpdate(HWND dialog);

    std::optional<UpdateDescriptor> latest_; // what the site publishes, once fetched
};

} // namespace tide
