// This program's own code table (UTF-16 LE with a byte-order mark, the nine
// header lines, the phrase rules, then "code TAB word [TAB weight]" lines) as
// one end of a conversion.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/convert/TableModel.h"

namespace tide {

// Reads the table's bytes. The entries are turned into UTF-8 in `storage`,
// which they point into and which must outlive the table. A code that
// carries a second code ("abcd/xy") keeps its main code.
LoadedTable ReadTideTable(std::string_view bytes, std::string& storage);

// The file's bytes. Header fields the source lacks: Name from `fallbackName`,
// Version "1.0", CodeScheme the name, CodeLength the longest code or rule
// (at most 12); the choices go to `notes`. Entries whose code is not a–z or whose word
// a line cannot hold are counted in `skipped`; empty with `error` set when
// the rules cannot be expressed.
std::string WriteTideTable(const LoadedTable& table, std::string_view fallbackName,
                           SkippedLines& skipped, std::vector<std::string>& notes,
                           std::string& error);

} // namespace tide
