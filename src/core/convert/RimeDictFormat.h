// Rime's "*.dict.yaml": a YAML header up to the line "...", then one entry
// per line, its fields separated by TABs in the order `columns:` names (text,
// code, weight by default). Only the header keys a table needs are read:
// name, version, sort, columns and encoder/rules.
#pragma once

#include <string>
#include <string_view>

#include "core/convert/TableModel.h"

namespace tide {

// Entries point into `text`, which must outlive the table.
LoadedTable ReadRimeDict(std::string_view text);

// The file for `table`, named `dictName` (Rime finds a dictionary by the
// name in its header, which must match the file's name before ".dict.yaml").
// The words keep their order under `sort: original`; weights are not
// written. Entries Rime cannot hold are counted in `skipped`. Empty with
// `error` set when a rule cannot be expressed.
std::string WriteRimeDict(const LoadedTable& table, std::string_view dictName,
                          SkippedLines& skipped, std::string& error);

} // namespace tide
