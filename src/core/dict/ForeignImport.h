// Words from another input method's list added as user entries, each coded
// by this library's phrase rules. A best-effort merge: a single character
// (the rules code phrases only), a word with a character the library has no
// code for, and a word the library holds already are counted and passed
// over, and none of them stops the import.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/dict/UserEntryFile.h"
#include "core/dict/WordLibrary.h"

namespace tide {

enum class ForeignSkip { SingleCharacter, NoCode, AlreadyPresent };

struct ForeignImportCounts {
    std::size_t words = 0;
    std::size_t singleCharacters = 0;
    std::size_t noCode = 0;
    std::size_t alreadyPresent = 0; // in the library, or earlier in the list
    std::size_t imported = 0;       // or, counted beforehand, importable
};

// What importing `words` would do, writing nothing.
ForeignImportCounts CountForeignWords(const WordLibrary& library,
                                      std::span<const std::u16string_view> words);

// How far an import got; passed back in to go on after making room.
struct ForeignImportProgress {
    std::size_t next = 0; // the index of the next word to take
    ForeignImportCounts counts;
    UserImportStop stop = UserImportStop::None; // LibraryFull or EntryRefused, or None
    std::u16string culprit;
    // Each word passed over, by its index, with the reason, when
    // `listSkipped` asks for them (a list of 100,000 words may pass over
    // most of them).
    bool listSkipped = false;
    std::vector<std::pair<std::size_t, ForeignSkip>> skipped;
};

// Room past a library's used length that importing `words` surely fits in:
// a record each, with a code as long as any, and up to three new index nodes
// each, of which the whole index holds kMaxIndexNodes.
std::size_t ForeignImportRoom(std::span<const std::u16string_view> words);

// Adds the words from `progress.next` on. Stops only when the library is
// full (the word is then taken again once it has room) or refuses an entry.
void ImportForeignWords(WordLibrary& library, std::span<const std::u16string_view> words,
                        ForeignImportProgress& progress);

} // namespace tide
