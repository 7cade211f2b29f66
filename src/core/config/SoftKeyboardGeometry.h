// Where the character keys' caps stand on the soft-keyboard picture (PNG 267).
// The settings page labels and hit-tests these squares; the picture is drawn
// to match them (res/scripts/draw-ui-images.sh).
#pragma once

#include <array>
#include <optional>

namespace tide {

inline constexpr int kKeyboardPictureWidth = 476;
inline constexpr int kKeyboardPictureHeight = 158;
inline constexpr int kKeyCapSize = 29;
inline constexpr int kKeyRowPitch = 31;

// A character key: the character it types without Shift on a US layout, its
// row and its offset from the row's start, in pixels.
struct KeyCap {
    char16_t key;
    int row;
    int columnOffset;
};

// Every key with a cap, row by row. Space has none.
// clang-format off
inline constexpr std::array<KeyCap, 47> kKeyCaps = {{
    {u'`', 0, 0},    {u'1', 0, 31},   {u'2', 0, 62},   {u'3', 0, 93},   {u'4', 0, 124},
    {u'5', 0, 155},  {u'6', 0, 186},  {u'7', 0, 217},  {u'8', 0, 248},  {u'9', 0, 279},
    {u'0', 0, 310},  {u'-', 0, 341},  {u'=', 0, 372},
    {u'q', 1, 70},   {u'w', 1, 101},  {u'e', 1, 132},  {u'r', 1, 163},  {u't', 1, 194},
    {u'y', 1, 225},  {u'u', 1, 256},  {u'i', 1, 287},  {u'o', 1, 318},  {u'p', 1, 349},
    {u'[', 1, 380},  {u']', 1, 411},  {u'\\', 1, 442},
    {u'a', 2, 62},   {u's', 2, 93},   {u'd', 2, 124},  {u'f', 2, 155},  {u'g', 2, 186},
    {u'h', 2, 217},  {u'j', 2, 248},  {u'k', 2, 279},  {u'l', 2, 310},  {u';', 2, 341},
    {u'\'', 2, 372},
    {u'z', 3, 83},   {u'x', 3, 114},  {u'c', 3, 145},  {u'v', 3, 176},  {u'b', 3, 207},
    {u'n', 3, 238},  {u'm', 3, 269},  {u',', 3, 300},  {u'.', 3, 331},  {u'/', 3, 362},
}};
// clang-format on

// Pixel rectangle, right and bottom exclusive.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The cap square of `cap` with the picture's top-left corner at the origin.
PixelRect KeyCapSquare(const KeyCap& cap, int originX, int originY);

// The key whose cap, shrunk by one pixel on every side, holds the point.
std::optional<KeyCap> HitTestKeyCap(int x, int y, int originX, int originY);

// Where a key's labels go inside its cap: the plain character in the lower
// left quarter, the shifted one in the upper right.
PixelRect PlainLabelArea(const PixelRect& cap);
PixelRect ShiftedLabelArea(const PixelRect& cap);

} // namespace tide
