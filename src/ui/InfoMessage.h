// The information message box every tool shows its results in.
#pragma once

#include <windows.h>

namespace tide {

// Text broken every 15 display units, caption "潮汐输入法　信息", information
// icon, system-modal and topmost, owned by `owner` (the tool's own dialog, so
// the dialog takes no input while the box is up).
void ShowInfoMessage(HWND owner, const wchar_t* text);

} // namespace tide
