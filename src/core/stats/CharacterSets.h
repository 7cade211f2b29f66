// The character sets a table's coverage is counted against: GB 2312 (read
// from the GB18030 decoder, not kept as a list of its own) and the CJK blocks
// a library has code slots for.
#pragma once

#include <cstddef>
#include <optional>

#include "core/stats/TableStatistics.h"

namespace tide {

// Whether the character is one of GB 2312's 6,763.
bool InGb2312(char32_t codePoint);

// The CJK block of the character among the coverage sets, if any.
std::optional<CoverageSet> CjkBlockOf(char32_t codePoint);

// How many characters the set has.
std::size_t CoverageSetSize(CoverageSet set);

} // namespace tide
