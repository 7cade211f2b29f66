#include "ui/Buttons.h"

#include <commctrl.h>

#include <string>

#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/ResourceIds.h"
#include "win/GdiplusObjects.h"
#include "win/ImageCodec.h"

namespace tide {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDisabledTextColor = RGB(150, 150, 150);
constexpr BYTE kDisabledIconVeil = 170; // alpha of the background laid over the icon
constexpr wchar_t kUiFace[] = L"微软雅黑";

constexpr wchar_t kHoverProperty[] = L"Tide.Hover";
constexpr UINT_PTR kCloseButtonSubclass = 1;
WNDPROC g_systemButtonProc = nullptr; // the same for every class made from "Button"

void SetHover(HWND button, bool hover) {
    if (hover) {
        ::SetPropW(button, kHoverProperty, reinterpret_cast<HANDLE>(1));
    } else {
        ::RemovePropW(button, kHoverProperty);
    }
}

// The hover state changes the picture.
void SetHoverAndRepaint(HWND button, bool hover) {
    SetHover(button, hover);
    ::InvalidateRect(button, nullptr, FALSE);
}

// What every procedure here does with a message before its own handling.
void ForgetHoverWhenDestroyed(HWND button, UINT message) {
    if (message == WM_NCDESTROY) {
        ::RemovePropW(button, kHoverProperty);
    }
}

bool TrackHoverAndLeave(HWND window, DWORD hoverTime) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = window;
    track.dwHoverTime = hoverTime;
    return ::TrackMouseEvent(&track) != FALSE;
}

LRESULT PassOn(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_systemButtonProc ? g_systemButtonProc : ::DefWindowProcW, button,
                             message, wParam, lParam);
}

void FillRect(GpGraphics* graphics, COLORREF color, int x, int y, int width, int height,
              BYTE alpha = 255) {
    GdiplusBrush brush = SolidBrush(color, alpha);
    GdipFillRectangleI(graphics, brush.get(), x, y, width, height);
}

// Whether the button shows that it has the focus: it has it, and the keyboard
// is in use (the window's UI state does not hide focus cues).
bool ShowsFocus(HWND button) {
    return ::GetFocus() == button &&
           (::SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

// The dotted focus rectangle, two pixels inside the button's edge.
void DrawFocusCue(GpGraphics* graphics, const RECT& client, COLORREF color = RGB(0, 0, 0)) {
    if (const GdiplusPen pen = SolidPen(color, 1.0f)) {
        GdipSetPenDashStyle(pen.get(), DashStyleDot);
        GdipDrawRectangleI(graphics, pen.get(), client.left + 2, client.top + 2,
                           client.right - client.left - 5, client.bottom - client.top - 5);
    }
}

// The system's button procedure paints a plain button of its own on these
// (focus, pressed state, default style, UI state); what it drew is replaced
// by this button's picture at once.
bool SystemPaintsOn(UINT message) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return true;
    default:
        return false;
    }
}

LRESULT PassOnAndRepaint(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = PassOn(button, message, wParam, lParam);
    if (SystemPaintsOn(message)) {
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return result;
}

// The sibling of the same class nearest to `button` in the direction of an
// arrow key, in its row (left, right) or its column (up, down); null when
// there is none that way.
HWND NeighbourInGrid(HWND button, UINT key) {
    HWND parent = ::GetParent(button);
    wchar_t ownClass[64] = {};
    ::GetClassNameW(button, ownClass, 64);
    RECT own;
    ::GetWindowRect(button, &own);
    const bool across = key == VK_LEFT || key == VK_RIGHT;
    const int sign = key == VK_RIGHT || key == VK_DOWN ? 1 : -1;
    HWND best = nullptr;
    long bestDistance = 0;
    for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling;
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        ::GetClassNameW(sibling, className, 64);
        if (sibling == button || std::wstring_view(className) != ownClass ||
            !::IsWindowVisible(sibling) || !::IsWindowEnabled(sibling)) {
            continue;
        }
        RECT other;
        ::GetWindowRect(sibling, &other);
        const bool inLine = across ? other.top < own.bottom && own.top < other.bottom
                                   : other.left < own.right && own.left < other.right;
        const long distance = sign * (across ? other.left - own.left : other.top - own.top);
        if (inLine && distance > 0 && (!best || distance < bestDistance)) {
            best = sibling;
            bestDistance = distance;
        }
    }
    return best;
}

void DrawText(GpGraphics* graphics, HDC dc, HFONT font, const std::wstring_view text, RectF area,
              bool centreVertically, COLORREF color = RGB(0, 0, 0)) {
    GdiplusFont gdiplusFont = FontFromGdi(dc, font);
    GdiplusBrush brush = SolidBrush(color);
    GdiplusStringFormat format = TextFormat(centreVertically);
    GdipDrawString(graphics, text.data(), static_cast<INT>(text.size()), gdiplusFont.get(), &area,
                   format.get(), brush.get());
}

// Command and navigate buttons: background, optional icon, text, and for a
// selected navigate button a bar on the left. A disabled button shows its
// icon faded and its text grey, so it does not look like one to press.
void PaintToolButton(HWND button, bool navigate) {
    const bool enabled = ::IsWindowEnabled(button) != FALSE;
    PaintScope paint(button);
    RECT client;
    ::GetClientRect(button, &client);
    DoubleBuffer buffer(paint.dc(), client);
    GdiplusGraphics graphics = GraphicsForDc(buffer.dc());
    FillRect(graphics.get(), IsButtonHovered(button) ? kHoverColor : kNavigationColor, 0, 0,
             client.right, client.bottom);

    HWND parent = ::GetParent(button);
    RECT margin = {15, 0, 0, 0};
    ::MapDialogRect(parent, &margin);
    int x = client.left + margin.left;
    const int half = MeasureHalfCharWidth(parent).cx;
    if (auto icon = reinterpret_cast<HICON>(::SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0))) {
        const int iconSize = ColumnIconSize(parent);
        const int iconY = client.top + (client.bottom - client.top - iconSize) / 2;
        ::DrawIconEx(buffer.dc(), x, iconY, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
        if (!enabled) {
            FillRect(graphics.get(), kNavigationColor, x, iconY, iconSize, iconSize,
                     kDisabledIconVeil);
        }
        x += 2 * half + iconSize;
    } else {
        x += half;
    }
    FontHandle font = CreateUiFont(button, kUiFace, 10);
    DrawText(graphics.get(), buffer.dc(), font.get(), WindowText(button),
             RectF(static_cast<REAL>(x), 0, static_cast<REAL>(client.right - x),
                   static_cast<REAL>(client.bottom)),
             true, enabled ? RGB(0, 0, 0) : kDisabledTextColor);
    if (navigate && ::GetWindowLongPtrW(button, GWLP_USERDATA) == 1) {
        FillRect(graphics.get(), kAccentColor, client.left, client.top + 3, 5,
                 client.bottom - client.top - 6);
    }
    if (ShowsFocus(button)) {
        DrawFocusCue(graphics.get(), client);
    }
}

LRESULT ToolButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam, bool navigate) {
    ForgetHoverWhenDestroyed(button, message);
    switch (message) {
    case WM_CREATE:
        SetHover(button, false);
        return 0;
    case WM_ENABLE:
        ::InvalidateRect(button, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_PAINT:
        PaintToolButton(button, navigate);
        return 0;
    case WM_GETDLGCODE:
        // Keyboard use ends the hover look; Tab, arrows and Enter stay the
        // dialog manager's, so Enter presses the focused button.
        SetHoverAndRepaint(button, false);
        break;
    case WM_MOUSEMOVE:
        if (!IsButtonHovered(button)) {
            SetHover(button, TrackHoverAndLeave(button, 5));
        }
        break;
    case WM_MOUSEHOVER: {
        RECT client;
        ::GetClientRect(button, &client);
        const POINT point = {static_cast<short>(LOWORD(lParam)),
                             static_cast<short>(HIWORD(lParam))};
        if (::PtInRect(&client, point)) {
            SetHoverAndRepaint(button, true);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        SetHoverAndRepaint(button, false);
        return 0;
    case WM_LBUTTONDOWN:
        if (navigate) {
            SetHover(button, false);
            HWND parent = ::GetParent(button);
            for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling;
                 sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
                wchar_t className[32] = {};
                ::GetClassNameW(sibling, className, 32);
                if (std::wstring_view(className) == kNavigateButtonClass) {
                    ::SetWindowLongPtrW(sibling, GWLP_USERDATA, sibling == button ? 1 : 0);
                    ::InvalidateRect(sibling, nullptr, FALSE);
                    ::UpdateWindow(sibling);
                }
            }
        }
        break;
    default:
        break;
    }
    return PassOnAndRepaint(button, message, wParam, lParam);
}

void PaintOptionButton(HWND button) {
    PaintScope paint(button);
    RECT client;
    ::GetClientRect(button, &client);
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    DoubleBuffer buffer(paint.dc(), client);
    GdiplusGraphics graphics = GraphicsForDc(buffer.dc());
    FillRect(graphics.get(), kWhite, 0, 0, w, h);
    if (const GdiplusPen pen = SolidPen(IsButtonHovered(button) ? kHoverColor : kWhite, 1.0f)) {
        GdipDrawRectangleI(graphics.get(), pen.get(), 0, 0, w - 1, h - 1);
    }
    const int insetX = w / 20;
    const int insetY = h / 10;
    int imageWidth = 0;
    if (auto bitmap =
            reinterpret_cast<HBITMAP>(::SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0))) {
        GpBitmap* created = nullptr;
        if (GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &created) == Ok) {
            const GdiplusImage image(created);
            UINT iw = 0;
            UINT ih = 0;
            GdipGetImageWidth(image.get(), &iw);
            GdipGetImageHeight(image.get(), &ih);
            GdipSetCompositingQuality(graphics.get(), CompositingQualityHighQuality);
            GdipSetInterpolationMode(graphics.get(), InterpolationModeHighQualityBicubic);
            GdipDrawImageRectI(graphics.get(), image.get(), insetX, insetY, static_cast<INT>(iw),
                               static_cast<INT>(ih));
            imageWidth = static_cast<int>(iw);
        }
    }
    const std::wstring text = WindowText(button);
    const auto [caption, description] = SplitOptionText(text);
    const REAL x = static_cast<REAL>(imageWidth + 3 * insetX);
    const REAL right = static_cast<REAL>(w - insetX);
    FontHandle captionFont = CreateUiFont(button, kUiFace, 11);
    FontHandle descriptionFont = CreateUiFont(button, kUiFace, 9);
    GdiplusFont measureFont = FontFromGdi(buffer.dc(), captionFont.get());
    RectF measured;
    const RectF layout(x, static_cast<REAL>(insetY), right - x, static_cast<REAL>(h));
    GdipMeasureString(graphics.get(), caption.data(), static_cast<INT>(caption.size()),
                      measureFont.get(), &layout, nullptr, &measured, nullptr, nullptr);
    DrawText(graphics.get(), buffer.dc(), captionFont.get(), caption,
             RectF(x, static_cast<REAL>(insetY), right - x, measured.Height), false);
    const REAL descriptionTop = insetY + measured.Height + insetY;
    DrawText(graphics.get(), buffer.dc(), descriptionFont.get(), description,
             RectF(x, descriptionTop, right - x, static_cast<REAL>(h) - descriptionTop), false);
    if (ShowsFocus(button)) {
        DrawFocusCue(graphics.get(), client, kAccentColor);
    }
}

void PaintCloseButton(HWND button) {
    PaintScope paint(button);
    RECT client;
    ::GetClientRect(button, &client);
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(button, GWLP_HINSTANCE));
    GdiplusImage image = ImageFromResource(
        instance, MAKEINTRESOURCEW(IsButtonHovered(button) ? kPngCloseHover : kPngCloseNormal),
        MAKEINTRESOURCEW(kPngResourceType));
    DoubleBuffer buffer(paint.dc(), client);
    GdiplusGraphics graphics = GraphicsForDc(buffer.dc());
    FillRect(graphics.get(), kWhite, 0, 0, client.right, client.bottom);
    if (image) {
        GdipSetCompositingQuality(graphics.get(), CompositingQualityHighQuality);
        GdipSetInterpolationMode(graphics.get(), InterpolationModeHighQualityBicubic);
        GdipDrawImageRectI(graphics.get(), image.get(), 0, 0, client.right, client.bottom);
    }
}

} // namespace

std::pair<std::wstring_view, std::wstring_view> SplitOptionText(std::wstring_view text) {
    const auto slash = text.find(L'/');
    if (slash == std::wstring_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, slash), text.substr(slash + 1)};
}

void RegisterButtonClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure) {
    WNDCLASSEXW description = {};
    description.cbSize = sizeof(description);
    if (!::GetClassInfoExW(nullptr, L"Button", &description)) {
        return;
    }
    g_systemButtonProc = description.lpfnWndProc;
    description.lpfnWndProc = procedure;
    description.hInstance = instance;
    description.lpszClassName = className;
    ::RegisterClassExW(&description);
}

LRESULT CALLBACK CommandButtonProc(HWND button, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    return HandleGuarded([&] { return ToolButtonMessage(button, message, wParam, lParam, false); });
}

LRESULT CALLBACK NavigateButtonProc(HWND button, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept {
    return HandleGuarded([&] { return ToolButtonMessage(button, message, wParam, lParam, true); });
}

LRESULT CALLBACK OptionButtonProc(HWND button, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    return HandleGuarded([&]() -> LRESULT {
        ForgetHoverWhenDestroyed(button, message);
        switch (message) {
        case WM_CREATE:
            SetHover(button, false);
            break;
        case WM_PAINT:
            PaintOptionButton(button);
            return 1;
        case WM_ENABLE:
            return 1;
        case WM_MOUSEMOVE:
            if (!IsButtonHovered(button)) {
                SetHover(button, TrackHoverAndLeave(button, 1));
            }
            break;
        case WM_MOUSELEAVE:
            SetHoverAndRepaint(button, false);
            return 1;
        case WM_MOUSEHOVER:
            ::InvalidateRect(button, nullptr, FALSE);
            return 1;
        case WM_GETDLGCODE:
            return PassOn(button, message, wParam, lParam) | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN) {
                if (HWND next = NeighbourInGrid(button, static_cast<UINT>(wParam))) {
                    ::SendMessageW(::GetParent(button), WM_NEXTDLGCTL,
                                   reinterpret_cast<WPARAM>(next), TRUE);
                }
                return 0;
            }
            break;
        default:
            break;
        }
        return PassOnAndRepaint(button, message, wParam, lParam);
    });
}

bool IsButtonHovered(HWND button) {
    return ::GetPropW(button, kHoverProperty) != nullptr;
}

namespace {

LRESULT CALLBACK CloseButtonSubclassProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR) noexcept {
    return HandleGuarded([&]() -> LRESULT {
        ForgetHoverWhenDestroyed(button, message);
        switch (message) {
        case WM_PAINT:
            PaintCloseButton(button);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_MOUSEMOVE:
            if (!IsButtonHovered(button)) {
                TrackHoverAndLeave(button, 5); // WM_MOUSEHOVER sets the state
            }
            return 0;
        case WM_MOUSEHOVER:
            SetHoverAndRepaint(button, true);
            return 0;
        case WM_MOUSELEAVE:
            SetHoverAndRepaint(button, false);
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(button, CloseButtonSubclassProc, kCloseButtonSubclass);
            break;
        default:
            break;
        }
        return ::DefSubclassProc(button, message, wParam, lParam);
    });
}

} // namespace

void SubclassCloseButton(HWND button) {
    if (button) {
        ::SetWindowSubclass(button, CloseButtonSubclassProc, kCloseButtonSubclass, 0);
    }
}

} // namespace tide
