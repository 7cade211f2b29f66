#include "core/base/Utf.h"

#include "core/base/Utf16.h"

namespace tide {
namespace {

// Writes the UTF-8 bytes of `c` at `out`; returns the end of them.
char* PutUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace

std::string ToUtf8(std::u16string_view text) {
    // At most three bytes per unit (a pair's four bytes come from two units):
    // written in place, then cut to size.
    std::string out(text.size() * 3, '\0');
    char* end = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (IsPairAt(text, i)) {
            c = CombineSurrogates(text[i], text[i + 1]);
            ++i;
        } else if (IsSurrogate(c)) {
            c = 0xFFFD;
        }
        end = PutUtf8(end, c);
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    // At most one unit per byte: written in place, then cut to size.
    std::u16string out(text.size(), u'\0');
    char16_t* end = Utf8ToUtf16(text, out.data());
    out.resize(static_cast<std::size_t>(end - out.data()));
    return out;
}

char16_t* Utf8ToUtf16(std::string_view text, char16_t* target) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            *target++ = lead;
            ++i;
            continue;
        }
        // Chinese text is mostly three-byte sequences outside the surrogates.
        if ((lead >> 4) == 14 && i + 3 <= text.size()) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            const auto third = static_cast<unsigned char>(text[i + 2]);
            const char32_t c = (lead & 0x0F) << 12 | (second & 0x3F) << 6 | (third & 0x3F);
            if ((second & 0xC0) == 0x80 && (third & 0xC0) == 0x80 && c >= 0x800 &&
                !IsSurrogate(c)) {
                *target++ = static_cast<char16_t>(c);
                i += 3;
                continue;
            }
        }
        const std::size_t length = (lead >> 5) == 6    ? 2
                                   : (lead >> 4) == 14 ? 3
                                   : (lead >> 3) == 30 ? 4
                                                       : 0;
        char32_t c = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // An overlong form (a character in more bytes than it takes: C0 8A
        // for a line feed) is no character, or a control character would
        // come out of bytes that hold none.
        const char32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (!valid || c < shortest || c > 0x10FFFF || IsSurrogate(c)) {
            *target++ = u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            *target++ = HighSurrogateOf(c);
            *target++ = LowSurrogateOf(c);
        } else {
            *target++ = static_cast<char16_t>(c);
        }
        i += length;
    }
    return target;
}

} // namespace tide
