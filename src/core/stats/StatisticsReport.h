// A table's figures as one HTML page a maker opens in a browser: the numbers
// at a glance, then pictures of them drawn as inline SVG (code lengths,
// candidates per code, 空码 per length, and the keyboard coloured by how many
// codes each key starts). The page is whole in itself: no script, no style
// sheet or font fetched from anywhere.
#pragma once

#include <string>
#include <string_view>

#include "core/stats/TableStatistics.h"

namespace tide {

// The page for `stats` of the table named `source` (UTF-8, shown as given).
std::string StatisticsReportHtml(const TableStatistics& stats, std::string_view source);

} // namespace tide
