// A running TideSetup.exe showing its launcher, for tests that open its
// tools as the user does.
#pragma once

#include <windows.h>

#include <optional>

#include "support/WinTestSupport.h"

namespace tide::test {

class LauncherSession {
public:
    // Starts the program; false when its launcher does not show.
    bool Start();

    // Opens the tool of `id` and returns its window once it has made its
    // controls (the window is found before its WM_INITDIALOG has run).
    HWND OpenTool(int id, const wchar_t* title);

    // 主页 of `tool`; true once the launcher is back.
    bool GoHome(HWND tool);

    HWND launcher() const { return launcher_; }
    ChildProcess& process() { return *process_; }

private:
    std::optional<ChildProcess> process_;
    HWND launcher_ = nullptr;
};

} // namespace tide::test
