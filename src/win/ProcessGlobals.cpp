#include "win/ProcessGlobals.h"

#include "win/WideText.h"

namespace tide {

HINSTANCE g_instance = nullptr;

const UINT g_notifyMessage = ::RegisterWindowMessageW(ToWide(kNotifyMessageName).c_str());

BOOL PostChangeNotice(ChangeCode code) {
    return ::PostMessageW(HWND_BROADCAST, g_notifyMessage, static_cast<WPARAM>(code), 0);
}

} // namespace tide
