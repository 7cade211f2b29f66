// tidetool: the dictionary work of the settings manager on the command line,
// for dictionary makers and scripts.
//
//   tidetool compile TABLE.txt LIB.imc   code table -> word library
//   tidetool export LIB.imc TABLE.txt    word library -> code table
//   tidetool info LIB.imc                header fields and statistics
//   tidetool encode LIB.imc              phrase codes of the words on stdin
//   tidetool pack LIB.imc PKG.imc        word library -> packaged dictionary
//   tidetool unpack PKG.imc LIB.imc      packaged dictionary -> word library
//   tidetool user list LIB.imc           the user entries
//   tidetool user add|remove LIB.imc CODE WORD
//   tidetool skin info FILE.ims          name, version, author, complete, sizes
//   tidetool skin unpack FILE.ims DIR    record.txt and one PNG per image
//   tidetool skin pack DIR FILE.ims      and back, byte for byte
//
// Text on the console is UTF-8; files are in the program's own formats.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "FileIo.h"
#include "core/base/Utf.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/CompileMessages.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "core/dict/PhraseEncoder.h"
#include "core/dict/WordLibrary.h"
#include "core/skin/SkinFormat.h"
#include "core/skin/SkinRecordText.h"

#include <cstring>
#include <iostream>

namespace tide::tool {
namespace {

using std::filesystem::path;

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}
void PrintLine(std::FILE* stream, std::string_view text) {
    Print(stream, text);
    Print(stream, "\n");
}
std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}
std::string PathText(const path& file) {
    return Utf8(file.u16string());
}

int Usage() {
    PrintLine(stderr, "usage: tidetool compile TABLE.txt LIB.imc\n"
                      "       tidetool export LIB.imc TABLE.txt\n"
                      "       tidetool info LIB.imc\n"
                      "       tidetool encode LIB.imc < WORDS.txt\n"
                      "       tidetool pack LIB.imc PKG.imc\n"
                      "       tidetool unpack PKG.imc LIB.imc\n"
                      "       tidetool user list LIB.imc\n"
                      "       tidetool user add LIB.imc CODE WORD\n"
                      "       tidetool user remove LIB.imc CODE WORD\n"
                      "       tidetool skin info FILE.ims\n"
                      "       tidetool skin unpack FILE.ims DIR\n"
                      "       tidetool skin pack DIR FILE.ims");
    return 2;
}

bool WriteBytes(const path& file, const std::vector<std::uint8_t>& bytes) {
    return ReplaceFileWith(
        file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

int Fail(const std::string& message) {
    PrintLine(stderr, "tidetool: " + message);
    return 1;
}

std::optional<std::vector<std::uint8_t>> ReadInput(const path& file) {
    auto bytes = ReadWholeFile(file);
    if (!bytes) {
        Fail("cannot read " + PathText(file));
    }
    return bytes;
}

int Compile(const path& table, const path& library) {
    const auto input = MappedInput::Open(table);
    if (!input) {
        return Fail("cannot read " + PathText(table));
    }
    const CompileResult result = CompileCodeTableText(input->Units(), input->size());
    if (!result.ok) {
        return Fail(result.message.empty()
                        ? "not a code table (too short to hold a header): " + PathText(table)
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

// A word library's bytes, or nothing (with the reason printed) when the file
// cannot be read or is no library; LibraryView::Open then succeeds on them.
std::optional<std::vector<std::uint8_t>> ReadLibraryFile(const path& file) {
    auto bytes = ReadInput(file);
    LibraryOpenError error = LibraryOpenError::None;
    if (bytes && !LibraryView::Open(*bytes, &error)) {
        Fail((error == LibraryOpenError::NotALibrary ? "not a word library: "
                                                     : "damaged word library: ") +
             PathText(file));
        return std::nullopt;
    }
    return bytes;
}

int Export(const path& library, const path& table) {
    const auto bytes = ReadLibraryFile(library);
    if (!bytes) {
        return 1;
    }
    const auto view = LibraryView::Open(*bytes);
    CodeTableWriter writer;
    WriteHeaderText(writer, view->header());
    ExportEntries(*view, writer);
    if (!ReplaceFileWith(table, writer.Bytes())) {
        return Fail("cannot write " + PathText(table));
    }
    return 0;
}

int Info(const path& library) {
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
    view->ForEachEntry([&](const LibraryEntry& entry) {
        ++total;
        user += IsUserWeight(entry.weight) ? 1 : 0;
        carried += IsCarriedWeight(entry.weight) ? 1 : 0;
    });
    PrintLine(stdout, "records: " + std::to_string(total) + " (user entries " +
                          std::to_string(user) + ", carried entries " + std::to_string(carried) +
                          ")");
    return 0;
}

int Encode(const path& libraryFile) {
    const auto bytes = ReadLibraryFile(libraryFile);
    if (!bytes) {
        return 1;
    }
    const auto library = LibraryView::Open(*bytes);
    std::string output;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        output += line + "\t" + Utf8(EncodePhrase(*library, FromUtf8(line))) + "\n";
    }
    Print(stdout, output);
    return 0;
}

int Pack(const path& libraryFile, const path& packageFile) {
    const auto bytes = ReadLibraryFile(libraryFile);
    if (!bytes) {
        return 1;
    }
    const std::vector<std::uint8_t> package = PackDictionary(*bytes);
    if (package.empty() || !WriteBytes(packageFile, package)) {
        return Fail("cannot pack into " + PathText(packageFile));
    }
    PrintLine(stdout, "packed " + std::to_string(bytes->size()) + " bytes into " +
                          std::to_string(package.size()));
    return 0;
}

int Unpack(const path& packageFile, const path& libraryFile) {
    const auto bytes = ReadInput(packageFile);
    if (!bytes) {
        return 1;
    }
    const UnpackResult result = UnpackDictionary(*bytes);
    if (result.status == UnpackStatus::NotAPackage) {
        return Fail("not a packaged dictionary: " + PathText(packageFile));
    }
    if (result.status != UnpackStatus::Ok || !LibraryView::Open(result.library)) {
        return Fail("damaged packaged dictionary: " + PathText(packageFile));
    }
    if (!WriteBytes(libraryFile, result.library)) {
        return Fail("cannot write " + PathText(libraryFile));
    }
    PrintLine(stdout, "unpacked " + std::to_string(result.library.size()) + " bytes");
    return 0;
}

int User(const std::vector<path>& args) {
    const std::string action = args[1].string();
    const path& libraryFile = args[2];
    auto bytes = ReadLibraryFile(libraryFile);
    if (!bytes) {
        return 1;
    }
    if (action == "list" && args.size() == 3) {
        for (const auto& entry : ListUserEntries(*LibraryView::Open(*bytes))) {
            PrintLine(stdout, Utf8(entry.code) + "\t" + Utf8(entry.word));
        }
        return 0;
    }
    if ((action != "add" && action != "remove") || args.size() != 5) {
        return Usage();
    }
    const std::u16string code = args[3].u16string();
    const std::u16string word = args[4].u16string();
    // Work as the manager does on a mapped library: with room to grow.
    CodeTableHeader header;
    std::memcpy(&header, bytes->data(), sizeof(header));
    bytes->resize(std::size_t{header.UsedLength} + kLibraryGrowthRoom, 0);
    auto library = WordLibrary::Open(*bytes, false);
    library->SetCapacity(static_cast<std::uint32_t>(bytes->size()));
    if (action == "add") {
        if (library->ContainsEntry(code, word)) {
            return Fail("the library already holds " + Utf8(code) + " " + Utf8(word));
        }
        if (!library->AddUserEntry(code, word)) {
            return Fail("cannot add " + Utf8(code) + " " + Utf8(word) +
                        " (a code is the letters a-z only)");
        }
    } else if (!library->RemoveEntry(code, word)) {
        return Fail("the library holds no entry " + Utf8(code) + " " + Utf8(word));
    }
    // The file keeps the bytes in use; Capacity is set again when it is opened.
    library->SetCapacity(0);
    std::memcpy(&header, bytes->data(), sizeof(header));
    bytes->resize(header.UsedLength);
    return WriteBytes(libraryFile, *bytes) ? 0 : Fail("cannot write " + PathText(libraryFile));
}

constexpr std::string_view kSkinRecordFile = "record.txt";

const char* SkinParseMessage(SkinParseError error) {
    switch (error) {
    case SkinParseError::TooShort:
        return "too short to be a skin";
    case SkinParseError::NoName:
        return "the skin has no name";
    case SkinParseError::BlobsPastEnd:
        return "the size table runs past the end of the file";
    case SkinParseError::NoStatusImage:
        return "the status window image is missing";
    case SkinParseError::NoCandidateImage:
        return "neither candidate background is present";
    case SkinParseError::None:
        break;
    }
    return "";
}

int Skin(const std::vector<path>& args) {
    const std::string action = args[1].string();
    if (action == "pack" && args.size() == 4) {
        const path& folder = args[2];
        const auto text = ReadWholeFile(folder / kSkinRecordFile);
        if (!text) {
            return Fail("cannot read " + PathText(folder / kSkinRecordFile));
        }
        SkinRecord empty;
        std::memset(&empty, 0, sizeof(empty));
        std::string error;
        const auto record = SkinRecordFromText(
            std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), empty,
            &error);
        if (!record) {
            return Fail(PathText(folder / kSkinRecordFile) + ": " + error);
        }
        std::array<std::vector<std::uint8_t>, kSkinSlotCount> blobs;
        for (const auto& slot : kSkinSlots) {
            const path image = folder / slot.fileName;
            if (std::filesystem::exists(image)) {
                auto bytes = ReadInput(image);
                if (!bytes) {
                    return 1;
                }
                blobs[slot.slot] = std::move(*bytes);
            }
        }
        return WriteBytes(args[3], SerializeSkin(*record, blobs))
                   ? 0
                   : Fail("cannot write " + PathText(args[3]));
    }
    if ((action != "info" || args.size() != 3) && (action != "unpack" || args.size() != 4)) {
        return Usage();
    }
    const auto bytes = ReadInput(args[2]);
    if (!bytes) {
        return 1;
    }
    SkinParseError error = SkinParseError::None;
    const auto skin = ParseSkin(*bytes, &error);
    if (!skin) {
        return Fail(std::string(SkinParseMessage(error)) + ": " + PathText(args[2]));
    }
    if (action == "info") {
        const SkinRecord& r = skin->record;
        PrintLine(stdout, "name: " + Utf8(SkinText(r.name)));
        PrintLine(stdout, "version: " + Utf8(SkinText(r.version)));
        PrintLine(stdout, "author: " + Utf8(SkinText(r.author)));
        PrintLine(stdout, "complete: " + std::to_string(r.complete));
        for (const auto& slot : kSkinSlots) {
            PrintLine(stdout,
                      std::string(slot.fileName) + ": " + std::to_string(skin->sizes[slot.slot]));
        }
        return 0;
    }
    const path& folder = args[3];
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    const std::string record = SkinRecordToText(skin->record);
    if (!ReplaceFileWith(folder / kSkinRecordFile, record)) {
        return Fail("cannot write into " + PathText(folder));
    }
    for (const auto& slot : kSkinSlots) {
        const path image = folder / slot.fileName;
        const auto blob = skin->blobs[slot.slot];
        if (blob.empty()) {
            std::error_code ignored;
            std::filesystem::remove(image, ignored);
        } else if (!WriteBytes(image, std::vector<std::uint8_t>(blob.begin(), blob.end()))) {
            return Fail("cannot write " + PathText(image));
        }
    }
    return 0;
}

int Run(const std::vector<path>& args) {
    if (args.empty()) {
        return Usage();
    }
    const std::string command = args[0].string();
    if (command == "compile" && args.size() == 3) {
        return Compile(args[1], args[2]);
    }
    if (command == "export" && args.size() == 3) {
        return Export(args[1], args[2]);
    }
    if (command == "info" && args.size() == 2) {
        return Info(args[1]);
    }
    if (command == "encode" && args.size() == 2) {
        return Encode(args[1]);
    }
    if (command == "pack" && args.size() == 3) {
        return Pack(args[1], args[2]);
    }
    if (command == "unpack" && args.size() == 3) {
        return Unpack(args[1], args[2]);
    }
    if (command == "user" && args.size() >= 3) {
        return User(args);
    }
    if (command == "skin" && args.size() >= 3) {
        return Skin(args);
    }
    return Usage();
}

} // namespace
} // namespace tide::tool

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    ::SetConsoleOutputCP(CP_UTF8);
    return tide::tool::Run(std::vector<std::filesystem::path>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    return tide::tool::Run(std::vector<std::filesystem::path>(argv + 1, argv + argc));
}
#endif
