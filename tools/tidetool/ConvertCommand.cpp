// The conversion of code tables between this program's format and other
// input methods': convert --from F --to F [--without-rules] IN OUT.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "FileIo.h"
#include "core/convert/TableConversion.h"

namespace tide::tool {

namespace {

using std::filesystem::path;

// The file name without its folder and its format's suffix.
std::string TableStem(const path& file) {
    std::string name = PathText(file.filename());
    for (const std::string_view suffix : {".dict.yaml", ".txt", ".yaml"}) {
        if (name.size() > suffix.size() && name.ends_with(suffix)) {
            name.resize(name.size() - suffix.size());
            break;
        }
    }
    return name;
}

// The Rime dictionary NAME.dict.yaml beside `table`, for its import_tables;
// nothing (with the reason printed) when it cannot be read or is `output`.
std::optional<std::string> ReadImportedTable(const path& table, const path& output,
                                             std::string_view name) {
    const path file =
        table.parent_path() / path(std::u8string(name.begin(), name.end()) + u8".dict.yaml");
    if (!Distinct(file, output)) {
        return std::nullopt;
    }
    ReadError error{};
    const auto bytes = ReadWholeFile(file, &error);
    if (!bytes) {
        ReadFailure(error, file);
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

} // namespace

int Convert(Arguments arguments) {
    if (PathText(arguments[0]) != "--from" || PathText(arguments[2]) != "--to") {
        return kUsageError;
    }
    ConversionOptions options;
    if (arguments.size() == 7) {
        if (PathText(arguments[4]) != "--without-rules") {
            return kUsageError;
        }
        options.withoutRules = true;
    }
    const auto from = TableFormatNamed(PathText(arguments[1]));
    const auto to = TableFormatNamed(PathText(arguments[3]));
    if (!from || !to) {
        return Fail("formats are tide, rime, fcitx and ibus");
    }
    const path& input = arguments[arguments.size() - 2];
    const path& output = arguments[arguments.size() - 1];
    const auto source = OpenTextInputFor(input, output);
    if (!source) {
        return 1;
    }
    options.readImport = [&](std::string_view name) {
        return ReadImportedTable(input, output, name);
    };
    const ConversionResult result =
        ConvertTable(*from, *to, source->Bytes(), TableStem(input), TableStem(output), options);
    if (!result.error.empty()) {
        return Fail(CleanUtf8(result.error) + ": " + PathText(input));
    }
    if (!ReplaceFileWith(output, result.output)) {
        return Fail("cannot write " + PathText(output));
    }
    for (const std::string& line : result.summary) {
        PrintLine(stdout, line);
    }
    return 0;
}

} // namespace tide::tool
