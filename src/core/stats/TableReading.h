// A code table of any format convert reads, read whole to be measured: the
// same readers, and Rime's import_tables followed as convert follows them.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/convert/TableConversion.h"
#include "core/convert/TableModel.h"

namespace tide {

// The bytes of the Rime dictionary NAME.dict.yaml beside the one that names
// it; nothing when it cannot be read.
using ReadImportedTable = std::function<std::optional<std::string>(std::string_view name)>;

// Reads `input` in `format`; `stem` is the file's name without folder and
// suffix. A Rime table's import_tables add their entries after its own, in
// the order listed, depth first, each table once. The entries point into
// `input` and into `texts`, which must outlive the table. A table that
// cannot be read, or one it imports, sets the table's error.
LoadedTable ReadTableOfFormat(TableFormat format, std::string_view input, std::string_view stem,
                              const ReadImportedTable& readImport, std::deque<std::string>& texts);

} // namespace tide
