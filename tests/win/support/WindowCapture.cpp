#include "support/WindowCapture.h"

#include <shlobj.h>

#include "support/WinTestSupport.h"
#include "win/Handles.h"
#include "win/ImageCodec.h"

namespace tide::test {

std::optional<WindowPixels> CaptureWindow(HWND window, bool client) {
    RECT area = {};
    if (client) {
        ::GetClientRect(window, &area);
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    } else {
        ::GetWindowRect(window, &area);
    }
    WindowPixels result;
    result.width = area.right - area.left;
    result.height = area.bottom - area.top;
    if (result.width <= 0 || result.height <= 0) {
        return std::nullopt;
    }
    ::UpdateWindow(window);
    // The screen, not the window's own DC: owner-drawn children paint only
    // there, and what the screen shows is what a user sees.
    WindowDc screenDc(nullptr);
    HDC screen = screenDc.get();
    MemoryDc memory(::CreateCompatibleDC(screen));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = result.width;
    info.bmiHeader.biHeight = -result.height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen || !memory || !bitmap || !bits) {
        return std::nullopt;
    }
    {
        SelectGuard select(memory.get(), bitmap.get());
        if (!::BitBlt(memory.get(), 0, 0, result.width, result.height, screen, area.left, area.top,
                      SRCCOPY)) {
            return std::nullopt;
        }
    }
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    result.pixels.assign(first, first + static_cast<std::size_t>(result.width) * result.height);
    for (std::uint32_t& pixel : result.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return result;
}

bool SaveWindowScreenshot(HWND window, const std::wstring& path) {
    std::optional<WindowPixels> shot = CaptureWindow(window);
    if (!shot) {
        return false;
    }
    Gdiplus::GpBitmap* raw = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(
            shot->width, shot->height, shot->width * 4, PixelFormat32bppRGB,
            reinterpret_cast<BYTE*>(shot->pixels.data()), &raw) != Gdiplus::Ok) {
        return false;
    }
    GdiplusImage image(raw);
    std::optional<std::vector<std::uint8_t>> png = EncodePng(image.get());
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return png && WriteFileBytes(path, std::string(png->begin(), png->end()));
}

std::wstring ScreenshotFolder() {
    std::wstring bin = BinDirectory();
    return bin.substr(0, bin.find_last_of(L'\\')) + L"\\screenshots";
}

} // namespace tide::test
