#include "ui/Controls.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "ui/Buttons.h"
#include "ui/Dialog.h"
#include "ui/DialogMemory.h"
#include "ui/ResourceIds.h"
#include "ui/UiFont.h"
#include "win/ImageCodec.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr DWORD kPageStyleVisible = WS_CHILD | WS_VISIBLE | DS_SETFONT;
constexpr DWORD kPageStyleHidden = WS_CHILD | DS_SETFONT;
constexpr int kCommandButtonHeight = 14;

} // namespace

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Text:
        return {L"Static", SS_CENTERIMAGE};
    case ControlKind::Check:
        return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::RadioFirst:
        return {L"Button", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP};
    case ControlKind::Radio:
        return {L"Button", BS_AUTORADIOBUTTON};
    case ControlKind::List:
        return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::Edit:
        return {L"Edit", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP};
    case ControlKind::NumberEdit:
        return {L"Edit", WS_BORDER | ES_NUMBER | WS_TABSTOP};
    case ControlKind::ColourSwatch:
        return {L"Static", SS_OWNERDRAW | SS_SUNKEN};
    case ControlKind::Button:
        return {L"Button", BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP};
    }
    return {L"Static", 0};
}

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

HWND CreatePageDialog(CDialog& owner, DLGPROC procedure, bool visible, int x, int y, int width,
                      int height, HWND parent) {
    return CreateChildPane(owner, visible ? kPageStyleVisible : kPageStyleHidden, x, y, width,
                           height, procedure, parent);
}

HWND CreateChildPane(CDialog& owner, DWORD style, int x, int y, int width, int height,
                     DLGPROC procedure, HWND parent) {
    // DS_CONTROL: Tab and the arrow keys move through the pane's controls as
    // through the dialog's own.
    const INT_PTR window = CreateChildDialog(owner, style | DS_CONTROL, 0, L"", x, y, width, height,
                                             procedure, parent, false);
    return window == -1 ? nullptr : reinterpret_cast<HWND>(window);
}

INT_PTR CreateChildDialog(CDialog& owner, DWORD style, DWORD extendedStyle, const wchar_t* title,
                          int x, int y, int width, int height, DLGPROC procedure, HWND parent,
                          bool modal) {
    DialogTemplateFields fields;
    fields.style = style;
    fields.extendedStyle = extendedStyle;
    fields.title = AsU16(title);
    fields.x = static_cast<std::int16_t>(x);
    fields.y = static_cast<std::int16_t>(y);
    fields.width = static_cast<std::int16_t>(width);
    fields.height = static_cast<std::int16_t>(height);
    return ShowDialogTemplate(owner.instance(), fields, parent, procedure, owner.BindingParameter(),
                              modal);
}

HWND CreateColumnButton(CDialog& owner, const wchar_t* className, int navigationWidth,
                        const wchar_t* caption, int y, HWND parent, int id, int iconId) {
    HWND button = CreateControl(owner, className, caption, WS_TABSTOP, 0, y, navigationWidth,
                                kCommandButtonHeight, parent, id);
    if (button && iconId != 0) {
        // The .ico holds a frame for each common DPI; Windows picks the one
        // of this size, or scales the nearest.
        const int size = ColumnIconSize(parent);
        owner.images().Show(button, IconHandle(static_cast<HICON>(
                                        ::LoadImageW(owner.instance(), MAKEINTRESOURCEW(iconId),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR))));
    }
    return button;
}

HWND CreateCommandButton(CDialog& owner, int navigationWidth, const wchar_t* caption, int y,
                         HWND parent, int id, int iconId) {
    return CreateColumnButton(owner, kCommandButtonClass, navigationWidth, caption, y, parent, id,
                              iconId);
}

void SelectNavigateButton(HWND parent, int firstId, int lastId, int selectedId) {
    for (int id = firstId; id <= lastId; ++id) {
        HWND button = ::GetDlgItem(parent, id);
        wchar_t className[32] = {};
        if (button && ::GetClassNameW(button, className, 32) &&
            std::wcscmp(className, kNavigateButtonClass) == 0) {
            ::SetWindowLongPtrW(button, GWLP_USERDATA, id == selectedId ? 1 : 0);
        }
    }
}

namespace {

int ScreenDpi(HWND window) {
    WindowDc dc(window);
    return dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
}

HINSTANCE InstanceOf(HWND window) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
    return instance ? instance : ::GetModuleHandleW(nullptr);
}

GdiplusImage PngResource(HWND window, int resourceId) {
    return ImageFromResource(InstanceOf(window), MAKEINTRESOURCEW(resourceId),
                             MAKEINTRESOURCEW(kPngResourceType));
}

BitmapHandle BitmapOnWhite(Gdiplus::GpImage* image) {
    HBITMAP bitmap = nullptr;
    if (!image || Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(
                      static_cast<Gdiplus::GpBitmap*>(image), &bitmap, 0xFFFFFFFF) != Gdiplus::Ok) {
        return {};
    }
    return BitmapHandle(bitmap);
}

// `image` drawn at `size` with a high-quality filter; empty on failure.
GdiplusImage Resampled(Gdiplus::GpImage* image, SIZE size) {
    using namespace Gdiplus::DllExports;
    Gdiplus::GpBitmap* created = nullptr;
    if (GdipCreateBitmapFromScan0(size.cx, size.cy, 0, PixelFormat32bppPARGB, nullptr, &created) !=
        Gdiplus::Ok) {
        return {};
    }
    GdiplusImage resampled(created);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(resampled.get(), &graphics) != Gdiplus::Ok) {
        return {};
    }
    const GdiplusGraphics owned(graphics);
    GdipSetCompositingMode(graphics, Gdiplus::CompositingModeSourceCopy);
    GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
    GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
    // A clamped edge, so the filter does not fade the border into nothing.
    Gdiplus::GpImageAttributes* createdAttributes = nullptr;
    GdipCreateImageAttributes(&createdAttributes);
    const GdiplusImageAttributes attributes(createdAttributes);
    GdipSetImageAttributesWrapMode(attributes.get(), Gdiplus::WrapModeTileFlipXY, 0, FALSE);
    const SIZE source = ImageSize(image);
    const auto status =
        GdipDrawImageRectRectI(graphics, image, 0, 0, size.cx, size.cy, 0, 0, source.cx, source.cy,
                               Gdiplus::UnitPixel, attributes.get(), nullptr, nullptr);
    return status == Gdiplus::Ok ? std::move(resampled) : GdiplusImage();
}

} // namespace

int ScreenPixels(HWND window, int pixels) {
    return ::MulDiv(pixels, ScreenDpi(window), 96);
}

int ColumnIconSize(HWND window) {
    return ScreenPixels(window, 16);
}

FontHandle CreateUiFont(HWND window, const wchar_t* face, int points) {
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(points, ScreenDpi(window), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    const wchar_t* chosen = IsFaceInstalled(face) ? face : L"宋体";
    CopyToBuffer(chosen, font.lfFaceName, LF_FACESIZE);
    return FontHandle(::CreateFontIndirectW(&font));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(std::max(::GetWindowTextLengthW(window), 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

BitmapHandle LoadPngBitmap(HWND window, int resourceId) {
    return BitmapOnWhite(PngResource(window, resourceId).get());
}

BitmapHandle LoadPngBitmapForScreen(HWND window, int resourceId) {
    GdiplusImage image = PngResource(window, resourceId);
    const SIZE natural = ImageSize(image.get());
    const SIZE shown = {ScreenPixels(window, natural.cx), ScreenPixels(window, natural.cy)};
    if (!image || (shown.cx == natural.cx && shown.cy == natural.cy)) {
        return BitmapOnWhite(image.get());
    }
    if (shown.cx > natural.cx) {
        if (GdiplusImage larger = PngResource(window, resourceId + kPngDoubleSizeOffset)) {
            image = std::move(larger);
        }
    }
    return BitmapOnWhite(Resampled(image.get(), shown).get());
}

} // namespace tide
