#include "core/config/InfoMessageText.h"

#include "core/base/Utf16.h"

namespace tide {

std::u16string BreakInfoMessageLines(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + 2 * (text.size() / kInfoMessageLineUnits + 1));
    unsigned lineUnits = 0;
    unsigned narrowCount = 0;
    for (char16_t unit : text) {
        out.push_back(unit);
        if (unit >= 127) {
            ++lineUnits;
        } else if (++narrowCount % 2 == 1) {
            ++lineUnits; // the first of each pair of narrow characters
        }
        const bool insidePair = IsHighSurrogate(unit);
        if (lineUnits >= kInfoMessageLineUnits && !insidePair) {
            out.append(u"\r\n");
            lineUnits = 0;
            narrowCount = 0;
        }
    }
    return out;
}

} // namespace tide
