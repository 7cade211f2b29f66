#include "ui/Dialog.h"

#include "core/ui/DialogTemplate.h"
#include "ui/Buttons.h"
#include "ui/Controls.h"
#include "ui/ResourceIds.h"
#include "ui/UiFont.h"
#include "win/GdiplusObjects.h"

namespace tide {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

constexpr DWORD kFramedStyle = WS_POPUP | WS_VISIBLE | WS_BORDER | DS_CENTER | DS_SETFONT;
constexpr DWORD kFramedExStyle = WS_EX_APPWINDOW;
constexpr DWORD kCloseButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr int kCloseButtonWidth = 31;
constexpr int kCloseButtonHeight = 24;
constexpr int kDragBandUnits = 15;
constexpr int kHomeButtonY = 10;

// Dialog units of the frame to pixels, with the same correction as the
// template when the fallback face is in use (so the column meets the
// buttons and reaches the bottom).
int UnitsToPixelsX(HWND dialog, int units) {
    RECT r = {UsingFallbackFace() ? ScaleTemplateForFallbackFace({units, 0, 0, 0}).x : units, 0, 0,
              0};
    ::MapDialogRect(dialog, &r);
    return r.left;
}
int UnitsToPixelsY(HWND dialog, int units) {
    RECT r = {0, UsingFallbackFace() ? ScaleTemplateForFallbackFace({0, units, 0, 0}).y : units, 0,
              0};
    ::MapDialogRect(dialog, &r);
    return r.top;
}

} // namespace

void TraceStoppedException(const char* what) noexcept {
    ::OutputDebugStringW(L"TideSetup: a message handler threw; the message was left unhandled\n");
    if (what) {
        ::OutputDebugStringA(what);
        ::OutputDebugStringA("\n");
    }
}

INT_PTR CDialogBox::ShowModal(const wchar_t* title, int width, int height, int navigationWidth) {
    width_ = width;
    height_ = height;
    navigationWidth_ = NavigationWidthFor(width, navigationWidth);
    return CreateChildDialog(*this, kFramedStyle, kFramedExStyle, title, 0, 0, width, height,
                             DialogProcFor<CDialogBox, &CDialogBox::FramedMessage>, owner_, true);
}

INT_PTR CDialogBox::HandleMessage(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

bool CDialogBox::OnHome(HWND) {
    return true;
}

bool CDialogBox::OnClose(HWND) {
    return true;
}

void CDialogBox::PaintContent(HWND, HDC) {}

namespace {

constexpr UINT kCreationStepMessage = WM_APP + 1;

} // namespace

void CDialogBox::DeferCreationSteps(HWND dialog, int steps) {
    for (int step = 0; step < steps; ++step) {
        ::PostMessageW(dialog, kCreationStepMessage, static_cast<WPARAM>(step), 0);
    }
}

void CDialogBox::CreateStep(HWND, int) {}

INT_PTR CDialogBox::FramedMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR result = FrameMessage(dialog, message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    const INT_PTR toolResult = HandleMessage(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG && toolResult) {
        // The dialog manager would focus the first control, 主页, where Enter
        // leaves the tool; the tool's own first control takes the focus.
        HWND home = ::GetDlgItem(dialog, kHomeButtonId);
        HWND first = ::GetNextDlgTabItem(dialog, home, FALSE);
        if (first && first != home) {
            ::SetFocus(first);
            return FALSE;
        }
    }
    return toolResult;
}

INT_PTR CDialogBox::FrameMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                 bool& handled) {
    handled = true;
    switch (message) {
    case WM_INITDIALOG: {
        // The icon is the module's shared one: the dialog class keeps it after
        // this dialog is gone (the launcher shows it too).
        ::SetClassLongPtrW(
            dialog, GCLP_HICON,
            reinterpret_cast<LONG_PTR>(::LoadIconW(instance_, MAKEINTRESOURCEW(kIconApplication))));
        RegisterButtonClass(instance_, kCommandButtonClass, CommandButtonProc);
        RegisterButtonClass(instance_, kNavigateButtonClass, NavigateButtonProc);
        RECT client;
        ::GetClientRect(dialog, &client);
        HWND close = ::CreateWindowExW(
            0, L"Button", L"关闭", kCloseButtonStyle, client.right - kCloseButtonWidth, client.top,
            kCloseButtonWidth, kCloseButtonHeight, dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButtonId)), instance_, nullptr);
        SubclassCloseButton(close);
        CreateCommandButton(*this, navigationWidth_, L"主页", kHomeButtonY, dialog, kHomeButtonId,
                            kIconHome);
        handled = false;
        return TRUE;
    }
    case kCreationStepMessage: {
        if (wParam == 0) {
            ::UpdateWindow(dialog); // the frame first, then what fills it
        }
        // A page made now would take the focus to its first control: it
        // stays where the dialog put it when it opened.
        HWND focus = ::GetFocus();
        CreateStep(dialog, static_cast<int>(wParam));
        if (focus && ::IsWindow(focus) && ::GetFocus() != focus) {
            ::SetFocus(focus);
        }
        return TRUE;
    }
    case WM_DESTROY:
        images_.TakeBack();
        handled = false;
        return FALSE;
    case WM_NCDESTROY:
        // Only now are the buttons of both classes gone, so the classes can go.
        ::UnregisterClassW(kCommandButtonClass, instance_);
        ::UnregisterClassW(kNavigateButtonClass, instance_);
        handled = false;
        return FALSE;
    case WM_SIZE:
        ::SetWindowPos(::GetDlgItem(dialog, kCloseButtonId), nullptr,
                       LOWORD(lParam) - kCloseButtonWidth, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        handled = false;
        return FALSE;
    case WM_PAINT: {
        PaintScope paint(dialog);
        PaintFrame(dialog, paint.dc());
        PaintContent(dialog, paint.dc());
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;
    case WM_CTLCOLORDLG:
        return WhiteBackgroundBrush();
    case WM_LBUTTONDOWN:
        if (static_cast<short>(HIWORD(lParam)) < UnitsToPixelsY(dialog, kDragBandUnits)) {
            return ::SendMessageW(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        handled = false;
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kHomeButtonId:
            if (OnHome(dialog)) {
                ::EndDialog(dialog, kResultHome);
            }
            return TRUE;
        case IDCANCEL:
        case kCloseButtonId:
            if (OnClose(dialog)) {
                ::EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        default:
            break;
        }
        handled = false;
        return FALSE;
    default:
        handled = false;
        return FALSE;
    }
}

void CDialogBox::PaintFrame(HWND dialog, HDC dc) {
    GdiplusGraphics graphics = GraphicsForDc(dc);
    RECT client;
    ::GetClientRect(dialog, &client);
    GdiplusBrush navigation = SolidBrush(navigationColor_);
    GdipFillRectangleI(graphics.get(), navigation.get(), 0, 0,
                       UnitsToPixelsX(dialog, navigationWidth_), UnitsToPixelsY(dialog, height_));
    wchar_t title[260] = {};
    ::GetWindowTextW(dialog, title, 260);
    FontHandle font = CreateUiFont(dialog, L"微软雅黑", 11);
    GdiplusFont gdiplusFont = FontFromGdi(dc, font.get());
    GdiplusBrush black = SolidBrush(RGB(0, 0, 0));
    GdiplusStringFormat format = TextFormat(true);
    const REAL left = static_cast<REAL>(UnitsToPixelsX(dialog, 15));
    const REAL top = static_cast<REAL>(UnitsToPixelsY(dialog, 30));
    const RectF band(left, top, static_cast<REAL>(client.right) - left,
                     static_cast<REAL>(UnitsToPixelsY(dialog, 40)) - top);
    GdipDrawString(graphics.get(), title, -1, gdiplusFont.get(), &band, format.get(), black.get());
}

} // namespace tide
