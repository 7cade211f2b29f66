#include "win/MonitorDpi.h"

#include "win/Handles.h"

namespace tide {
namespace {

constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForMonitorFn LookUpGetDpiForMonitor() {
    // Present from Windows 8.1 on. The library is loaded once and kept: the
    // process asks again whenever a keyboard page is laid out.
    static const GetDpiForMonitorFn function = [] {
        HMODULE shcore = ::LoadLibraryW(L"SHCore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return function;
}

} // namespace

int GetMonitorDpi(HWND window, UINT* outX, UINT* outY) {
    UINT dpiX = 96;
    UINT dpiY = 96;
    const auto getDpiForMonitor = LookUpGetDpiForMonitor();
    HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!getDpiForMonitor || !monitor ||
        FAILED(getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY))) {
        WindowDc dc(window);
        if (dc) {
            dpiX = static_cast<UINT>(::GetDeviceCaps(dc.get(), LOGPIXELSX));
            dpiY = static_cast<UINT>(::GetDeviceCaps(dc.get(), LOGPIXELSY));
        }
    }
    if (outX) {
        *outX = dpiX;
    }
    if (outY) {
        *outY = dpiY;
    }
    return 0;
}

} // namespace tide
