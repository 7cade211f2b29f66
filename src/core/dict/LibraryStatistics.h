// The nine statistics lines the system dictionary tool shows for a library.
#pragma once

#include <array>
#include <string>

#include "core/dict/CodeTableHeader.h"

namespace tide {

inline constexpr std::size_t kStatisticsLineCount = 9;

// The lines for `header`; with no header (the library cannot be opened) the
// same lines with empty texts and zeros.
std::array<std::u16string, kStatisticsLineCount>
LibraryStatisticsLines(const CodeTableHeader* header);

} // namespace tide
