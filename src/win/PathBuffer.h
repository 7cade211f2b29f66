// Paths throughout the program are fixed buffers of MAX_PATH UTF-16 units, as
// the shell functions that fill and join them expect.
#pragma once

#include <windows.h>

#include <cstddef>

namespace tide {

inline constexpr std::size_t kPathCapacity = MAX_PATH;
using PathBuffer = wchar_t[kPathCapacity];

} // namespace tide
