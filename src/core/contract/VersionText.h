// Reading the product's version texts ("3.1.4.261208": four numbers, the
// fourth carrying the build date yymmdd) and comparing an installed version
// with a published one.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tide {

// a.b.c.d, compared part by part in that order.
struct VersionNumber {
    std::array<std::uint32_t, 4> parts{};

    friend auto operator<=>(const VersionNumber&, const VersionNumber&) = default;
};

// The four parts of a version text: the text up to the first ".", up to the
// second, up to the third, and the rest; each read as a decimal number up to
// its first non-digit ("210315 beta" reads 210315). Nothing when the text does
// not hold four parts, a part does not start with a digit, or a part does not
// fit in 32 bits.
std::optional<VersionNumber> ParseVersion(std::u16string_view text);

// Whether `published` names a newer version than `installed`. A published
// text that does not parse is never newer; an installed text that does not
// parse (no module, no version information) counts as 0.0.0.0, so any
// published version is offered.
bool IsUpdateAvailable(std::u16string_view installed, std::u16string_view published);

// "2021.03.15" from a version text ending in 210315; empty when the text does
// not end in six digits (a short text, a fourth part such as "1").
std::u16string FormatReleaseDate(std::u16string_view version);

} // namespace tide
