#include "ui/InfoMessage.h"

#include <string>

#include "core/config/InfoMessageText.h"
#include "win/WideText.h"

namespace tide {

void ShowInfoMessage(HWND owner, const wchar_t* text) {
    const std::wstring broken = ToWide(BreakInfoMessageLines(AsU16(text)));
    ::MessageBoxW(owner, broken.c_str(), ToWide(kInfoMessageCaption).c_str(),
                  MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL | MB_TOPMOST);
}

} // namespace tide
