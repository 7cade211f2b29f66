// Which end of the input method's text the word-making dialog proposes, and
// how Up and Down lengthen and shorten it. Lengths are UTF-16 units counted
// from the end of the text; a cut never falls inside a surrogate pair.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tide {

// The last `length` units of `text` (all of it when it is shorter).
std::u16string_view LastUnits(std::u16string_view text, std::size_t length);

// The proposal when the dialog opens: the last two units, empty for a text
// of one unit or none.
std::size_t ProposedLength(std::u16string_view text);

// One unit more than the word's `current` length; nothing (the key is
// ignored) once the word is as long as the text.
std::optional<std::size_t> LengthAfterUp(std::u16string_view text, std::size_t current);

// One unit less, but never more than the whole text: a word typed longer
// than the text becomes the whole text. Nothing when the word has fewer than
// three units or no word of at least two units is left.
std::optional<std::size_t> LengthAfterDown(std::u16string_view text, std::size_t current);

} // namespace tide
