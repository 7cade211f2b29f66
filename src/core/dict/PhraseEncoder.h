// Deriving a phrase's code from the codes of its characters by the library's
// phrase rules, and the checks the entry dialogs run on every edit.
#pragma once

#include <array>
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

// Derives phrase codes by one library's rules, for the many words of an
// import or a statistics run: what every word needs is worked out once. It
// reads the view's header and table in place: the view must outlive it.
class PhraseEncoder {
public:
    explicit PhraseEncoder(const LibraryView& library);

    // The phrase code of `word` into `code`; false, with `code` empty, when it
    // cannot be derived: fewer than two characters, no phrase rules, or a
    // character the rules need without a code.
    bool Encode(std::u16string_view word, std::u16string& code) const;

private:
    // What a rule asks of a phrase with a given number of characters: which
    // character's code, and which letter of it, in the rule's order.
    struct Recipe {
        struct Take {
            std::uint32_t position; // of the character, 0 = first
            std::uint32_t letter;   // 1 = the code's first letter
        };
        std::array<Take, kRuleElementCount> takes{};
        std::size_t count = 0; // takes in use
        // The takes before this one give letters; those after only need their
        // characters to have codes (a rule's letters end at an element naming
        // no character or no letter, or at a code that is too short).
        std::size_t giving = 0;
    };
    Recipe RecipeFor(std::size_t characters) const;
    // Encodes a word of `characters` characters by its recipe.
    bool Follow(const Recipe& recipe, std::u16string_view word, std::size_t characters,
                std::u16string& code) const;

    const LibraryView& library_;
    std::size_t ruleCount_;    // rule slots in use; 0: the library has no rules
    std::size_t elementLimit_; // elements a rule may have: the code length, at most 12
    // The recipes of phrases of up to one more character than there are
    // rule slots; longer phrases all use the last slot, their recipes made
    // as they come.
    std::array<Recipe, kRuleSlotCount + 2> recipes_;
};

// The encoder of `library`, when it could be opened.
std::optional<PhraseEncoder> EncoderFor(const std::optional<LibraryView>& library);

// The phrase code of `word`, or empty (see PhraseEncoder::Encode).
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
