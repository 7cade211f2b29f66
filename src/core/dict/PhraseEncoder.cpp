#include "core/dict/PhraseEncoder.h"

#include <algorithm>

#include "core/base/Utf16.h"
#include "core/dict/CharSlots.h"

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

std::u16string EncodePhrase(const LibraryView& library, std::u16string_view word) {
    const CodeTableHeader& header = library.header();
    const std::size_t characters = CountCodePoints(word);
    if (characters < 2 || header.PhraseRule == 0) {
        return {};
    }
    const std::size_t rules = header.PhraseRule == 1 ? 3 : header.PhraseRule;
    const std::size_t slot = std::min(characters - 2, rules - 1);
    if (slot >= kRuleSlotCount) {
        return {};
    }
    const RuleSlot& rule = header.Rules[slot];
    // Without surrogate pairs each unit is one character, found without a count.
    const bool unitPerCharacter = characters == word.size();
    char16_t code[kRuleElementCount];
    std::size_t letters = 0;
    bool ended = false; // a character's code ran out: no further letters
    // Rules take letters of a character in a row: its code is looked up once.
    std::size_t codePosition = characters; // no character's yet
    std::string_view charCode;
    for (std::size_t i = 0; i < header.CodeLength && i < kRuleElementCount; ++i) {
        const RuleElement& element = rule.elements[i];
        if (element.fromEnd == 0 && element.charNumber == 0 && element.letterNumber == 0) {
            break;
        }
        // A character number outside the phrase gives no letter.
        if (element.charNumber == 0 || element.charNumber > characters) {
            ended = true;
            continue;
        }
        const std::size_t position =
            element.fromEnd == 0 ? element.charNumber - 1u : characters - element.charNumber;
        if (position != codePosition) {
            codePosition = position;
            const char32_t character =
                unitPerCharacter ? char32_t{word[position]} : CodePointAt(word, position);
            charCode = library.CharCodeBytes(CharSlotIndex(character));
            if (charCode.empty()) {
                return {}; // a character without a code: no phrase code at all
            }
            if (header.BWCodeLength != 0) {
                const auto slash = charCode.find('/');
                if (slash != std::string_view::npos) {
                    charCode.remove_prefix(slash + 1); // the second code
                }
            }
        }
        if (element.letterNumber == 0 || element.letterNumber > charCode.size()) {
            ended = true;
        }
        if (!ended) {
            code[letters++] = static_cast<unsigned char>(charCode[element.letterNumber - 1u]);
        }
    }
    return std::u16string(code, letters);
}

} // namespace tide
