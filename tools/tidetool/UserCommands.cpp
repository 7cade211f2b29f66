// The user-entry commands: user list, add, remove, import and export.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "FileIo.h"
#include "core/dict/CodeTableText.h"
#include "core/dict/ForeignImport.h"
#include "core/dict/ForeignWordList.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryLayout.h"
#include "core/dict/LibraryView.h"
#include "core/dict/UserEntryFile.h"
#include "core/dict/WordLibrary.h"

namespace tide::tool {

namespace {

using std::filesystem::path;

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

// The library opened with `room` to grow into and `import` run on it (true
// when it stopped for room), the room doubled until the import is through:
// no input method holds this library, so it grows as far as the import
// needs. Nothing (with the reason printed) past the largest library.
template <typename Import>
std::optional<WordLibrary> ImportGrowing(GrowableBytes& bytes, std::size_t room,
                                         const path& libraryFile, Import&& import) {
    auto library = OpenWithRoom(bytes, room);
    while (import(*library)) {
        if (bytes.size() >= kMaxLibraryBytes) {
            Fail("too large for a word library: " + PathText(libraryFile));
            return std::nullopt;
        }
        room *= 2;
        library = OpenWithRoom(bytes, room);
    }
    return library;
}

enum class Change { Add, Remove };

int ChangeUserEntry(Arguments arguments, Change change) {
    const path& libraryFile = arguments[0];
    // Room to grow in place: the library is not moved while entries are added.
    auto bytes = ReadLibraryFile(libraryFile, kLibraryGrowthRoom);
    if (!bytes) {
        return 1;
    }
    const auto codeText = ArgumentText(arguments[1]);
    const auto wordText = ArgumentText(arguments[2]);
    if (!codeText || !wordText) {
        return Fail("not valid Unicode text: " + PathText(arguments[codeText ? 2 : 1]));
    }
    const std::u16string& code = *codeText;
    const std::u16string& word = *wordText;
    // Work as the manager does on a mapped library: with room to grow.
    auto library = OpenWithRoom(*bytes, kLibraryGrowthRoom);
    if (change == Change::Add) {
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

} // namespace

int UserList(Arguments arguments) {
    const path& libraryFile = arguments[0];
    const auto bytes = ReadLibraryFile(libraryFile);
    if (!bytes) {
        return 1;
    }
    const auto entries = ListUserEntries(*LibraryView::Open(*bytes));
    if (!entries) {
        return Fail("damaged word library: " + PathText(libraryFile));
    }
    for (const auto& entry : *entries) {
        PrintLine(stdout, Utf8(entry.code) + "\t" + Utf8(entry.word));
    }
    return 0;
}

int UserAdd(Arguments arguments) {
    return ChangeUserEntry(arguments, Change::Add);
}

int UserRemove(Arguments arguments) {
    return ChangeUserEntry(arguments, Change::Remove);
}

// Another input method's words, coded by the library's rules; what was
// passed over is counted (and with `listSkipped` listed).
int ImportForeign(const path& libraryFile, const path& textFile, GrowableBytes& bytes,
                  const ForeignWordList& list, bool listSkipped) {
    ForeignImportProgress progress;
    progress.listSkipped = listSkipped;
    auto library =
        ImportGrowing(bytes, ForeignImportRoom(list.words), libraryFile, [&](WordLibrary& into) {
            ImportForeignWords(into, list.words, progress);
            return progress.stop == UserImportStop::LibraryFull;
        });
    if (!library) {
        return 1;
    }
    if (progress.stop == UserImportStop::EntryRefused) {
        return Fail(PathText(textFile) + ": the library refused the entry " +
                    Utf8(progress.culprit) + " (nothing written)");
    }
    PrintLine(stdout, "format: " + std::string(WordListFormatKey(list.format)) + " (" +
                          Utf8(WordListFormatName(list.format)) + ")");
    const ForeignImportCounts& counts = progress.counts;
    PrintLine(stdout, "words " + std::to_string(counts.words) + ", single characters " +
                          std::to_string(counts.singleCharacters) + ", no code " +
                          std::to_string(counts.noCode) + ", already present " +
                          std::to_string(counts.alreadyPresent) + ", imported " +
                          std::to_string(counts.imported));
    if (listSkipped) {
        constexpr std::string_view kReasons[] = {"single character", "no code", "already present"};
        std::string lines;
        for (const auto& [index, reason] : progress.skipped) {
            lines += "skipped: " + Utf8(list.words[index]) + " (" +
                     std::string(kReasons[static_cast<int>(reason)]) + ")\n";
        }
        Print(stdout, lines);
    }
    return counts.imported == 0 ? 0 : WriteLibrary(libraryFile, bytes, *library);
}

int UserImport(Arguments arguments) {
    const path& libraryFile = arguments[0];
    const path& textFile = arguments[1];
    const bool listSkipped = arguments.size() == 3;
    if (listSkipped && PathText(arguments[2]) != "--list-skipped") {
        return kUsageError;
    }
    // The library is read into room the whole text surely fits in, so that it
    // is not moved while entries are added.
    std::size_t spare = kLibraryGrowthRoom;
    std::error_code sizeError;
    const std::uintmax_t textBytes = std::filesystem::file_size(textFile, sizeError);
    if (!sizeError) {
        spare = ImportRoom(
            static_cast<std::size_t>(std::min<std::uintmax_t>(textBytes / 2, kMaxLibraryBytes)));
    }
    auto read = ReadLibraryFile(libraryFile, spare);
    if (!read) {
        return 1;
    }
    GrowableBytes& bytes = *read;
    const auto input = OpenTextInputFor(textFile, libraryFile);
    if (!input) {
        return 1;
    }
    // Our own form is imported as it always was, line by line; another
    // input method's list is read whole first.
    const std::string_view raw = input->Bytes();
    const std::span<const std::uint8_t> rawBytes(reinterpret_cast<const std::uint8_t*>(raw.data()),
                                                 raw.size());
    const std::optional<WordListFormat> format = RecogniseWordList(rawBytes);
    if (format && *format != WordListFormat::Ours) {
        const ForeignWordList foreign = ReadForeignWordList(rawBytes);
        if (!foreign.error.empty()) {
            return Fail(foreign.error + ": " + PathText(textFile));
        }
        return ImportForeign(libraryFile, textFile, bytes, foreign, listSkipped);
    }
    const std::u16string_view units = input->Units();
    if (units.empty() || units.front() != kByteOrderMark) {
        return Fail("not UTF-16 text with a byte-order mark: " + PathText(textFile));
    }
    UserImportProgress progress;
    auto library =
        ImportGrowing(bytes, ImportRoom(units.size()), libraryFile, [&](WordLibrary& into) {
            ImportUserEntries(into, units.substr(1), progress);
            return progress.stop == UserImportStop::LibraryFull;
        });
    if (!library) {
        return 1;
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

int UserExport(Arguments arguments) {
    const path& libraryFile = arguments[0];
    const path& textFile = arguments[1];
    const auto bytes = ReadLibraryFileFor(libraryFile, textFile);
    if (!bytes) {
        return 1;
    }
    const auto entries = ListUserEntries(*LibraryView::Open(*bytes));
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

} // namespace tide::tool
