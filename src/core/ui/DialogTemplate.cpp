#include "core/ui/DialogTemplate.h"

#include "core/base/ByteIo.h"

namespace tide {

bool FillDialogTemplate(const DialogTemplateFields& fields, std::u16string_view faceName,
                        std::span<std::uint8_t> buffer) {
    constexpr std::size_t kTitleOffset = 22;
    const std::size_t faceOffset = kTitleOffset + 2 * (fields.title.size() + 1) + 2;
    const std::size_t end = faceOffset + 2 * (faceName.size() + 1);
    if (buffer.size() < end || buffer.size() < DialogTemplateSize(fields.title)) {
        return false;
    }
    DialogRect place{fields.x, fields.y, fields.width, fields.height};
    if (faceName == kFallbackUiFace) {
        place = ScaleTemplateForFallbackFace(place);
    }
    ByteWriter out(buffer);
    out.PutU32(0, fields.style | kDsSetFont);
    out.PutU32(4, fields.extendedStyle);
    out.PutU16(8, 0); // no items
    out.PutU16(10, static_cast<std::uint16_t>(place.x));
    out.PutU16(12, static_cast<std::uint16_t>(place.y));
    out.PutU16(14, static_cast<std::uint16_t>(place.width));
    out.PutU16(16, static_cast<std::uint16_t>(place.height));
    out.PutU16(18, 0); // no menu
    out.PutU16(20, 0); // the system dialog class
    const std::size_t pointsOffset = out.PutText(kTitleOffset, fields.title);
    out.PutU16(pointsOffset, kDialogFontPoints);
    out.PutText(pointsOffset + 2, faceName);
    return true;
}

} // namespace tide
