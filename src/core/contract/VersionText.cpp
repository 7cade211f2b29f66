#include "core/contract/VersionText.h"

namespace tide {

std::u16string ReleaseDateFromVersion(std::u16string_view version) {
    if (version.size() < 6) {
        return {};
    }
    const std::u16string_view date = version.substr(version.size() - 6);
    std::u16string text = u"20";
    text.append(date.substr(0, 2))
        .append(u".")
        .append(date.substr(2, 2))
        .append(u".")
        .append(date.substr(4, 2));
    return text;
}

} // namespace tide
