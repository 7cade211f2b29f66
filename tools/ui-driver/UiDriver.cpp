// ui-driver: drives the program's windows from scripts (screenshots, demos).
//   ui-driver wait TITLE [SECONDS]      waits until a dialog with that title exists
//   ui-driver command TITLE ID          posts WM_COMMAND ID to that dialog
// Exits 0 on success, 1 when the window is not there.
#include <windows.h>

#include <cwchar>
#include <cstdio>
#include <string>

namespace {

HWND FindDialog(const wchar_t* title) {
    return ::FindWindowW(L"#32770", title);
}

HWND WaitForDialog(const wchar_t* title, int seconds) {
    for (int waited = 0; waited < seconds * 20; ++waited) {
        if (HWND window = FindDialog(title)) {
            return window;
        }
        ::Sleep(50);
    }
    return nullptr;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wcscmp(argv[1], L"wait") == 0) {
        return WaitForDialog(argv[2], argc >= 4 ? _wtoi(argv[3]) : 20) ? 0 : 1;
    }
    if (argc == 4 && std::wcscmp(argv[1], L"command") == 0) {
        HWND window = WaitForDialog(argv[2], 20);
        return window && ::PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(_wtoi(argv[3])), 0)
                   ? 0
                   : 1;
    }
    std::fputws(L"usage: ui-driver wait TITLE [SECONDS] | ui-driver command TITLE ID\n", stderr);
    return 2;
}
