// Deriving a phrase's code from the codes of its characters by the library's
// phrase rules, and the checks the entry dialogs run on every edit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/dict/LibraryView.h"

namespace tide {

// Code points of UTF-16 text: a low surrogate does not count on its own.
std::size_t CountCodePoints(std::u16string_view text);
// The k-th code point (0 = first), a surrogate pair combined; 0 past the end.
char32_t CodePointAt(std::u16string_view text, std::size_t k);

// The phrase code of `word`, or empty when it cannot be derived: fewer than two
// characters, no phrase rules, or a character the rules need without a code.
std::u16string EncodePhrase(const LibraryView& library, std::u16string_view word);

enum class EntryCheckStatus : int {
    Valid = 1, // valid and new
    EmptyWord = 2,
    EmptyCode = 3,
    EncodingFailed = 4, // or the current library cannot be opened
    AlreadyExists = 5,
};

// Encodes `word` against `library` (null: it could not be opened) and checks
// for a duplicate; `code` receives the code for Valid and AlreadyExists.
// `contains` answers whether the library holds an entry.
template <typename Contains>
EntryCheckStatus AutoEncodeStatus(const LibraryView* library, std::u16string_view word,
                                  std::u16string& code, Contains&& contains) {
    code.clear();
    const std::size_t characters = CountCodePoints(word);
    if (characters == 0) {
        return EntryCheckStatus::EmptyWord;
    }
    if (characters == 1 || !library || library->header().PhraseRule == 0) {
        return EntryCheckStatus::EncodingFailed;
    }
    code = EncodePhrase(*library, word);
    if (code.empty()) {
        return EntryCheckStatus::EncodingFailed;
    }
    return contains(code, word) ? EntryCheckStatus::AlreadyExists : EntryCheckStatus::Valid;
}

// Checks a word with a code typed by hand.
template <typename Contains>
EntryCheckStatus CheckEntryStatus(bool libraryOpened, std::u16string_view word,
                                  std::u16string_view code, Contains&& contains) {
    if (word.empty()) {
        return EntryCheckStatus::EmptyWord;
    }
    if (code.empty()) {
        return EntryCheckStatus::EmptyCode;
    }
    if (!libraryOpened) {
        return EntryCheckStatus::EncodingFailed;
    }
    return contains(code, word) ? EntryCheckStatus::AlreadyExists : EntryCheckStatus::Valid;
}

} // namespace tide
