// Reads what a window shows on the screen: pixels for probes, PNG files for
// people to look at.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tide::test {

// 0x00RRGGBB pixels of a window's rectangle as the screen shows it, row by row.
struct WindowPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The smallest rectangle holding every pixel for which `accept(0x00RRGGBB)`
// is true; nothing when no pixel is.
template <typename Accept>
std::optional<RECT> BoundsOfPixels(const WindowPixels& shot, Accept&& accept) {
    RECT bounds = {shot.width, shot.height, -1, -1};
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (accept(shot.At(x, y))) {
                bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                          std::max<LONG>(bounds.right, x + 1),
                          std::max<LONG>(bounds.bottom, y + 1)};
            }
        }
    }
    if (bounds.right < 0) {
        return std::nullopt;
    }
    return bounds;
}

// Nothing when the window has no area or cannot be read. `client` chooses
// the client area instead of the whole window.
std::optional<WindowPixels> CaptureWindow(HWND window, bool client = false);

// Writes the window as a PNG file, creating the folder; false on failure.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

// The folder where the test run leaves its screenshots (in the build tree).
std::wstring ScreenshotFolder();

} // namespace tide::test
