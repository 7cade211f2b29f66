#include "core/stats/TableReading.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "core/convert/FcitxTableFormat.h"
#include "core/convert/IbusTableFormat.h"
#include "core/convert/RimeDictFormat.h"
#include "core/convert/SqliteFile.h"
#include "core/convert/TideTableFormat.h"

namespace tide {
namespace {

std::string FileName(std::string_view name) {
    return std::string(name) + ".dict.yaml";
}

// Appends the entries of the tables `imports` names to `main`; the error
// text, or nothing. `chain` holds the tables being followed, the main one
// first; `read` those whose entries are in already.
std::string FollowImports(LoadedTable& main, const std::vector<std::string>& imports,
                          const ReadImportedTable& readImport, std::deque<std::string>& texts,
                          std::vector<std::string>& chain, std::vector<std::string>& read) {
    for (const std::string& name : imports) {
        if (std::find(chain.begin(), chain.end(), name) != chain.end()) {
            return "import_tables: " + FileName(name) + " names itself through " +
                   FileName(chain.back());
        }
        if (std::find(read.begin(), read.end(), name) != read.end()) {
            continue;
        }
        std::optional<std::string> bytes = readImport ? readImport(name) : std::nullopt;
        if (!bytes) {
            return "import_tables: cannot read " + FileName(name) + ", named by " +
                   FileName(chain.back());
        }
        texts.push_back(std::move(*bytes));
        LoadedTable imported = ReadRimeDict(texts.back());
        if (!imported.error.empty()) {
            return FileName(name) + ": " + imported.error;
        }
        read.push_back(name);
        main.entries.insert(main.entries.end(), imported.entries.begin(), imported.entries.end());
        chain.push_back(name);
        std::string error = FollowImports(main, imported.imports, readImport, texts, chain, read);
        chain.pop_back();
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

} // namespace

LoadedTable ReadTableOfFormat(TableFormat format, std::string_view input, std::string_view stem,
                              const ReadImportedTable& readImport, std::deque<std::string>& texts) {
    LoadedTable table;
    switch (format) {
    case TableFormat::Tide:
        texts.emplace_back();
        table = ReadTideTable(input, texts.back());
        break;
    case TableFormat::Rime:
        table = ReadRimeDict(input);
        break;
    case TableFormat::Fcitx:
        table = ReadFcitxTable(input);
        break;
    case TableFormat::Ibus: {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        if (SqliteFile::LooksLikeSqlite(bytes)) {
            texts.emplace_back();
            table = ReadIbusDatabase(bytes, texts.back());
        } else {
            table = ReadIbusSource(input);
        }
        break;
    }
    }
    if (table.error.empty() && !table.imports.empty()) {
        std::vector<std::string> chain{std::string(stem)};
        std::vector<std::string> read;
        table.error = FollowImports(table, table.imports, readImport, texts, chain, read);
    }
    return table;
}

} // namespace tide
