// Reads what a window shows on the screen: pixels for probes, PNG files for
// people to look at.
#pragma once

#include <windows.h>

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

// Nothing when the window has no area or cannot be read. `client` chooses
// the client area instead of the whole window.
std::optional<WindowPixels> CaptureWindow(HWND window, bool client = false);

// Writes the window as a PNG file, creating the folder; false on failure.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

// The folder where the test run leaves its screenshots (in the build tree).
std::wstring ScreenshotFolder();

} // namespace tide::test
