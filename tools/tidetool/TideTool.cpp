// tidetool: the dictionary work of the settings manager on the command line,
// for dictionary makers and scripts. Its commands are the rows of kCommands
// below; `tidetool` with no arguments lists them.
//
// Text on the console is UTF-8; files are in the program's own formats.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Commands.h"
#include "Console.h"

namespace tide::tool {
namespace {

using std::filesystem::path;

// Every command, a row each. The first row whose words begin the arguments
// and that takes as many as follow them (or fewer, its last argument
// repeated) runs; the usage text lists them all.
// clang-format off
constexpr Command kCommands[] = {
    {{"compile"},        "TABLE.txt LIB.imc",      2, Compile,
        "code table (UTF-16) -> word library"},
    {{"export"},         "LIB.imc TABLE.txt",      2, Export,
        "word library -> code table"},
    {{"info"},           "LIB.imc",                1, Info,
        "header fields and statistics"},
    {{"encode"},         "LIB.imc < WORDS.txt",    1, Encode,
        "phrase codes of UTF-8 words, one per line"},
    {{"pack"},           "LIB.imc PKG.imc",        2, Pack,
        "word library -> packaged dictionary (\"TIDC\")"},
    {{"unpack"},         "PKG.imc LIB.imc",        2, Unpack,
        "packaged dictionary -> word library"},
    {{"user", "list"},   "LIB.imc",                1, UserList,
        "user entries"},
    {{"user", "add"},    "LIB.imc CODE WORD",      3, UserAdd,
        "adds a user entry"},
    {{"user", "remove"}, "LIB.imc CODE WORD",      3, UserRemove,
        "removes an entry, a user's or the table's"},
    {{"user", "import"}, "LIB.imc FILE.txt",       2, UserImport,
        "user entries from UTF-16 text (\"code TAB word\" or a word alone), or another input "
        "method's word list (see words), each word coded by the rules"},
    {{"user", "import"}, "LIB.imc FILE --list-skipped", 3, UserImport,
        "the same, listing each word passed over and why"},
    {{"user", "export"}, "LIB.imc FILE.txt",       2, UserExport,
        "user entries to such a file"},
    {{"words"},          "FILE",                   1, Words,
        "the words of another input method's word list (.scel, pinyin lists, Rime's, plain), UTF-8"},
    {{"skin", "info"},   "FILE.ims",               1, SkinInfo,
        "name, version, author, complete, image sizes"},
    {{"skin", "unpack"}, "FILE.ims DIR",           2, SkinUnpack,
        "record.txt and one PNG per image"},
    {{"skin", "pack"},   "DIR FILE.ims",           2, SkinPack,
        "and back, byte for byte"},
    {{"convert"},        "--from F --to F IN OUT", 6, Convert,
        "code tables between formats, F one of tide, rime, fcitx, ibus"},
    {{"convert"},        "--from F --to F --without-rules IN OUT", 7, Convert,
        "the same, the target without phrase rules"},
    {{"stats", "--from"}, "F TABLE",               2, StatsFrom,
        "a code table's 重码, 空码, code lengths, coverage and damage, F as for convert"},
    {{"stats", "--from"}, "F TABLE --json",        3, StatsFrom,
        "the same as JSON"},
    {{"stats", "--from"}, "F TABLE --list empty",  4, StatsFrom,
        "the same, listing the empty codes of one to three letters"},
    {{"stats"},          "LIB.imc|TABLE.txt",      1, Stats,
        "the same for a word library or a code table of our own"},
    {{"stats"},          "LIB.imc|TABLE.txt --json", 2, Stats,
        "the same as JSON"},
    {{"stats"},          "LIB.imc|TABLE.txt --list empty", 3, Stats,
        "the same, listing the empty codes"},
    {{"report", "--from"}, "F TABLE OUT.html",     3, ReportFrom,
        "those figures as charts in one HTML page, whole in itself"},
    {{"report"},         "LIB.imc|TABLE.txt OUT.html", 2, Report,
        "the same for a word library or a code table of our own"},
    {{"lookup"},         "LIB.imc|TABLE.txt WORD...", 2, Lookup,
        "反查: each word's codes and candidate places, or the code its rules give", true},
};
// clang-format on

constexpr std::size_t WordCount(const Command& command) {
    return command.words[1].empty() ? 1 : 2;
}

// True when every argument list that `later` takes runs `earlier` instead.
constexpr bool Shadows(const Command& earlier, const Command& later) {
    const std::size_t words = WordCount(earlier);
    if (words > WordCount(later) ||
        !std::equal(earlier.words.begin(), earlier.words.begin() + words, later.words.begin())) {
        return false;
    }
    const std::size_t taken = words + earlier.arguments;
    const std::size_t given = WordCount(later) + later.arguments;
    if (later.repeatsLast && !earlier.repeatsLast) {
        return false; // `later` takes longer lists too
    }
    return earlier.repeatsLast ? taken <= given : taken == given;
}

constexpr bool EveryRowRuns() {
    for (auto later = std::begin(kCommands); later != std::end(kCommands); ++later) {
        for (auto earlier = std::begin(kCommands); earlier != later; ++earlier) {
            if (Shadows(*earlier, *later)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EveryRowRuns(),
              "a row of kCommands is never reached: an earlier one takes its words");

// What follows "tidetool" on the command's usage line.
std::string UsageLine(const Command& command) {
    std::string line(command.words[0]);
    if (WordCount(command) > 1) {
        line += ' ';
        line += command.words[1];
    }
    if (!command.synopsis.empty()) {
        line += ' ';
        line += command.synopsis;
    }
    return line;
}

int Usage() {
    std::size_t width = 0;
    for (const Command& command : kCommands) {
        width = std::max(width, UsageLine(command).size());
    }
    std::string text;
    for (const Command& command : kCommands) {
        const std::string line = UsageLine(command);
        text += text.empty() ? "usage: tidetool " : "\n       tidetool ";
        text += line;
        text.append(width - line.size() + 2, ' ');
        text += command.help;
    }
    PrintLine(stderr, text);
    return kUsageError;
}

// The first row whose words begin `args` and that takes the arguments after them.
const Command* FindCommand(std::span<const path> args) {
    std::string words[2];
    for (std::size_t i = 0; i < std::min<std::size_t>(args.size(), 2); ++i) {
        words[i] = PathText(args[i]);
    }
    for (const Command& command : kCommands) {
        const std::size_t count = WordCount(command);
        if (args.size() < count || words[0] != command.words[0] ||
            (count > 1 && words[1] != command.words[1])) {
            continue;
        }
        const std::size_t given = args.size() - count;
        if (given == command.arguments || (command.repeatsLast && given > command.arguments)) {
            return &command;
        }
    }
    return nullptr;
}

int Run(std::span<const path> args) {
    const Command* command = FindCommand(args);
    const int status = command ? command->run(args.subspan(WordCount(*command))) : kUsageError;
    return status == kUsageError ? Usage() : status;
}

// Prints what an exception says; its text may hold a file name's raw bytes.
int FailWith(const char* what) noexcept {
    try {
        return Fail(CleanUtf8(what));
    } catch (...) {
        std::fputs("tidetool: failed\n", stderr);
        return 1;
    }
}

// Every command runs here, so that no failure ends in an abort.
template <typename Char>
int RunGuarded(int argc, Char** argv) noexcept {
    try {
        const std::vector<path> args(argv + 1, argv + argc);
        return Run(args);
    } catch (const std::bad_alloc&) {
        // Nothing is allocated here: the memory is gone.
        std::fputs("tidetool: out of memory\n", stderr);
        return 1;
    } catch (const std::length_error&) {
        std::fputs("tidetool: out of memory\n", stderr);
        return 1;
    } catch (const std::filesystem::filesystem_error& error) {
        return FailWith(error.what());
    } catch (const std::exception& error) {
        return FailWith(error.what());
    }
}

} // namespace
} // namespace tide::tool

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    ::SetConsoleOutputCP(CP_UTF8);
    return tide::tool::RunGuarded(argc, argv);
}
#else
int main(int argc, char** argv) {
    return tide::tool::RunGuarded(argc, argv);
}
#endif
