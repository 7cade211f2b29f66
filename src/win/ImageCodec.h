// Images in and out of GDI+: PNG (or any format GDI+ decodes) from bytes,
// files and resources, and PNG bytes from an image.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "win/GdiplusObjects.h"

namespace tide {

// Nothing for no bytes. The bytes are copied into a stream that the image
// keeps (GDI+ decodes lazily).
GdiplusImage ImageFromBytes(std::span<const std::uint8_t> bytes);
// A resource's bytes (PNG resources are of type 256 here).
GdiplusImage ImageFromResource(HMODULE module, const wchar_t* name, const wchar_t* type);

// The image as PNG file bytes; nothing when the encoder fails.
std::optional<std::vector<std::uint8_t>> EncodePng(Gdiplus::GpImage* image);

// Pixel size of an image (0, 0 for none).
SIZE ImageSize(Gdiplus::GpImage* image);

} // namespace tide
