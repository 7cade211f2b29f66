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
//   tidetool user import LIB.imc FILE.txt  user entries from a text file
//   tidetool user export LIB.imc FILE.txt  and to one
//   tidetool skin info FILE.ims          name, version, author, complete, sizes
//   tidetool skin unpack FILE.ims DIR    record.txt and one PNG per image
//   tidetool skin pack DIR FILE.ims      and back, byte for byte
//   tidetool convert --from F --to F IN OUT  code tables between this program's
//                                        format and Rime's and fcitx's (F: tide, rime, fcitx)
//
// Text on the console is UTF-8; files are in the program's own formats.
#include <array>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "FileIo.h"
#include "core/base/Utf.h"
#include "core/convert/TableConversion.h"
#include "core/dict/CodeTableText.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/CompileMessages.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "core/dict/PhraseEncoder.h"
#include "core/dict/UserEntryFile.h"
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
// The bytes with each one that does not begin a well-formed UTF-8 sequence
// (overlong forms and encoded surrogates too) shown as U+FFFD.
std::string CleanUtf8(std::string_view bytes) {
    std::string clean;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view sequence = bytes.substr(i, length);
        // Well-formed exactly when it decodes to one code point that encodes back to it.
        if (sequence.size() == length && Utf8(FromUtf8(sequence)) == sequence) {
            clean += sequence;
            i += length;
        } else {
            clean += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return clean;
}

// File names and arguments reach the commands as the system gave them (a
// POSIX name may hold any bytes, a Windows one unpaired surrogates); these
// conversions never throw, unlike path::u16string() and path::string().
#ifdef _WIN32
std::u16string ArgumentUnits(const path& argument) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const std::wstring& native = argument.native();
    return {reinterpret_cast<const char16_t*>(native.data()), native.size()};
}
// For messages and command words.
std::string PathText(const path& file) {
    return Utf8(ArgumentUnits(file));
}
// An argument taken as text, or nothing when it is not valid Unicode.
std::optional<std::u16string> ArgumentText(const path& argument) {
    std::u16string text = ArgumentUnits(argument);
    if (FromUtf8(Utf8(text)) != text) {
        return std::nullopt;
    }
    return text;
}
#else
std::string PathText(const path& file) {
    return CleanUtf8(file.native());
}
std::optional<std::u16string> ArgumentText(const path& argument) {
    if (PathText(argument) != argument.native()) {
        return std::nullopt;
    }
    return FromUtf8(argument.native());
}
#endif

int Usage() {
    PrintLine(stderr,
              "usage: tidetool compile TABLE.txt LIB.imc\n"
              "       tidetool export LIB.imc TABLE.txt\n"
              "       tidetool info LIB.imc\n"
              "       tidetool encode LIB.imc < WORDS.txt\n"
              "       tidetool pack LIB.imc PKG.imc\n"
              "       tidetool unpack PKG.imc LIB.imc\n"
              "       tidetool user list LIB.imc\n"
              "       tidetool user add LIB.imc CODE WORD\n"
              "       tidetool user remove LIB.imc CODE WORD\n"
              "       tidetool user import LIB.imc FILE.txt\n"
              "       tidetool user export LIB.imc FILE.txt\n"
              "       tidetool skin info FILE.ims\n"
              "       tidetool skin unpack FILE.ims DIR\n"
              "       tidetool skin pack DIR FILE.ims\n"
              "       tidetool convert --from FORMAT --to FORMAT IN OUT"
              "   (FORMAT: tide, rime, fcitx)");
    return 2;
}

bool WriteBytes(const path& file, std::span<const std::uint8_t> bytes) {
    return ReplaceFileWith(
        file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

int Fail(const std::string& message) {
    PrintLine(stderr, "tidetool: " + message);
    return 1;
}

int ReadFailure(ReadError error, const path& file) {
    switch (error) {
    case ReadError::NotAFile:
        return Fail("not a file: " + PathText(file));
    case ReadError::TooLarge:
        return Fail("too large to read: " + PathText(file));
    default:
        return Fail("cannot read " + PathText(file));
    }
}

std::optional<std::vector<std::uint8_t>> ReadInput(const path& file) {
    ReadError error = ReadError::None;
    auto bytes = ReadWholeFile(file, &error);
    if (!bytes) {
        ReadFailure(error, file);
    }
    return bytes;
}

// A name made absolute, with symlinks of its existing part resolved, for
// comparing names of files that may not exist yet.
path NormalPath(const path& file) {
    std::error_code error;
    path normal = std::filesystem::weakly_canonical(file, error);
    if (error || normal.empty()) {
        normal = std::filesystem::absolute(file, error);
        normal = (error ? file : normal).lexically_normal();
    }
    return normal;
}

// True when writing `output` would overwrite `input`: the same file once both
// exist (hard links and symlinks too), or the same name.
bool SameFile(const path& input, const path& output) {
    std::error_code error;
    if (std::filesystem::equivalent(input, output, error) && !error) {
        return true;
    }
    return NormalPath(input) == NormalPath(output);
}

// Refuses (printing why) an output that is the input: replacing it would lose the input.
bool Distinct(const path& input, const path& output) {
    if (!SameFile(input, output)) {
        return true;
    }
    Fail("input and output are the same file: " + PathText(output));
    return false;
}

int Compile(const path& table, const path& library) {
    if (!Distinct(table, library)) {
        return 1;
    }
    ReadError readError = ReadError::None;
    const auto input = MappedInput::Open(table, &readError);
    if (!input) {
        return ReadFailure(readError, table);
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

// A word library's bytes, or nothing (with the reason printed) when the file
// cannot be read, is no library or is damaged anywhere in its index;
// LibraryView::Open and every walk then succeed on them.
// A library with `spare` bytes of room to grow into without moving.
std::optional<GrowableBytes> ReadLibraryFile(const path& file, std::size_t spare = 0) {
    ReadError readError = ReadError::None;
    auto bytes = ReadGrowableFile(file, &readError, spare);
    if (!bytes) {
        ReadFailure(readError, file);
        return std::nullopt;
    }
    LibraryOpenError error = LibraryOpenError::None;
    const auto view = LibraryView::Open(*bytes, &error);
    if (!view || !view->Verify()) {
        Fail((error == LibraryOpenError::NotALibrary ? "not a word library: "
                                                     : "damaged word library: ") +
             PathText(file));
        return std::nullopt;
    }
    return bytes;
}

int Export(const path& library, const path& table) {
    if (!Distinct(library, table)) {
        return 1;
    }
    const auto bytes = ReadLibraryFile(library);
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
    if (!Distinct(libraryFile, packageFile)) {
        return 1;
    }
    const auto bytes = ReadLibraryFile(libraryFile);
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

int Unpack(const path& packageFile, const path& libraryFile) {
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

// Writes a library worked on with room to grow back at its used length.
int WriteLibrary(const path& libraryFile, GrowableBytes& bytes, WordLibrary& library) {
    // The file keeps the bytes in use; Capacity is set again when it is opened.
    library.SetCapacity(0);
    bytes.resize(library.header().UsedLength);
    return WriteBytes(libraryFile, bytes) ? 0 : Fail("cannot write " + PathText(libraryFile));
}

// The library with `room` bytes to grow into past its used length.
std::optional<WordLibrary> OpenWithRoom(GrowableBytes& bytes, std::size_t room) {
    CodeTableHeader header;
    std::memcpy(&header, bytes.data(), sizeof(header));
    const std::size_t size =
        std::min<std::size_t>(std::size_t{header.UsedLength} + room, kMaxLibraryBytes);
    bytes.resize(size); // the new room is left as allocated, not written over
    auto library = WordLibrary::Open(bytes, false);
    if (library) {
        library->SetCapacity(static_cast<std::uint32_t>(size));
    }
    return library;
}

// Room that the entries of a text of `units` surely fit in: a line gives at
// most one entry and holds at least one unit besides its end; a record takes
// its line's code letters and word units, or a code the phrase rules make,
// and each new code path up to three index nodes, of which the whole index
// holds kMaxIndexNodes. Untouched room costs nothing (GrowableBytes).
std::size_t ImportRoom(std::size_t units) {
    const std::uint64_t lines = std::uint64_t{units} / 2 + 1;
    const std::uint64_t nodes = std::min<std::uint64_t>(3 * lines, kMaxIndexNodes);
    const std::uint64_t room = nodes * kIndexNodeSize + lines * RecordSize(kMaxCharCodeWidth, 0) +
                               3 * std::uint64_t{units};
    return static_cast<std::size_t>(std::min<std::uint64_t>(room, kMaxLibraryBytes));
}

int ImportUsers(const path& libraryFile, GrowableBytes& bytes, const path& textFile) {
    if (!Distinct(textFile, libraryFile)) {
        return 1;
    }
    ReadError readError = ReadError::None;
    const auto input = MappedInput::Open(textFile, &readError);
    if (!input) {
        return ReadFailure(readError, textFile);
    }
    const std::u16string_view units = input->Units();
    if (units.empty() || units.front() != kByteOrderMark) {
        return Fail("not UTF-16 text with a byte-order mark: " + PathText(textFile));
    }
    // No input method holds this library: it grows as far as the lines need.
    std::size_t room = ImportRoom(units.size());
    auto library = OpenWithRoom(bytes, room);
    UserImportProgress progress;
    for (;;) {
        ImportUserEntries(*library, units.substr(1), progress);
        if (progress.stop != UserImportStop::LibraryFull) {
            break;
        }
        if (bytes.size() >= kMaxLibraryBytes) {
            return Fail("too large for a word library: " + PathText(libraryFile));
        }
        room *= 2;
        library = OpenWithRoom(bytes, room);
    }
    const std::string where = PathText(textFile) + " line " + std::to_string(progress.lineNumber);
    if (progress.stop == UserImportStop::EncodingFailed) {
        return Fail(where + ": no phrase code for " + Utf8(progress.culprit) +
                    " (nothing written)");
    }
    if (progress.stop == UserImportStop::IllegalCode) {
        return Fail(where + ": a code is the letters a-z only: " + Utf8(progress.culprit) +
                    " (nothing written)");
    }
    if (progress.stop == UserImportStop::EntryRefused) {
        return Fail(PathText(textFile) + " line " + std::to_string(progress.lineNumber + 1) +
                    ": the library refused the entry " + Utf8(progress.culprit) +
                    " (nothing written)");
    }
    PrintLine(stdout, "lines " + std::to_string(progress.linesRead) + ", already present " +
                          std::to_string(progress.alreadyPresent()) + ", imported " +
                          std::to_string(progress.imported));
    return progress.imported == 0 ? 0 : WriteLibrary(libraryFile, bytes, *library);
}

int ExportUsers(const path& libraryFile, const GrowableBytes& bytes, const path& textFile) {
    if (!Distinct(libraryFile, textFile)) {
        return 1;
    }
    const auto entries = ListUserEntries(*LibraryView::Open(bytes));
    if (!entries) {
        return Fail("damaged word library: " + PathText(libraryFile));
    }
    const std::u16string text = UserEntriesText(*entries);
    if (!ReplaceFileWith(textFile, std::string_view(reinterpret_cast<const char*>(text.data()),
                                                    text.size() * sizeof(char16_t)))) {
        return Fail("cannot write " + PathText(textFile));
    }
    PrintLine(stdout, "exported " + std::to_string(entries->size()) + " user entries");
    return 0;
}

int User(const std::vector<path>& args) {
    const std::string action = PathText(args[1]);
    const path& libraryFile = args[2];
    // Room to grow in place: the library is not moved while entries are added.
    std::size_t spare = kLibraryGrowthRoom;
    if (action == "import" && args.size() == 4) {
        std::error_code sizeError;
        const std::uintmax_t textBytes = std::filesystem::file_size(args[3], sizeError);
        if (!sizeError) {
            spare = ImportRoom(static_cast<std::size_t>(
                std::min<std::uintmax_t>(textBytes / 2, kMaxLibraryBytes)));
        }
    }
    auto bytes = ReadLibraryFile(libraryFile, action == "list" ? 0 : spare);
    if (!bytes) {
        return 1;
    }
    if (action == "list" && args.size() == 3) {
        const auto entries = ListUserEntries(*LibraryView::Open(*bytes));
        if (!entries) {
            return Fail("damaged word library: " + PathText(libraryFile));
        }
        for (const auto& entry : *entries) {
            PrintLine(stdout, Utf8(entry.code) + "\t" + Utf8(entry.word));
        }
        return 0;
    }
    if (action == "import" && args.size() == 4) {
        return ImportUsers(libraryFile, *bytes, args[3]);
    }
    if (action == "export" && args.size() == 4) {
        return ExportUsers(libraryFile, *bytes, args[3]);
    }
    if ((action != "add" && action != "remove") || args.size() != 5) {
        return Usage();
    }
    const auto codeText = ArgumentText(args[3]);
    const auto wordText = ArgumentText(args[4]);
    if (!codeText || !wordText) {
        return Fail("not valid Unicode text: " + PathText(args[codeText ? 4 : 3]));
    }
    const std::u16string& code = *codeText;
    const std::u16string& word = *wordText;
    // Work as the manager does on a mapped library: with room to grow.
    auto library = OpenWithRoom(*bytes, kLibraryGrowthRoom);
    if (action == "add") {
        switch (library->AddUserEntry(code, word)) {
        case WordLibrary::AddResult::Added:
            break;
        case WordLibrary::AddResult::AlreadyPresent:
            return Fail("the library already holds " + Utf8(code) + " " + Utf8(word));
        case WordLibrary::AddResult::Refused:
        case WordLibrary::AddResult::Full:
            return Fail("cannot add " + Utf8(code) + " " + Utf8(word) +
                        " (a code is the letters a-z only)");
        }
    } else if (!library->RemoveEntry(code, word)) {
        return Fail("the library holds no entry " + Utf8(code) + " " + Utf8(word));
    }
    return WriteLibrary(libraryFile, *bytes, *library);
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

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

int PackSkin(const path& folder, const path& output) {
    const path recordFile = folder / kSkinRecordFile;
    if (!Distinct(recordFile, output)) {
        return 1;
    }
    const auto text = ReadInput(recordFile);
    if (!text) {
        return 1;
    }
    SkinRecord empty;
    std::memset(&empty, 0, sizeof(empty));
    std::string error;
    const auto record = SkinRecordFromText(AsChars(*text), empty, &error);
    if (!record) {
        return Fail(PathText(recordFile) + ": " + error);
    }
    std::array<std::vector<std::uint8_t>, kSkinSlotCount> blobs;
    for (const auto& slot : kSkinSlots) {
        const path image = folder / slot.fileName;
        std::error_code statusError;
        if (std::filesystem::status(image, statusError).type() ==
            std::filesystem::file_type::not_found) {
            continue;
        }
        if (!Distinct(image, output)) {
            return 1;
        }
        auto bytes = ReadInput(image);
        if (!bytes) {
            return 1;
        }
        blobs[slot.slot] = std::move(*bytes);
    }
    const std::vector<std::uint8_t> bytes = SerializeSkin(*record, blobs);
    // Read back as `skin info` and the input method read it: a skin that would
    // not load is not written.
    SkinParseError parseError = SkinParseError::None;
    if (!ParseSkin(bytes, &parseError)) {
        return Fail("the skin would not load (" + std::string(SkinParseMessage(parseError)) +
                    "): " + PathText(folder));
    }
    return WriteBytes(output, bytes) ? 0 : Fail("cannot write " + PathText(output));
}

// The names `skin unpack` writes into its folder.
bool IsSkinFileName(const path& name) {
    if (name == path(kSkinRecordFile)) {
        return true;
    }
    for (const auto& slot : kSkinSlots) {
        if (name == path(slot.fileName)) {
            return true;
        }
    }
    return false;
}

// What the folder given to `skin unpack` is. Any other folder is refused:
// unpacking must not mix a skin with, or overwrite, files it did not write.
enum class UnpackTarget {
    NewFolder,
    EmptyFolder, // replaced by the prepared folder as a whole
    SkinFolder,  // holds only a skin's files (or is a symlink): they are replaced one by one
};

std::optional<UnpackTarget> ClassifyUnpackTarget(const path& folder) {
    std::error_code error;
    const auto link = std::filesystem::symlink_status(folder, error);
    if (link.type() == std::filesystem::file_type::not_found) {
        return UnpackTarget::NewFolder;
    }
    if (error) { // a name too long, a folder that cannot be searched
        Fail("cannot write into " + PathText(folder));
        return std::nullopt;
    }
    if (!std::filesystem::is_directory(std::filesystem::status(folder, error)) || error) {
        Fail("not a folder: " + PathText(folder));
        return std::nullopt;
    }
    bool empty = true;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        empty = false;
        std::error_code typeError;
        if (entry->symlink_status(typeError).type() != std::filesystem::file_type::regular ||
            !IsSkinFileName(entry->path().filename())) {
            Fail(
                "the folder holds more than a skin's files (unpack into a new or empty "
                "folder): " +
                PathText(folder));
            return std::nullopt;
        }
    }
    if (error) {
        Fail("cannot read the folder " + PathText(folder));
        return std::nullopt;
    }
    return empty && link.type() == std::filesystem::file_type::directory ? UnpackTarget::EmptyFolder
                                                                         : UnpackTarget::SkinFolder;
}

// The folders above `folder` that do not exist yet, outermost first.
std::vector<path> MissingParents(const path& folder) {
    std::vector<path> missing;
    for (path parent = folder.parent_path(); parent.has_relative_path();
         parent = parent.parent_path()) {
        std::error_code error;
        if (std::filesystem::symlink_status(parent, error).type() !=
            std::filesystem::file_type::not_found) {
            break;
        }
        missing.insert(missing.begin(), parent);
    }
    return missing;
}

// All or nothing: every file is written into a new folder beside `folder`
// first, and only then moved into place.
int UnpackSkin(const ParsedSkin& skin, const path& input, const path& folder) {
    const std::string record = SkinRecordToText(skin.record);
    std::vector<std::pair<std::string_view, std::string_view>> files = {{kSkinRecordFile, record}};
    for (const auto& slot : kSkinSlots) {
        if (!skin.blobs[slot.slot].empty()) {
            files.emplace_back(slot.fileName, AsChars(skin.blobs[slot.slot]));
        }
    }
    // Nothing unpacking writes or removes may be the skin being read.
    if (!Distinct(input, folder / kSkinRecordFile)) {
        return 1;
    }
    for (const auto& slot : kSkinSlots) {
        if (!Distinct(input, folder / slot.fileName)) {
            return 1;
        }
    }
    const auto kind = ClassifyUnpackTarget(folder);
    if (!kind) {
        return 1;
    }
    std::error_code error;
    path target = std::filesystem::absolute(folder, error).lexically_normal();
    if (!error && !target.has_filename()) { // "DIR/" or "."
        target = target.parent_path();
    }
    if (error || !target.has_filename()) {
        return Fail("cannot unpack into " + PathText(folder));
    }

    std::vector<path> made; // parents made here, removed again on failure
    std::optional<path> temporary;
    auto fail = [&](const std::string& message) {
        std::error_code ignored;
        if (temporary) {
            std::filesystem::remove_all(*temporary, ignored);
        }
        for (auto parent = made.rbegin(); parent != made.rend(); ++parent) {
            std::filesystem::remove(*parent, ignored);
        }
        return Fail(message);
    };
    const std::string cannotWrite = "cannot write into " + PathText(folder);
    if (*kind == UnpackTarget::NewFolder) {
        for (const path& parent : MissingParents(target)) {
            if (!std::filesystem::create_directory(parent, error) || error) {
                return fail(cannotWrite);
            }
            made.push_back(parent);
        }
    }
    temporary = CreateFolderBeside(target);
    if (!temporary) {
        return fail(cannotWrite);
    }
    for (const auto& [name, bytes] : files) {
        if (!ReplaceFileWith(*temporary / name, bytes)) {
            return fail(cannotWrite);
        }
    }

    if (*kind != UnpackTarget::SkinFolder) {
        // A rename replaces an empty folder on POSIX; Windows wants it gone first.
        std::filesystem::rename(*temporary, target, error);
        std::error_code ignored;
        if (error && *kind == UnpackTarget::EmptyFolder &&
            std::filesystem::remove(target, ignored)) {
            std::filesystem::rename(*temporary, target, error);
            if (error) {
                std::filesystem::create_directory(target, ignored);
            }
        }
        return error ? fail(cannotWrite) : 0;
    }
    // Each file is replaced whole by a rename (or, across file systems, written
    // again); images the skin lacks go, as they would from a fresh unpack.
    for (const auto& [name, bytes] : files) {
        const path destination = folder / name;
        std::filesystem::rename(*temporary / name, destination, error);
        if (error && !ReplaceFileWith(destination, bytes)) {
            return fail("cannot write " + PathText(destination));
        }
    }
    std::error_code ignored;
    for (const auto& slot : kSkinSlots) {
        if (skin.blobs[slot.slot].empty()) {
            std::filesystem::remove(folder / slot.fileName, ignored);
        }
    }
    std::filesystem::remove_all(*temporary, ignored);
    return 0;
}

int Skin(const std::vector<path>& args) {
    const std::string action = PathText(args[1]);
    if (action == "pack" && args.size() == 4) {
        return PackSkin(args[2], args[3]);
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
    if (action == "unpack") {
        return UnpackSkin(*skin, args[2], args[3]);
    }
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

int Convert(const std::vector<path>& args) {
    if (args.size() != 7 || PathText(args[1]) != "--from" || PathText(args[3]) != "--to") {
        return Usage();
    }
    const auto from = TableFormatNamed(PathText(args[2]));
    const auto to = TableFormatNamed(PathText(args[4]));
    if (!from || !to) {
        return Fail("formats are tide, rime and fcitx");
    }
    const path& input = args[5];
    const path& output = args[6];
    if (!Distinct(input, output)) {
        return 1;
    }
    ReadError readError = ReadError::None;
    const auto source = MappedInput::Open(input, &readError);
    if (!source) {
        return ReadFailure(readError, input);
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

int Run(const std::vector<path>& args) {
    if (args.empty()) {
        return Usage();
    }
    const std::string command = PathText(args[0]);
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
    if (command == "convert") {
        return Convert(args);
    }
    return Usage();
}

} // namespace
} // namespace tide::tool

namespace tide::tool {
namespace {

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
        return Run(std::vector<path>(argv + 1, argv + argc));
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
