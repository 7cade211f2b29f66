// A word library's bytes used in place, as the input method shares them: the
// look-ups of the entry dialogs and the changes to user entries. Every call
// reads the header afresh from the bytes (the other process may have added
// entries since) and checks each offset before following it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/dict/CodeTableHeader.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"

namespace tide {

// Whether a code is one a library stores: "a"-"z" only, not empty.
bool IsLetterCode(std::u16string_view code);

// Room a library opened for writing gets past its UsedLength.
inline constexpr std::uint32_t kLibraryGrowthRoom = 65536;

class WordLibrary {
public:
    // `bytes` is the whole view (a writable view may extend past UsedLength).
    static std::optional<WordLibrary> Open(std::span<std::uint8_t> bytes, bool readOnly,
                                           LibraryOpenError* error = nullptr);

    bool readOnly() const { return readOnly_; }
    CodeTableHeader header() const;
    // A read-only view of the entries as they stand now; nothing when the
    // header has been damaged since the library was opened.
    std::optional<LibraryView> view() const;

    // The code of one character from the CharCodeTable; empty when it has none.
    std::u16string LookupCharCode(char32_t codePoint) const;

    struct CodeNode {
        std::uint32_t offset;
        std::u16string path; // the lower-cased letters that lead to it
    };
    // The node of a code's first three letters (lower-cased).
    std::optional<CodeNode> FindCodeNode(std::u16string_view code) const;

    bool ContainsEntry(std::u16string_view code, std::u16string_view word) const;

    enum class AddResult {
        Added,
        AlreadyPresent, // the library holds this code and word: nothing written
        Refused,        // read-only (for a new entry), a code that is empty or not
                        // "a"-"z" only, or damage
        Full,           // the record (and its missing nodes) would not fit below Capacity
    };
    // Appends a user entry (weight 251) unless the library holds it: one pass
    // down the code's path and along its node's records does both.
    AddResult AddUserEntry(std::u16string_view code, std::u16string_view word);

    // Unlinks the first record with this code and word; its bytes stay.
    bool RemoveEntry(std::u16string_view code, std::u16string_view word);

    // Sets Capacity (done when a library is opened for writing).
    void SetCapacity(std::uint32_t capacity);

private:
    WordLibrary(std::span<std::uint8_t> bytes, bool readOnly)
        : bytes_(bytes), readOnly_(readOnly) {}

    // The header fields that lead into the index, read afresh for every call
    // (the input method may have added entries since); nothing when they
    // cannot be right.
    struct IndexBounds {
        std::uint32_t root;
        std::uint32_t used; // UsedLength, within the bytes
        std::uint32_t capacity;
    };
    std::optional<IndexBounds> ReadIndexBounds() const;
    std::optional<CodeNode> FindCodeNode(const IndexBounds& bounds, std::u16string_view code) const;

    std::span<std::uint8_t> bytes_;
    bool readOnly_;
};

struct UserEntry {
    std::u16string code;
    std::u16string word;
    std::uint32_t weight;
};

// Every user entry (weight 251), in index order; nothing when the library
// turns out to be damaged.
std::optional<std::vector<UserEntry>> ListUserEntries(const LibraryView& library);

// Adds the entries of weights 252 and 253 to a library being compiled; false
// when one cannot be added or the library turns out to be damaged.
bool CarryUserEntries(const LibraryView& library, LibraryBuilder& builder);

} // namespace tide
