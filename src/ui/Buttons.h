// The program's own buttons: system buttons whose painting and hover tracking
// are replaced, so clicks still arrive as ordinary WM_COMMAND notifications.
//   Tide_CommandButton   commands of a tool's navigation column
//   Tide_NavigateButton  page switches (selection mark in GWLP_USERDATA)
//   WC_TIDE_OPTIONBUTTON the launcher's large buttons with image and description
// and the close button of every framed dialog (a subclassed owner-drawn button).
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

namespace tide {

inline constexpr wchar_t kCommandButtonClass[] = L"Tide_CommandButton";
inline constexpr wchar_t kNavigateButtonClass[] = L"Tide_NavigateButton";
inline constexpr wchar_t kOptionButtonClass[] = L"WC_TIDE_OPTIONBUTTON";

// Registers the class from the system "Button" description with `procedure`,
// which passes everything it does not handle to the system's procedure.
void RegisterButtonClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure);

LRESULT CALLBACK CommandButtonProc(HWND button, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;
LRESULT CALLBACK NavigateButtonProc(HWND button, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
LRESULT CALLBACK OptionButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Makes an owner-drawn system button the close button of a framed dialog:
// its picture, with the hover picture while the mouse is over it.
void SubclassCloseButton(HWND button);

// Whether the mouse is over the button (each button keeps its own state).
bool IsButtonHovered(HWND button);

// An option button's text is caption "/" description.
std::pair<std::wstring_view, std::wstring_view> SplitOptionText(std::wstring_view text);

} // namespace tide
