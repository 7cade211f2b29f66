// The in-memory dialog template every window of the program is built from: the
// classic DLGTEMPLATE form with no items (controls are created afterwards),
// the title, and a 9-point dialog font.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tide {

inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint16_t kDialogFontPoints = 9;

// The preferred dialog face and the one used when it is not installed.
inline constexpr std::u16string_view kPreferredUiFace = u"微软雅黑";
inline constexpr std::u16string_view kFallbackUiFace = u"宋体";

struct DialogTemplateFields {
    std::uint32_t extendedStyle = 0;
    std::uint32_t style = 0;
    std::u16string_view title;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// Dialogs are laid out for the preferred face; with the fallback face every
// coordinate is scaled (integer arithmetic, truncating). A template scales
// x and width by 7/6 and y and height by 213/150; a control's y is placed one
// unit lower than the plain ratio: (y * 213 + 150) / 150.
struct DialogRect {
    int x, y, width, height;
    friend constexpr bool operator==(const DialogRect&, const DialogRect&) = default;
};
constexpr DialogRect ScaleTemplateForFallbackFace(DialogRect r) {
    return {r.x * 7 / 6, r.y * 213 / 150, r.width * 7 / 6, r.height * 213 / 150};
}
constexpr DialogRect ScaleControlForFallbackFace(DialogRect r) {
    return {r.x * 7 / 6, (r.y * 213 + 150) / 150, r.width * 7 / 6, r.height * 213 / 150};
}
static_assert(ScaleControlForFallbackFace({0, 10, 0, 0}).y == 15);
static_assert(ScaleTemplateForFallbackFace({0, 0, 0, 177}).height == 251);

// Bytes a template with this title takes: 2 * (title length) + 38, which
// holds either face name.
constexpr std::size_t DialogTemplateSize(std::u16string_view title) {
    return 2 * title.size() + 38;
}

// Writes the template into `buffer`, which must be zeroed and at least
// DialogTemplateSize(title) bytes; DS_SETFONT is always added to the style,
// and with the fallback face the position and size are scaled.
// Returns false (writing nothing) when the buffer or the face does not fit.
bool FillDialogTemplate(const DialogTemplateFields& fields, std::u16string_view faceName,
                        std::span<std::uint8_t> buffer);

} // namespace tide
