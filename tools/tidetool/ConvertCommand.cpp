// The conversion of code tables between this program's format and other
// input methods': convert --from F --to F IN OUT.
#include <cstdio>
#include <filesystem>
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

} // namespace

int Convert(Arguments arguments) {
    if (PathText(arguments[0]) != "--from" || PathText(arguments[2]) != "--to") {
        return kUsageError;
    }
    const auto from = TableFormatNamed(PathText(arguments[1]));
    const auto to = TableFormatNamed(PathText(arguments[3]));
    if (!from || !to) {
        return Fail("formats are tide, rime and fcitx");
    }
    const path& input = arguments[4];
    const path& output = arguments[5];
    const auto source = OpenTextInputFor(input, output);
    if (!source) {
        return 1;
    }
    const ConversionResult result =
        ConvertTable(*from, *to, source->Bytes(), TableStem(input), TableStem(output));
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
