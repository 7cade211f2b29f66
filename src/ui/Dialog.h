// Dialog objects. CDialog is the base of every dialog; CDialogBox is the
// framed tool dialog: white client area, a coloured navigation column with
// the title, a draggable top band, an owner-drawn close button and "主页".
//
// A dialog finds its object through its own window: every dialog of the
// program is created with its CDialog as the creation parameter, which
// WM_INITDIALOG keeps in DWLP_USER (BindDialogObject). Pages and secondary
// dialogs of a tool get the tool's object the same way.
#pragma once

#include <windows.h>

#include <exception>

#include "ui/ControlImages.h"

namespace tide {

// Modal results other parts rely on.
inline constexpr INT_PTR kResultOk = 1;
inline constexpr INT_PTR kResultCancel = 2;  // Esc
inline constexpr INT_PTR kResultClose = 8;   // the close button
inline constexpr INT_PTR kResultHome = 4096; // "主页": back to the launcher

inline constexpr int kCloseButtonId = 8;
inline constexpr int kHomeButtonId = 4096;
inline constexpr COLORREF kNavigationColor = RGB(207, 229, 239);
inline constexpr COLORREF kHoverColor = RGB(172, 204, 215);
inline constexpr COLORREF kAccentColor = RGB(0, 120, 215);

class CDialog {
public:
    CDialog(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    HINSTANCE instance() const { return instance_; }
    HWND owner() const { return owner_; }
    // The images this dialog's controls show; taken back when it is destroyed.
    ControlImages& images() { return images_; }

    // The creation parameter that binds a dialog window to this object.
    LPARAM BindingParameter() { return reinterpret_cast<LPARAM>(this); }

protected:
    HINSTANCE instance_;
    HWND owner_;
    int width_ = 0; // dialog units
    int height_ = 0;
    ControlImages images_;
};

// The object of a dialog window created with BindingParameter(): kept from
// WM_INITDIALOG on, read back for every later message; null before.
template <typename Object>
Object* BindDialogObject(HWND dialog, UINT message, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* object = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return static_cast<Object*>(object);
}

// Leaves a trace of an exception that HandleGuarded stopped, for a debugger
// or a debug-output viewer: what it said, when it was a std::exception.
void TraceStoppedException(const char* what) noexcept;

// The one place where an exception thrown while handling a message stops: the
// message counts as not handled (the dialog manager's default), nothing
// unwinds through the system's code, and a trace is left.
template <typename Handler>
auto HandleGuarded(Handler&& handler) noexcept -> decltype(handler()) {
    try {
        return handler();
    } catch (const std::exception& error) {
        TraceStoppedException(error.what());
    } catch (...) {
        TraceStoppedException(nullptr);
    }
    return FALSE;
}

// The dialog procedure of every dialog and page of the program: the window
// finds its object through BindDialogObject, and each message from
// WM_INITDIALOG on goes to the member Handler behind HandleGuarded.
template <typename Object, INT_PTR (Object::*Handler)(HWND, UINT, WPARAM, LPARAM)>
INT_PTR CALLBACK DialogProcFor(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Object* self = BindDialogObject<Object>(dialog, message, lParam);
    if (!self) {
        return FALSE;
    }
    return HandleGuarded([&] { return (self->*Handler)(dialog, message, wParam, lParam); });
}

class CDialogBox : public CDialog {
public:
    using CDialog::CDialog;

    // Runs the dialog modally; a navigation width of 0 takes three tenths of
    // the width. -1 when the template memory cannot be had.
    INT_PTR ShowModal(const wchar_t* title, int width, int height, int navigationWidth);

    virtual INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // "主页" was pressed; the dialog ends with 4096 right after unless this
    // returns false (what it had to keep could not be kept).
    virtual bool OnHome(HWND dialog);
    // Esc or the close button; the dialog ends unless this returns false (a
    // tool with unsaved work may ask first).
    virtual bool OnClose(HWND dialog);
    // Paints what the tool draws itself on the client area, after the frame,
    // with the frame's paint DC.
    virtual void PaintContent(HWND dialog, HDC dc);

    int navigationWidth() const { return navigationWidth_; }

    // Ends the dialog with kResultOk: 确定 of a tool that keeps its work as it goes.
    void EndWithOk(HWND dialog) { ::EndDialog(dialog, kResultOk); }

protected:
    // Work that can wait until the dialog is on the screen, such as the
    // controls of pages: `steps` calls of CreateStep, each from a message
    // posted now, so they run in order once the dialog shows and before any
    // input of the user (which comes after posted messages) or anything
    // posted later. The dialog is painted before the first step, and a
    // message sent from outside is answered between two steps.
    void DeferCreationSteps(HWND dialog, int steps);
    virtual void CreateStep(HWND dialog, int step);

private:
    // The frame's messages first, then the tool's HandleMessage.
    INT_PTR FramedMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR FrameMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void PaintFrame(HWND dialog, HDC dc);

    int navigationWidth_ = 0;
    COLORREF navigationColor_ = kNavigationColor;
};

// The navigation width ShowModal uses: the given one, or width / 10 * 3.
constexpr int NavigationWidthFor(int width, int navigationWidth) {
    return navigationWidth != 0 ? navigationWidth : width / 10 * 3;
}
static_assert(NavigationWidthFor(262, 0) == 78);
static_assert(NavigationWidthFor(300, 0) == 90);

} // namespace tide
