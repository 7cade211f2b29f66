// A plain top-level dialog standing in for a tool that is not built yet: it
// carries the tool's real title (so the single-instance guard sees it) and a
// line of text, and closes with its button, Esc or the close box.
#pragma once

#include <windows.h>

namespace tide {

INT_PTR RunPlaceholderDialog(HWND owner, const wchar_t* title, const wchar_t* text);

} // namespace tide
