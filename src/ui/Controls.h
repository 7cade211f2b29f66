// Controls placed in dialog units, page and child dialogs, fonts and images.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "win/Handles.h"

namespace tide {

class CDialog;

// A child control (WS_CHILD | WS_VISIBLE added) at a position in dialog units
// of `parent`, with the parent's font; corrected when the fallback face is in use.
HWND CreateControl(const CDialog& owner, const wchar_t* className, const wchar_t* caption,
                   DWORD style, int x, int y, int width, int height, HWND parent, int id);

// One control of a dialog built from a table: one row per control.
struct ControlRow {
    const wchar_t* className;
    const wchar_t* caption; // null: the dialog fills it in
    DWORD style;            // WS_CHILD | WS_VISIBLE are added
    int id;
    int x, y, width, height; // dialog units
};

// Creates the control of every row on `parent`, in the table's order; a row
// without a caption shows `captionOf(row)`. The controls, one per row
// (nullptr where one could not be made).
template <typename CaptionOf>
std::vector<HWND> CreateControlRows(const CDialog& owner, std::span<const ControlRow> rows,
                                    HWND parent, CaptionOf&& captionOf) {
    std::vector<HWND> controls;
    controls.reserve(rows.size());
    for (const ControlRow& row : rows) {
        const wchar_t* caption = row.caption ? row.caption : captionOf(row);
        controls.push_back(CreateControl(owner, row.className, caption, row.style, row.x, row.y,
                                         row.width, row.height, parent, row.id));
    }
    return controls;
}

// The kinds of control the settings pages and the skin editor's panels are
// made of, and the window class and style each is created with.
enum class ControlKind {
    Text,         // a one-line static text, centred vertically
    Check,        // an automatic check box
    RadioFirst,   // the first automatic radio button of a group, a tab stop
    Radio,        // a further radio button of the group
    List,         // a drop-down list
    Edit,         // a bordered one-line edit
    NumberEdit,   // the same, digits only
    ColourSwatch, // an owner-drawn sunken static
    Button,       // a flat push button
};
struct ControlClass {
    const wchar_t* name;
    DWORD style;
};
ControlClass ClassOf(ControlKind kind);

// A page of a framed dialog: a child dialog without a title; visible or hidden.
// Returns the window, or nullptr when the template memory cannot be had.
// The page's procedure finds `owner` with BindDialogObject.
HWND CreatePageDialog(CDialog& owner, DLGPROC procedure, bool visible, int x, int y, int width,
                      int height, HWND parent);
// A modeless child dialog of `style` without a title (a page, a pane, a
// preview); nullptr when the template memory cannot be had.
HWND CreateChildPane(CDialog& owner, DWORD style, int x, int y, int width, int height,
                     DLGPROC procedure, HWND parent);

// A dialog of `owner` from a template built in memory (the launcher, a framed
// tool, a secondary dialog, a page): modal (its result) or modeless (the
// window as INT_PTR); -1 when the template memory cannot be had. Its
// procedure finds `owner` with BindDialogObject.
INT_PTR CreateChildDialog(CDialog& owner, DWORD style, DWORD extendedStyle, const wchar_t* title,
                          int x, int y, int width, int height, DLGPROC procedure, HWND parent,
                          bool modal);

// A "Tide_CommandButton" at x 0, as wide as the navigation column, 14 units high,
// with the icon `iconId` when it is not 0 (kept by `owner`), 16 pixels at
// 96 DPI and as much larger as the screen's text.
HWND CreateCommandButton(CDialog& owner, int navigationWidth, const wchar_t* caption, int y,
                         HWND parent, int id, int iconId);
// The same for a button of `className` (command or navigate) in the column.
HWND CreateColumnButton(CDialog& owner, const wchar_t* className, int navigationWidth,
                        const wchar_t* caption, int y, HWND parent, int id, int iconId);

// One button of a navigation column, as the tools' tables list them.
struct ColumnButtonRow {
    const wchar_t* className; // kCommandButtonClass or kNavigateButtonClass
    const wchar_t* caption;
    int id;
    int y;
    int iconId;
};

// Creates every button of `rows` in the column of `parent`.
template <std::size_t N>
void CreateColumnButtons(CDialog& owner, int navigationWidth, const ColumnButtonRow (&rows)[N],
                         HWND parent) {
    for (const ColumnButtonRow& row : rows) {
        CreateColumnButton(owner, row.className, navigationWidth, row.caption, row.y, parent,
                           row.id, row.iconId);
    }
}

// Marks `selectedId` and clears the others of the navigate buttons in [firstId, lastId].
void SelectNavigateButton(HWND parent, int firstId, int lastId, int selectedId);

// The white stock brush as a dialog procedure returns it for WM_CTLCOLOR*.
inline INT_PTR WhiteBackgroundBrush() {
    return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
}

// The whole text of a window or control.
std::wstring WindowText(HWND window);

// A font of `points` on the window's screen; "宋体" when `face` is not installed.
FontHandle CreateUiFont(HWND window, const wchar_t* face, int points);

// The extent of "潮汐输入法" in the window's DC, width divided by 10.
SIZE MeasureHalfCharWidth(HWND window);

// `pixels` at 96 DPI in pixels of the window's screen, at the DPI its fonts
// are made for, so images keep their size beside the text.
int ScreenPixels(HWND window, int pixels);

// The side of a column button's icon on the window's screen.
int ColumnIconSize(HWND window);

// A PNG resource (type 256) as a GDI bitmap on white; empty on failure.
BitmapHandle LoadPngBitmap(HWND window, int resourceId);
// The same scaled for the window's screen (ScreenPixels of its natural
// size), from its double-size twin (resourceId + kPngDoubleSizeOffset) where
// the screen is above 96 DPI and the twin exists; exactly LoadPngBitmap's
// bitmap at 96 DPI.
BitmapHandle LoadPngBitmapForScreen(HWND window, int resourceId);

} // namespace tide
