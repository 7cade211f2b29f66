// User entries in and out of text files: lines of "code TAB word" (a weight
// after a second TAB is ignored) or of a word alone, whose code is derived
// by the phrase rules. Export writes what import reads.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/dict/WordLibrary.h"

namespace tide {

enum class UserImportStop {
    None,           // every line was read
    EncodingFailed, // a word alone whose code cannot be derived
    IllegalCode,    // a code with anything but "a"-"z"
    LibraryFull,    // no room left for the entry of this line
    EntryRefused,   // a library that can no longer be written (read-only, or
                    // damaged by another writer meanwhile)
};

// How far an import got; passed back in to go on after making room.
struct UserImportProgress {
    std::size_t position = 0;   // in the text: where the next line to read starts
    std::size_t lineNumber = 0; // of the last line read, counted from 1
    std::size_t linesRead = 0;  // entry lines taken (blank lines are not entries)
    std::size_t imported = 0;
    UserImportStop stop = UserImportStop::None;
    std::u16string culprit; // the word or code of the line the import stopped at

    std::size_t alreadyPresent() const { return linesRead - imported; }
};

// Adds every new entry of `text` (the file's units after its byte-order
// mark) from `progress.position` on. Stops at the first line it cannot take;
// that line is not counted, and on LibraryFull the position stays at its
// start, so the import can go on once the library has room.
void ImportUserEntries(WordLibrary& library, std::u16string_view text,
                       UserImportProgress& progress);

// The file of `entries`: byte-order mark, then "code TAB word" lines ending
// in CR LF.
std::u16string UserEntriesText(std::span<const UserEntry> entries);

} // namespace tide
