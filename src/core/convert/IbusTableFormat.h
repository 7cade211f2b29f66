// ibus-table's tables: the source text ibus-table-createdb builds from
// (definition lines "KEY = VALUE" between BEGIN_DEFINITION and
// END_DEFINITION, then "code TAB phrase TAB freq" between BEGIN_TABLE and
// END_TABLE; GOUCI and PINYIN sections), and the SQLite database it builds
// (*.db: the key/value table `ime` and `phrases(tabkeys, phrase, freq, …)`).
// The words of one code are shown by falling freq; user_freq is the user's
// and is not read.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/convert/TableModel.h"

namespace tide {

// Entries point into `text`, which must outlive the table.
LoadedTable ReadIbusSource(std::string_view text);

// Entries point into `storage`, which the reader fills and which must
// outlive the table.
LoadedTable ReadIbusDatabase(std::span<const std::uint8_t> bytes, std::string& storage);

// The source text for `table`, its NAME the ASCII letters and digits of
// `name` (ibus-table takes no other): VALID_INPUT_CHARS the keys its codes
// use, MAX_KEY_LENGTH the longest code, its rules, and freqs that fall
// through the file so each code keeps its candidate order. Entries the
// format cannot hold are counted in `skipped`; empty with `error` set when a
// rule cannot be expressed.
std::string WriteIbusSource(const LoadedTable& table, std::string_view name, SkippedLines& skipped,
                            std::vector<std::string>& notes, std::string& error);

} // namespace tide
