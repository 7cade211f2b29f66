#include "app/PlaceholderDialog.h"

#include "ui/DialogMemory.h"
#include "win/ProcessGlobals.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr DWORD kPlaceholderStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
constexpr int kWidth = 220;
constexpr int kHeight = 80;
constexpr int kTextId = 100;

struct ControlRow {
    const wchar_t* className;
    DWORD style;
    int id;
    RECT dialogUnits; // left, top, right, bottom
};

// The text is filled in from the dialog's parameter.
constexpr ControlRow kControls[] = {
    {L"Static", WS_CHILD | WS_VISIBLE | SS_LEFT, kTextId, {12, 12, kWidth - 12, 44}},
    {L"Button",
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
     IDCANCEL,
     {kWidth - 62, kHeight - 22, kWidth - 12, kHeight - 8}},
};

void CreateControls(HWND dialog, const wchar_t* text) {
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (const ControlRow& row : kControls) {
        RECT pixels = row.dialogUnits;
        ::MapDialogRect(dialog, &pixels);
        const wchar_t* caption = row.id == kTextId ? text : L"关闭";
        HWND control = ::CreateWindowExW(
            0, row.className, caption, row.style, pixels.left, pixels.top,
            pixels.right - pixels.left, pixels.bottom - pixels.top, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), g_instance, nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

INT_PTR CALLBACK PlaceholderProc(HWND dialog, UINT message, WPARAM wParam,
                                 LPARAM lParam) noexcept {
    switch (message) {
    case WM_INITDIALOG:
        CreateControls(dialog, reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

} // namespace

INT_PTR RunPlaceholderDialog(HWND owner, const wchar_t* title, const wchar_t* text) {
    const std::wstring_view titleView(title);
    DialogTemplateFields fields;
    fields.style = kPlaceholderStyle;
    fields.title = AsU16(titleView);
    fields.width = kWidth;
    fields.height = kHeight;
    return ShowDialogTemplate(g_instance, fields, owner, PlaceholderProc,
                              reinterpret_cast<LPARAM>(text), true);
}

} // namespace tide
