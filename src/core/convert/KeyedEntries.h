// What the writers of key-declaring formats (fcitx's KeyCode=, ibus-table's
// VALID_INPUT_CHARS) share: the entries a format's lines can hold, each one
// written, the others counted by reason, and the keys and longest code of
// those written.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/convert/TableModel.h"

namespace tide {

class KeyedEntries {
public:
    // Calls `write(entry)` for each entry whose code and word the format can
    // hold (`codeFits`, `wordFits`, both given non-empty text), in order,
    // and counts the others in `skipped`.
    template <typename CodeFits, typename WordFits, typename WriteLine>
    void Write(const LoadedTable& table, SkippedLines& skipped, CodeFits&& codeFits,
               WordFits&& wordFits, WriteLine&& write) {
        for (const TableEntry& entry : table.entries) {
            if (entry.word.empty()) {
                ++skipped.emptyWord;
            } else if (entry.code.empty()) {
                ++skipped.noCode;
            } else if (!codeFits(entry.code)) {
                ++skipped.codeOutsideKeys;
            } else if (!wordFits(entry.word)) {
                ++skipped.wordNotWritable;
            } else {
                for (const char c : entry.code) {
                    used_[static_cast<unsigned char>(c) & 0x7F] = true;
                }
                longest_ = std::max(longest_, entry.code.size());
                write(entry);
            }
        }
    }

    // The keys the written codes use in ASCII order; a-z when none was
    // written (a table needs keys).
    std::string Keys() const {
        std::string keys;
        for (std::size_t c = 0; c < used_.size(); ++c) {
            if (used_[c]) {
                keys += static_cast<char>(c);
            }
        }
        return keys.empty() ? "abcdefghijklmnopqrstuvwxyz" : keys;
    }

    // The longest written code, or the table's own code length when longer; at least 1.
    std::size_t Length(const TableInfo& info) const {
        return std::max(
            {longest_, static_cast<std::size_t>(std::max(info.codeLength, 0)), std::size_t{1}});
    }

private:
    std::array<bool, 128> used_{};
    std::size_t longest_ = 0;
};

} // namespace tide
