#include "ui/Controls.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/ResourceIds.h"
#include "app/WideText.h"
#include "ui/Dialog.h"
#include "ui/DialogMemory.h"
#include "ui/ImageCodec.h"
#include "ui/UiFont.h"

namespace tide {
namespace {

constexpr DWORD kPageStyleVisible = 0x50000040; // WS_CHILD | WS_VISIBLE | DS_SETFONT
constexpr DWORD kPageStyleHidden = 0x40000040;  // WS_CHILD | DS_SETFONT
constexpr int kCommandButtonHeight = 14;

} // namespace

HWND CreateControl(const CDialog& owner, const wchar_t* className, const wchar_t* caption,
                   DWORD style, int x, int y, int width, int height, HWND parent, int id) {
    DialogRect place{x, y, width, height};
    if (UsingFallbackFace()) {
        place = ScaleControlForFallbackFace(place);
    }
    RECT pixels = {place.x, place.y, place.width, place.height};
    ::MapDialogRect(parent, &pixels);
    HWND control = ::CreateWindowExW(0, className, caption, style | WS_CHILD | WS_VISIBLE,
                                     pixels.left, pixels.top, pixels.right, pixels.bottom, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     owner.instance(), nullptr);
    ::SendMessageW(control, WM_SETFONT, ::SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    return control;
}

HWND CreatePageDialog(const CDialog& owner, DLGPROC procedure, bool visible, int x, int y,
                      int width, int height, HWND parent) {
    const INT_PTR window = CreateChildDialog(owner, visible ? kPageStyleVisible : kPageStyleHidden,
                                             0, L"", x, y, width, height, procedure, parent, false);
    return window == -1 ? nullptr : reinterpret_cast<HWND>(window);
}

INT_PTR CreateChildDialog(const CDialog& owner, DWORD style, DWORD extendedStyle,
                          const wchar_t* title, int x, int y, int width, int height,
                          DLGPROC procedure, HWND parent, bool modal, LPARAM parameter) {
    DialogTemplateFields fields;
    fields.style = style;
    fields.extendedStyle = extendedStyle;
    fields.title = AsU16(title);
    fields.x = static_cast<std::int16_t>(x);
    fields.y = static_cast<std::int16_t>(y);
    fields.width = static_cast<std::int16_t>(width);
    fields.height = static_cast<std::int16_t>(height);
    return ShowDialogTemplate(owner.instance(), fields, parent, procedure, parameter, modal);
}

HWND CreateColumnButton(const CDialog& owner, const wchar_t* className, int navigationWidth,
                        const wchar_t* caption, int y, HWND parent, int id, int iconId) {
    HWND button = CreateControl(owner, className, caption, 0, 0, y, navigationWidth,
                                kCommandButtonHeight, parent, id);
    if (button && iconId != 0) {
        auto icon = static_cast<HICON>(::LoadImageW(owner.instance(), MAKEINTRESOURCEW(iconId),
                                                    IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        ::SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
    return button;
}

HWND CreateCommandButton(const CDialog& owner, int navigationWidth, const wchar_t* caption, int y,
                         HWND parent, int id, int iconId) {
    return CreateColumnButton(owner, L"Tide_CommandButton", navigationWidth, caption, y, parent, id,
                              iconId);
}

void SelectNavigateButton(HWND parent, int firstId, int lastId, int selectedId) {
    for (int id = firstId; id <= lastId; ++id) {
        HWND button = ::GetDlgItem(parent, id);
        wchar_t className[32] = {};
        if (button && ::GetClassNameW(button, className, 32) &&
            std::wcscmp(className, L"Tide_NavigateButton") == 0) {
            ::SetWindowLongPtrW(button, GWLP_USERDATA, id == selectedId ? 1 : 0);
        }
    }
}

FontHandle CreateUiFont(HWND window, const wchar_t* face, int points) {
    WindowDc dc(window);
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(points, dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    const wchar_t* chosen = IsFaceInstalled(face) ? face : L"宋体";
    CopyToBuffer(chosen, font.lfFaceName, LF_FACESIZE);
    return FontHandle(::CreateFontIndirectW(&font));
}

SIZE MeasureHalfCharWidth(HWND window) {
    WindowDc dc(window);
    SIZE size = {};
    if (dc) {
        ::GetTextExtentPoint32W(dc.get(), L"潮汐输入法", 5, &size);
    }
    size.cx /= 10;
    return size;
}

HBITMAP LoadPngBitmap(HWND window, int resourceId) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    GdiplusImage image =
        ImageFromResource(instance ? instance : ::GetModuleHandleW(nullptr),
                          MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kPngResourceType));
    HBITMAP bitmap = nullptr;
    if (!image ||
        Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(
            static_cast<Gdiplus::GpBitmap*>(image.get()), &bitmap, 0xFFFFFFFF) != Gdiplus::Ok) {
        return nullptr;
    }
    return bitmap;
}

} // namespace tide
