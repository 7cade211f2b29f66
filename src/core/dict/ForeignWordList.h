// Word lists of other input methods, recognised by their content: Sogou cell
// dictionaries (.scel, binary), the text exports of pinyin input methods
// ("ni'hao 你好 1", "你好 ni'hao 1", "你好 1"), Rime's user dictionary
// exports and *.userdb.txt snapshots, fcitx5's pinyin export, plain word
// lists, and our own "code TAB word" form. Only the words are taken: the
// other method's codes mean nothing to this one's phrase rules. Text comes
// in UTF-16 (with or without byte-order mark), UTF-8, or else GB18030.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tide {

enum class WordListFormat {
    Ours,        // "code TAB word" lines of our own user-entry files
    Scel,        // a Sogou cell dictionary
    PinyinFirst, // pinyin then word ("'ni'hao 你好", "ni'hao 你好 1")
    WordFirst,   // word then pinyin or frequency ("你好 ni'hao 1", "你好 1")
    RimeExport,  // Rime's user dictionary export: word TAB code TAB weight
    RimeUserDb,  // Rime's *.userdb.txt: "#" header, code TAB word TAB c=… d=… t=…
    PlainWords,  // a word a line
};

// The words and codes are views into the text the list decoded, which it
// keeps (with every copy of it) wherever the list is moved.
struct ForeignWordList {
    WordListFormat format = WordListFormat::PlainWords;
    std::vector<std::u16string_view> words; // in the file's order, as they stand
    std::vector<std::u16string_view> codes; // Ours only: each word's code
    std::size_t linesWithoutWord = 0;       // non-empty lines that hold no word
    std::string scelName;                   // a cell dictionary's own name (UTF-8)
    std::string error;                      // set when the bytes are none of these
    std::shared_ptr<const void> text;       // what the words and codes lie in
};

// The format's name as the user dictionary tool shows it.
std::u16string_view WordListFormatName(WordListFormat format);
// The same for the command line (UTF-8).
std::string_view WordListFormatKey(WordListFormat format);

// True when the bytes start like a Sogou cell dictionary.
bool LooksLikeScel(std::span<const std::uint8_t> bytes);

// The format of a word list from its start (its first 64 KiB of lines);
// nothing for bytes that are neither a cell dictionary nor UTF-8, UTF-16 or
// GB18030 text.
std::optional<WordListFormat> RecogniseWordList(std::span<const std::uint8_t> bytes);

ForeignWordList ReadForeignWordList(std::span<const std::uint8_t> bytes);

} // namespace tide
