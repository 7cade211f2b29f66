// Dialog objects. CDialog is the base of every dialog; CDialogBox is the
// framed tool dialog: white client area, a coloured navigation column with
// the title, a draggable top band, an owner-drawn close button and "主页".
#pragma once

#include <windows.h>

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

protected:
    HINSTANCE instance_;
    HWND owner_;
    int width_ = 0; // dialog units
    int height_ = 0;
};

class CDialogBox : public CDialog {
public:
    // Every framed dialog makes itself the current one: only one exists at a time.
    CDialogBox(HINSTANCE instance, HWND owner);
    ~CDialogBox() override;

    // Runs the dialog modally; a navigation width of 0 takes three tenths of
    // the width. -1 when the template memory cannot be had.
    INT_PTR ShowModal(const wchar_t* title, int width, int height, int navigationWidth);

    virtual INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // "主页" was pressed; the dialog ends with 4096 right after.
    virtual void OnHome(HWND dialog);

    int navigationWidth() const { return navigationWidth_; }

    static CDialogBox* Current() { return current_; }

private:
    static INT_PTR CALLBACK FramedDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    INT_PTR FrameMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void PaintFrame(HWND dialog, HDC dc);

    static CDialogBox* current_;

    WNDPROC commandButtonProc_ = nullptr;
    WNDPROC navigateButtonProc_ = nullptr;
    int navigationWidth_ = 0;
    COLORREF navigationColor_ = kNavigationColor;
    WNDPROC closeButtonProc_ = nullptr;
    HICON classIcon_ = nullptr;
};

// The navigation width ShowModal uses: the given one, or width / 10 * 3.
constexpr int NavigationWidthFor(int width, int navigationWidth) {
    return navigationWidth != 0 ? navigationWidth : width / 10 * 3;
}
static_assert(NavigationWidthFor(262, 0) == 78);
static_assert(NavigationWidthFor(300, 0) == 90);

} // namespace tide
