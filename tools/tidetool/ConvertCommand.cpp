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

using std::filesystem::path;

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
