// Whether a downloaded installer may be started: only one that came over
// https, or whose SHA-256 equals the one the update descriptor publishes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tide {

using Sha256Digest = std::array<std::uint8_t, 32>;

// A digest written as exactly 64 hexadecimal digits (either case); nothing
// for any other text.
std::optional<Sha256Digest> ParseSha256Text(std::u16string_view text);

// A published digest, when there is one, must match, whatever the transport
// (a malformed one never matches). Without one, only an installer fetched
// over https may run.
bool MayRunInstaller(bool fetchedOverHttps, std::u16string_view publishedSha256,
                     const Sha256Digest& actual);

} // namespace tide
