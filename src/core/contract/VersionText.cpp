#include "core/contract/VersionText.h"

#include <algorithm>

namespace tide {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The leading decimal number of `part`; nothing when it has none or it does
// not fit in 32 bits.
std::optional<std::uint32_t> LeadingNumber(std::u16string_view part) {
    if (part.empty() || !IsDigit(part.front())) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char16_t c : part) {
        if (!IsDigit(c)) {
            break;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<VersionNumber> ParseVersion(std::u16string_view text) {
    VersionNumber version;
    for (std::size_t i = 0; i < version.parts.size(); ++i) {
        const bool last = i + 1 == version.parts.size();
        const std::size_t dot = last ? text.size() : text.find(u'.');
        if (dot == std::u16string_view::npos) {
            return std::nullopt;
        }
        const std::optional<std::uint32_t> part = LeadingNumber(text.substr(0, dot));
        if (!part) {
            return std::nullopt;
        }
        version.parts[i] = *part;
        text.remove_prefix(last ? text.size() : dot + 1);
    }
    return version;
}

bool IsUpdateAvailable(std::u16string_view installed, std::u16string_view published) {
    const std::optional<VersionNumber> latest = ParseVersion(published);
    if (!latest) {
        return false;
    }
    return ParseVersion(installed).value_or(VersionNumber{}) < *latest;
}

std::u16string FormatReleaseDate(std::u16string_view version) {
    if (version.size() < 6) {
        return {};
    }
    const std::u16string_view date = version.substr(version.size() - 6);
    if (!std::all_of(date.begin(), date.end(), IsDigit)) {
        return {};
    }
    std::u16string text = u"20";
    text.append(date.substr(0, 2))
        .append(u".")
        .append(date.substr(2, 2))
        .append(u".")
        .append(date.substr(4, 2));
    return text;
}

} // namespace tide
