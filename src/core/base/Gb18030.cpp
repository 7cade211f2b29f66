#include "core/base/Gb18030.h"

#include <algorithm>
#include <iterator>

#include "core/base/Utf16.h"

namespace tide {
namespace {

struct Gb18030Range {
    std::uint16_t index;     // the run's first linear index from 0x81308130
    std::uint16_t codePoint; // the code point of that index
};

#include "core/base/Gb18030Table.inc"

static_assert(std::size(kGb18030Pairs) == 126 * 190);

// Linear indexes of four-byte sequences: 10 × 126 × 10 per first byte.
constexpr std::uint32_t kQuadsPerLead = 10 * 126 * 10;
// 0x8431A439, the last four-byte sequence of the BMP, is index 39419.
constexpr std::uint32_t kBmpQuads = 39420;
// 0x90308130 is U+10000; U+10FFFF is 0xE3329A35.
constexpr std::uint8_t kSupplementaryLead = 0x90;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool InRange(std::uint8_t byte, std::uint8_t low, std::uint8_t high) {
    return byte >= low && byte <= high;
}

void Append(std::u16string& text, char32_t c) {
    if (c > 0xFFFF) {
        text.push_back(HighSurrogateOf(c));
        text.push_back(LowSurrogateOf(c));
    } else {
        text.push_back(static_cast<char16_t>(c));
    }
}

} // namespace

std::optional<char32_t> DecodeGb18030Pair(std::uint8_t lead, std::uint8_t trail) {
    if (!InRange(lead, 0x81, 0xFE) || !InRange(trail, 0x40, 0xFE) || trail == 0x7F) {
        return std::nullopt;
    }
    const std::size_t column = trail < 0x7F ? trail - 0x40 : trail - 0x41;
    return kGb18030Pairs[(lead - 0x81) * 190 + column];
}

std::optional<char32_t> DecodeGb18030Quad(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3,
                                          std::uint8_t b4) {
    if (!InRange(b1, 0x81, 0xFE) || !InRange(b2, 0x30, 0x39) || !InRange(b3, 0x81, 0xFE) ||
        !InRange(b4, 0x30, 0x39)) {
        return std::nullopt;
    }
    const std::uint32_t within = (std::uint32_t{b2} - 0x30) * 1260 +
                                 (std::uint32_t{b3} - 0x81) * 10 + (std::uint32_t{b4} - 0x30);
    if (b1 >= kSupplementaryLead) {
        const char32_t c = 0x10000 + (b1 - kSupplementaryLead) * kQuadsPerLead + within;
        return c <= kLastCodePoint ? std::optional<char32_t>(c) : std::nullopt;
    }
    const std::uint32_t index = (b1 - 0x81u) * kQuadsPerLead + within;
    if (index >= kBmpQuads) {
        return std::nullopt;
    }
    // The last run that starts at or before the index holds it.
    const auto after = std::upper_bound(
        std::begin(kGb18030Ranges), std::end(kGb18030Ranges), index,
        [](std::uint32_t value, const Gb18030Range& range) { return value < range.index; });
    const Gb18030Range& run = *std::prev(after);
    return static_cast<char32_t>(run.codePoint + (index - run.index));
}

bool DecodeGb18030(std::string_view bytes, std::u16string& text) {
    text.clear();
    text.reserve(bytes.size());
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    for (std::size_t at = 0; at < bytes.size();) {
        const std::uint8_t lead = byte(at);
        if (lead < 0x80) {
            text.push_back(lead);
            ++at;
            continue;
        }
        if (at + 1 >= bytes.size()) {
            return false;
        }
        // A second byte of 0x30–0x39 makes a four-byte sequence.
        std::optional<char32_t> c;
        if (InRange(byte(at + 1), 0x30, 0x39)) {
            if (at + 3 >= bytes.size()) {
                return false;
            }
            c = DecodeGb18030Quad(lead, byte(at + 1), byte(at + 2), byte(at + 3));
            at += 4;
        } else {
            c = DecodeGb18030Pair(lead, byte(at + 1));
            at += 2;
        }
        if (!c) {
            return false;
        }
        Append(text, *c);
    }
    return true;
}

} // namespace tide
