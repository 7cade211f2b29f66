// The three pictures of a skin the editor shows and stores: the status bar
// with its buttons in chosen states, and the horizontal and the vertical
// candidate bar with the sample code and candidates. Made anew on every
// change; each is a 32-bit ARGB picture the caller owns.
#pragma once

#include <windows.h>

#include "core/skin/PreviewGeometry.h"
#include "win/ImageCodec.h"
#include "win/skin/SkinFile.h"

namespace tide {

// The sizes the bars are laid out with, measured on `dc` in `font` (the
// preview window's font: one Chinese character is the bars' unit).
BarTextSizes MeasureBarTexts(HDC dc, const LOGFONTW& font);

// Nothing without the status window image.
GdiplusImage ComposeStatus(const SkinFile& skin, const StatusStates& states);

// Nothing without the bar's background image. Texts are drawn in `font` on `dc`.
GdiplusImage ComposeBar(const SkinFile& skin, bool vertical, HDC dc, const LOGFONTW& font,
                        const BarTextSizes& sizes);

} // namespace tide
