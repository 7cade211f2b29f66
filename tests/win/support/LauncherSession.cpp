#include "support/LauncherSession.h"

#include "app/ToolTitles.h"
#include "ui/Dialog.h"

namespace tide::test {

using namespace std::chrono_literals;

bool LauncherSession::Start() {
    auto process = ChildProcess::Start(BinDirectory() + L"\\TideSetup.exe", L"");
    if (!process) {
        return false;
    }
    process_.emplace(std::move(*process));
    launcher_ = WaitForWindow(kDialogClassName, kLauncherTitle, 30s);
    return launcher_ != nullptr;
}

HWND LauncherSession::OpenTool(int id, const wchar_t* title) {
    ::PostMessageW(launcher_, WM_COMMAND, id, 0);
    HWND tool = WaitForWindow(kDialogClassName, title, 20s);
    for (int i = 0; tool && i < 200 && !::GetDlgItem(tool, kHomeButtonId); ++i) {
        ::Sleep(20);
    }
    // A tool makes its pages after it shows, before it takes input.
    if (tool) {
        WaitUntilMade(tool, 400ms, 30s);
    }
    return tool;
}

bool LauncherSession::GoHome(HWND tool) {
    ::PostMessageW(tool, WM_COMMAND, kHomeButtonId, 0);
    for (int i = 0; i < 200 && !::IsWindowVisible(launcher_); ++i) {
        ::Sleep(20);
    }
    return ::IsWindowVisible(launcher_);
}

} // namespace tide::test
