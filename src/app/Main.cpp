// Process entry: one top-level dialog, the launcher or word-making, chosen by
// the command line; a second copy of the same dialog is refused.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include "app/SetupDialog.h"
#include "app/ToolTitles.h"
#include "tools/wordmaking/OnlineEudeDialog.h"
#include "win/ProcessGlobals.h"
#include "win/WideText.h"

namespace {

// COM for this thread, apartment model, for the whole run.
class ComApartment {
public:
    ComApartment() noexcept : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialized_) {
            ::CoUninitialize();
        }
    }

private:
    bool initialized_;
};

// GDI+ for the whole run (version 1, its own background thread).
class GdiplusSession {
public:
    GdiplusSession() noexcept {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
            token_ = 0;
        }
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession() {
        if (token_) {
            Gdiplus::GdiplusShutdown(token_);
        }
    }

private:
    ULONG_PTR token_ = 0;
};

bool IsDialogOpen(const wchar_t* title) {
    return ::FindWindowW(tide::kDialogClassName, title) != nullptr;
}

constexpr int kAlreadyRunning = -1;

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    tide::g_instance = instance;
    ComApartment com;
    GdiplusSession gdiplus;
    HWND owner = ::GetDesktopWindow();

    const bool wordMaking =
        tide::IsWordMakingCommandLine(tide::AsU16(commandLine ? commandLine : L""));
    const wchar_t* title = wordMaking ? tide::kWordMakingTitle : tide::kLauncherTitle;
    if (IsDialogOpen(title)) {
        return kAlreadyRunning;
    }
    if (!wordMaking) {
        tide::CSetupDialog launcher(instance, owner);
        return static_cast<int>(launcher.Run());
    }
    tide::COnlineEudeDialog wordMakingDialog(instance, owner);
    return static_cast<int>(wordMakingDialog.ShowModal(title));
}
