// Compiling a code table into a word library: pass 1 counts the entries and
// fills the CharCodeTable, pass 2 builds the code index and the records.
// Both passes are single scans; a record is linked in O(1) because every node
// remembers its last record.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/dict/CodeTableHeader.h"
#include "core/dict/LibraryLayout.h"

namespace tide {

// A library's lengths and offsets are 32-bit.
inline constexpr std::size_t kMaxLibraryBytes = 0xFFFFFFFFu;

// The growing bytes of a new library and the state to append entries to it.
class LibraryBuilder {
public:
    // Starts a library with `header`, reserving room for a table of
    // `textBytes` bytes (the buffer grows if the guess is short). The library
    // may grow to `maxBytes`; an entry past that is refused (tooLarge()).
    LibraryBuilder(const CodeTableHeader& header, std::size_t textBytes,
                   std::size_t maxBytes = kMaxLibraryBytes);

    // Offers the code of a single character to its CharCodeTable slot: the
    // longest code stays; of equal lengths, the last one offered.
    void OfferCharCode(std::uint32_t slot, std::u16string_view code);
    // Ends the CharCodeTable after its highest used slot and starts the index;
    // false when even the root does not fit.
    bool StartIndex();
    // Appends a record under the node of the code's first three letters.
    // The code must hold "a"-"z" only (a second code after "/" is cut off by
    // the caller); returns false for any other code, and when the library
    // would grow past its largest size.
    bool AppendEntry(std::u16string_view code, std::u16string_view word, std::uint32_t weight);
    // The same for a code and word already known to be valid (a table entry
    // that passed pass 1); false only when the library would grow too large.
    bool AppendCheckedEntry(std::u16string_view code, std::u16string_view word,
                            std::uint32_t weight);

    CodeTableHeader& header() { return header_; }
    // Whether an entry was refused for want of room in 32-bit offsets.
    bool tooLarge() const { return tooLarge_; }
    // The finished library: header with counts, offsets and UsedLength.
    std::vector<std::uint8_t> Finish() &&;

private:
    // Makes room for `bytes` more; false (and tooLarge) past the largest size.
    bool EnsureRoom(std::size_t bytes);
    std::uint32_t AppendNode();
    void PutU32(std::size_t offset, std::uint32_t value);

    CodeTableHeader header_;
    std::size_t slotWidth_;
    std::vector<std::uint8_t> bytes_;
    std::size_t used_ = 0;
    std::size_t maxBytes_;
    bool tooLarge_ = false;
    std::uint32_t highestSlot_ = 0;
    // Keyed by the node's path: ((l1 * 27) + l2) * 27 + l3 with letters 1-26
    // and 0 for none (the root is key 0).
    static constexpr std::size_t kPathKeys = 27 * 27 * 27;
    std::vector<std::uint32_t> nodeOffset_;
    std::vector<std::uint32_t> lastRecord_;
};

// How far a compile got: the text (reading, header) or the library (the
// entries, the carried user entries).
enum class CompileStage { Text, Entries, Carry, Done };

struct CompileResult {
    bool ok = false;
    CompileStage stage = CompileStage::Text; // where it stopped
    bool tooLarge = false;                   // the text or the library exceeds 4 GiB
    std::u16string message;                  // for the user when the compile failed; may be empty
    std::vector<std::uint8_t> library;       // the UsedLength bytes of the new library
};

// Adds the entries that a new library inherits from the current one; returns
// false when they could not be had (the compile then fails).
using CarryEntries = std::function<bool(LibraryBuilder&)>;

// Compiles a code table file given as its UTF-16 units (byte-order mark
// included; `fileBytes` is the file's size). Nothing is written anywhere: the
// caller stores `library` only when `ok` is set. `maxLibraryBytes` is the
// format's limit (smaller only in tests).
CompileResult CompileCodeTableText(std::u16string_view fileUnits, std::size_t fileBytes,
                                   const CarryEntries& carry = nullptr,
                                   std::size_t maxLibraryBytes = kMaxLibraryBytes);

// The same for the file's bytes as read.
CompileResult CompileCodeTableText(std::span<const std::uint8_t> fileBytes,
                                   const CarryEntries& carry = nullptr);

// The message for an illegal code element on line `line` of the file; only
// the beginning of a long code is quoted.
std::u16string IllegalCodeMessage(std::size_t line, std::u16string_view code);

} // namespace tide
