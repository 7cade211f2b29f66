// Other input methods' word lists: words FILE.
#include <cstdio>
#include <string>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "core/base/Utf.h"
#include "core/dict/ForeignWordList.h"

namespace tide::tool {

int Words(Arguments arguments) {
    const auto bytes = ReadInput(arguments[0]);
    if (!bytes) {
        return 1;
    }
    const ForeignWordList list = ReadForeignWordList(*bytes);
    if (!list.error.empty()) {
        return Fail(list.error + ": " + PathText(arguments[0]));
    }
    std::string out;
    for (const std::u16string_view word : list.words) {
        out += ToUtf8(word);
        out += '\n';
    }
    Print(stdout, out);
    // What it is goes beside the words, so they can be piped on as they are.
    std::string about = "format: " + std::string(WordListFormatKey(list.format)) + " (" +
                        ToUtf8(WordListFormatName(list.format)) + "), " +
                        std::to_string(list.words.size()) + " words";
    if (!list.scelName.empty()) {
        about += ", named " + CleanUtf8(list.scelName);
    }
    if (list.linesWithoutWord != 0) {
        about += ", " + std::to_string(list.linesWithoutWord) + " lines without a word";
    }
    PrintLine(stderr, about);
    return 0;
}

} // namespace tide::tool
