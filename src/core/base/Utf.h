// UTF-8 <-> UTF-16 for the command-line tools and logs. Unpaired surrogates
// and malformed bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace tide {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// FromUtf8 written to `out`, which has room for text.size() units (never
// more are written); returns the end of what was written.
char16_t* Utf8ToUtf16(std::string_view text, char16_t* out);

} // namespace tide
