#include "core/update/InstallerCheck.h"

namespace tide {
namespace {

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<Sha256Digest> ParseSha256Text(std::u16string_view text) {
    Sha256Digest digest{};
    if (text.size() != digest.size() * 2) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        digest[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return digest;
}

bool MayRunInstaller(bool fetchedOverHttps, std::u16string_view publishedSha256,
                     const Sha256Digest& actual) {
    if (publishedSha256.empty()) {
        return fetchedOverHttps;
    }
    const std::optional<Sha256Digest> expected = ParseSha256Text(publishedSha256);
    return expected && *expected == actual;
}

} // namespace tide
