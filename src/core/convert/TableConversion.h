// Converting a code table between this program's format and the formats of
// Rime, fcitx and ibus-table: read, put the words of each code in their
// candidate order, write, and account for every line left behind.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/convert/TableModel.h"

namespace tide {

// Ibus reads the source text or the *.db built from it, and writes the source.
enum class TableFormat { Tide, Rime, Fcitx, Ibus };

// "tide", "rime", "fcitx" or "ibus".
std::optional<TableFormat> TableFormatNamed(std::string_view name);

struct ConversionResult {
    std::string error;                // set when nothing was written
    std::string output;               // the target file's bytes
    std::size_t written = 0;          // entries in the output
    std::vector<std::string> summary; // what was decided and left out, one line each
};

struct ConversionOptions {
    // Phrase rules the target cannot express are left out (the target gets
    // none) instead of refusing the table.
    bool withoutRules = false;
    // The bytes of the Rime dictionary NAME.dict.yaml that an import_tables
    // list names, from the folder of the file that names it; nothing when it
    // cannot be read. Without it a table that imports others is refused.
    std::function<std::optional<std::string>(std::string_view name)> readImport;
};

// Reads `input` in `format` (`stem`: its file name without folder and
// suffix). A Rime dictionary's import_tables add their entries after its
// own, in the order listed, depth first, each table once, and `perFile` gets
// a line per file with its count. The entries point into `input` and into
// `texts`, which must outlive the table; an error in any file sets the
// table's error.
LoadedTable ReadTable(TableFormat format, std::string_view input, std::string_view stem,
                      const ConversionOptions& options, std::deque<std::string>& texts,
                      std::vector<std::string>& perFile);

// `inputStem` and `outputStem` are the file names without folder and format
// suffix (".txt", ".dict.yaml"): the name of a table whose source has none,
// and the name a Rime dictionary must carry.
ConversionResult ConvertTable(TableFormat from, TableFormat to, std::string_view input,
                              std::string_view inputStem, std::string_view outputStem,
                              const ConversionOptions& options = {});

} // namespace tide
