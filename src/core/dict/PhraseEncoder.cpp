#include "core/dict/PhraseEncoder.h"

#include <algorithm>

#include "core/base/Utf16.h"

namespace tide {

std::size_t CountCodePoints(std::u16string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char16_t c) { return !IsLowSurrogate(c); }));
}

char32_t CodePointAt(std::u16string_view text, std::size_t k) {
    std::size_t index = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLowSurrogate(text[i])) {
            continue;
        }
        if (index++ == k) {
            if (IsPairAt(text, i)) {
                return CombineSurrogates(text[i], text[i + 1]);
            }
            return text[i];
        }
    }
    return 0;
}

PhraseEncoder::PhraseEncoder(const LibraryView& library)
    : library_(library),
      ruleCount_(library.header().PhraseRule == 1
                     ? 3
                     : std::min<std::size_t>(library.header().PhraseRule, kRuleSlotCount)),
      elementLimit_(std::min<std::size_t>(library.header().CodeLength, kRuleElementCount)) {
    for (std::size_t characters = 0; characters < recipes_.size(); ++characters) {
        recipes_[characters] = RecipeFor(characters);
    }
}

PhraseEncoder::Recipe PhraseEncoder::RecipeFor(std::size_t characters) const {
    Recipe recipe;
    if (characters < 2 || ruleCount_ == 0) {
        return recipe;
    }
    const RuleSlot& rule = library_.header().Rules[std::min(characters - 2, ruleCount_ - 1)];
    bool giving = true;
    for (std::size_t i = 0; i < elementLimit_; ++i) {
        const RuleElement& element = rule.elements[i];
        if (element.fromEnd == 0 && element.charNumber == 0 && element.letterNumber == 0) {
            break;
        }
        // A character number outside the phrase gives no letter, nor does
        // any element after it.
        if (element.charNumber == 0 || element.charNumber > characters) {
            giving = false;
            continue;
        }
        giving = giving && element.letterNumber != 0;
        const std::size_t position =
            element.fromEnd == 0 ? element.charNumber - 1u : characters - element.charNumber;
        recipe.takes[recipe.count++] = {static_cast<std::uint32_t>(position), element.letterNumber};
        if (giving) {
            recipe.giving = recipe.count;
        }
    }
    return recipe;
}

bool PhraseEncoder::Encode(std::u16string_view word, std::u16string& code) const {
    code.clear();
    const std::size_t characters = CountCodePoints(word);
    if (characters < 2 || ruleCount_ == 0) {
        return false;
    }
    return characters < recipes_.size() ? Follow(recipes_[characters], word, characters, code)
                                        : Follow(RecipeFor(characters), word, characters, code);
}

bool PhraseEncoder::Follow(const Recipe& recipe, std::u16string_view word, std::size_t characters,
                           std::u16string& code) const {
    // Without surrogate pairs each unit is one character, found without a count.
    const bool unitPerCharacter = characters == word.size();
    char16_t letters[kRuleElementCount];
    std::size_t count = 0;
    std::size_t giving = recipe.giving;
    // Rules take letters of a character in a row: its code is looked up once.
    std::uint32_t coded = static_cast<std::uint32_t>(characters); // no character yet
    std::string_view charCode;
    for (std::size_t i = 0; i < recipe.count; ++i) {
        const Recipe::Take take = recipe.takes[i];
        if (take.position != coded) {
            coded = take.position;
            charCode = library_.PhraseCharCode(unitPerCharacter ? char32_t{word[take.position]}
                                                                : CodePointAt(word, take.position));
            if (charCode.empty()) {
                return false; // a character without a code: no phrase code at all
            }
        }
        if (i < giving) {
            if (take.letter > charCode.size()) {
                giving = i; // the code ran out: no further letters
            } else {
                letters[count++] = static_cast<unsigned char>(charCode[take.letter - 1]);
            }
        }
    }
    code.assign(letters, count);
    return count != 0;
}

std::optional<PhraseEncoder> EncoderFor(const std::optional<LibraryView>& library) {
    return library ? std::optional<PhraseEncoder>(std::in_place, *library) : std::nullopt;
}

std::u16string EncodePhrase(const LibraryView& library, std::u16string_view word) {
    std::u16string code;
    PhraseEncoder(library).Encode(word, code);
    return code;
}

} // namespace tide
