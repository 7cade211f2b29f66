// The portable core speaks char16_t; Win32 speaks wchar_t. On Windows both are
// UTF-16 code units of the same size, so text crosses without conversion.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tide {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

inline const wchar_t* AsWide(const char16_t* text) noexcept {
    return reinterpret_cast<const wchar_t*>(text);
}
inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(AsWide(text.data()), text.size());
}
inline std::u16string_view AsU16(std::wstring_view text) noexcept {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// Copies text into a fixed buffer of `capacity` units, always terminated.
// Returns false (and leaves an empty string) when it does not fit.
inline bool CopyToBuffer(std::wstring_view text, wchar_t* buffer, std::size_t capacity) noexcept {
    if (capacity == 0) {
        return false;
    }
    if (text.size() >= capacity) {
        buffer[0] = L'\0';
        return false;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = L'\0';
    return true;
}

} // namespace tide
