// The word-library commands: compile, export, info, encode, pack and unpack.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "FileIo.h"
#include "core/base/FixedText.h"
#include "core/base/Utf.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/CompileMessages.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryLayout.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "core/dict/PhraseEncoder.h"

namespace tide::tool {

using std::filesystem::path;

int Compile(Arguments arguments) {
    const path& table = arguments[0];
    const path& library = arguments[1];
    const auto input = OpenTextInputFor(table, library);
    if (!input) {
        return 1;
    }
    const CompileResult result = CompileCodeTableText(input->Units(), input->size());
    if (result.tooLarge) {
        return Fail("too large for a word library (its offsets are 32-bit, so at most 4 GiB): " +
                    PathText(table));
    }
    if (!result.ok) {
        return Fail(result.message.empty() ? "cannot compile " + PathText(table)
                                           : Utf8(result.message));
    }
    const std::string_view output(reinterpret_cast<const char*>(result.library.data()),
                                  result.library.size());
    if (!ReplaceFileWith(library, output)) {
        return Fail(Utf8(kMsgLibrarySaveFailed) + " " + PathText(library));
    }
    const auto view = LibraryView::Open(result.library);
    const CodeTableHeader& header = view->header();
    PrintLine(stdout, "entries " + std::to_string(header.EntryCount) + ", characters " +
                          std::to_string(header.CharCount) + ", phrases " +
                          std::to_string(header.PhraseCount));
    return 0;
}

int Export(Arguments arguments) {
    const path& library = arguments[0];
    const path& table = arguments[1];
    const auto bytes = ReadLibraryFileFor(library, table);
    if (!bytes) {
        return 1;
    }
    const auto view = LibraryView::Open(*bytes);
    CodeTableWriter writer;
    WriteHeaderText(writer, view->header());
    if (!ExportEntries(*view, writer)) {
        return Fail("damaged word library: " + PathText(library));
    }
    if (!ReplaceFileWith(table, writer.Bytes())) {
        return Fail("cannot write " + PathText(table));
    }
    return 0;
}

int Info(Arguments arguments) {
    const path& library = arguments[0];
    const auto bytes = ReadLibraryFile(library);
    if (!bytes) {
        return 1;
    }
    const auto view = LibraryView::Open(*bytes);
    const CodeTableHeader& h = view->header();
    const std::string fields[][2] = {
        {"Name", Utf8(FixedText(h.Name))},
        {"Version", Utf8(FixedText(h.Version))},
        {"Author", Utf8(FixedText(h.Author))},
        {"CodeScheme", Utf8(FixedText(h.CodeScheme))},
        {"CodeLength", std::to_string(h.CodeLength)},
        {"BWCodeLength", std::to_string(h.BWCodeLength)},
        {"SpecialPrefix", Utf8(FixedText(h.SpecialPrefix))},
        {"WildChar", h.WildChar ? Utf8(std::u16string_view(&h.WildChar, 1)) : ""},
        {"PhraseRule", std::to_string(h.PhraseRule)},
        {"EntryCount", std::to_string(h.EntryCount)},
        {"CharCount", std::to_string(h.CharCount)},
        {"PhraseCount", std::to_string(h.PhraseCount)},
        {"RootOffset", std::to_string(h.RootOffset)},
        {"UsedLength", std::to_string(h.UsedLength)},
        {"Capacity", std::to_string(h.Capacity)},
    };
    for (const auto& [name, value] : fields) {
        PrintLine(stdout, name + ": " + value);
    }
    std::size_t user = 0;
    std::size_t carried = 0;
    std::size_t total = 0;
    const bool whole = view->ForEachEntry([&](const LibraryEntry& entry) {
        ++total;
        user += IsUserWeight(entry.weight) ? 1 : 0;
        carried += IsCarriedWeight(entry.weight) ? 1 : 0;
    });
    if (!whole) {
        return Fail("damaged word library: " + PathText(library));
    }
    PrintLine(stdout, "records: " + std::to_string(total) + " (user entries " +
                          std::to_string(user) + ", carried entries " + std::to_string(carried) +
                          ")");
    return 0;
}

// The words come on stdin, one a line; their codes go to stdout.
int Encode(Arguments arguments) {
    const auto bytes = ReadLibraryFile(arguments[0]);
    if (!bytes) {
        return 1;
    }
    const auto library = LibraryView::Open(*bytes);
    const PhraseEncoder encoder(*library);
    std::string output;
    std::u16string code;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        encoder.Encode(FromUtf8(line), code);
        output += line + "\t" + Utf8(code) + "\n";
    }
    Print(stdout, output);
    return 0;
}

int Pack(Arguments arguments) {
    const path& libraryFile = arguments[0];
    const path& packageFile = arguments[1];
    const auto bytes = ReadLibraryFileFor(libraryFile, packageFile);
    if (!bytes) {
        return 1;
    }
    if (bytes->size() > kMaxUnpackedSize) {
        return Fail("too large to pack (a packaged dictionary holds at most 512 MiB): " +
                    PathText(libraryFile));
    }
    const std::vector<std::uint8_t> package = PackDictionary(*bytes);
    if (package.empty()) {
        return Fail("cannot pack " + PathText(libraryFile));
    }
    if (!WriteBytes(packageFile, package)) {
        return Fail("cannot write " + PathText(packageFile));
    }
    PrintLine(stdout, "packed " + std::to_string(bytes->size()) + " bytes into " +
                          std::to_string(package.size()));
    return 0;
}

int Unpack(Arguments arguments) {
    const path& packageFile = arguments[0];
    const path& libraryFile = arguments[1];
    if (!Distinct(packageFile, libraryFile)) {
        return 1;
    }
    const auto bytes = ReadInput(packageFile);
    if (!bytes) {
        return 1;
    }
    const UnpackResult result = UnpackDictionary(*bytes);
    if (result.status == UnpackStatus::NotAPackage) {
        return Fail("not a packaged dictionary: " + PathText(packageFile));
    }
    if (result.status != UnpackStatus::Ok) {
        return Fail("damaged packaged dictionary: " + PathText(packageFile));
    }
    const auto library = LibraryView::Open(result.library);
    if (!library || !library->Verify()) {
        return Fail("the packaged dictionary holds a damaged word library: " +
                    PathText(packageFile));
    }
    if (!WriteBytes(libraryFile, result.library)) {
        return Fail("cannot write " + PathText(libraryFile));
    }
    PrintLine(stdout, "unpacked " + std::to_string(result.library.size()) + " bytes");
    return 0;
}

} // namespace tide::tool
