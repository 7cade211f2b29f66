// Read access to a word library's bytes (a mapped file or a buffer). A library
// is outside data: every offset is checked against UsedLength and the view
// before it is followed, and links must point forward (the format only ever
// appends), so a damaged file ends a walk early instead of looping or
// reading outside the view. A whole walk also claims the bytes of every node
// and record it visits: two nodes leading to the same child, or records
// sharing bytes, are damage, so a walk's work is bounded by the library's size.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/ByteIo.h"
#include "core/dict/CodeTableHeader.h"
#include "core/dict/LibraryLayout.h"

namespace tide {

enum class LibraryOpenError {
    None,
    NotALibrary, // too short to hold a header
    Damaged,     // a header whose offsets or widths cannot be right
};

struct LibraryEntry {
    std::u16string_view code; // full code: index path and tail
    std::u16string_view word;
    std::uint32_t weight;
    std::uint32_t offset; // of the record
};

class LibraryView {
public:
    static std::optional<LibraryView> Open(std::span<const std::uint8_t> bytes,
                                           LibraryOpenError* error = nullptr);
    // Whether header fields can be right for a library in `size` bytes: the
    // checks opening makes, for a reader that takes the fields one by one.
    static bool HeaderFieldsFit(std::uint32_t rootOffset, std::uint32_t usedLength,
                                std::size_t slotWidth, std::uint8_t phraseRule, std::size_t size) {
        return usedLength <= size && rootOffset >= kHeaderSize &&
               RangeFits(rootOffset, kIndexNodeSize, usedLength) && slotWidth != 0 &&
               slotWidth <= kMaxCharCodeWidth && phraseRule <= kRuleSlotCount;
    }

    const CodeTableHeader& header() const { return header_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    // Visits every entry below the root in index order: by the first three
    // letters, a shorter prefix before its extensions, insertion order among
    // codes sharing a node. The root's own records (empty codes) are skipped.
    // False when the walk met damage and stopped there (the entries visited
    // so far are not the library's).
    template <typename Visit>
    bool ForEachEntry(Visit&& visit) const;

    // Walks the whole index once, visiting nothing: false when it meets damage.
    bool Verify() const { return Walk(nullptr, nullptr); }

    // Looks through the records of `node` for the code tail `tail` (the code
    // past the node's path letters) and the word `word`, comparing in place.
    struct RecordSearch {
        bool found = false;
        // The link field that ends the node's chain, where a record appended
        // now is linked (the node's own first-record field when it has none);
        // when found, the one that leads to the record.
        std::uint32_t endLink = 0;
    };
    RecordSearch FindRecord(std::uint32_t node, std::u16string_view tail,
                            std::u16string_view word) const {
        return node >= header_.RootOffset && RangeFitsView(node, kIndexNodeSize)
                   ? FindRecordIn(bytes_, node, tail, word)
                   : RecordSearch{};
    }
    // The same search in a library's first UsedLength bytes `used`, without
    // a view, for a caller that has found `node` lying whole inside them.
    static RecordSearch FindRecordIn(std::span<const std::uint8_t> used, std::uint32_t node,
                                     std::u16string_view tail, std::u16string_view word);
    bool HoldsRecord(std::uint32_t node, std::u16string_view tail, std::u16string_view word) const {
        return FindRecord(node, tail, word).found;
    }

    // Visits the records of one node, whose path letters are `path`.
    template <typename Visit>
    void ForEachRecordOf(std::uint32_t node, std::u16string_view path, Visit&& visit) const;

    // The code stored in the CharCodeTable slot `slot` (empty when none).
    std::u16string CharCode(std::uint32_t slot) const;
    // The same as the slot's bytes, without a copy.
    std::string_view CharCodeBytes(std::uint32_t slot) const;
    // The code in the slot of `character`: its second code (after "/") where
    // the library has them; empty when there is none.
    std::string_view PhraseCharCode(char32_t character) const;

private:
    // Only Open names the key: the constructor must be public for
    // std::optional to reach it.
    struct OpenKey {
        explicit OpenKey() = default;
    };

public:
    // The view of `bytes` with a copy of their header, not yet checked.
    LibraryView(OpenKey, std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        std::memcpy(&header_, bytes.data(), kHeaderSize);
    }

private:
    // Null for a walk that only checks.
    using EntryCallback = void (*)(void* context, const LibraryEntry& entry);
    class Claims;
    bool Walk(EntryCallback callback, void* context) const;
    bool WalkNode(std::uint32_t node, std::size_t depth, std::u16string& prefix,
                  EntryCallback callback, void* context, Claims& claims) const;
    // False on damage. With `claims`, every byte read is claimed and a byte
    // claimed before is damage.
    bool VisitRecords(std::uint32_t node, std::u16string& code, EntryCallback callback,
                      void* context, Claims* claims) const;

    bool RangeFitsView(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::span<const std::uint8_t> bytes_; // the first UsedLength bytes
    CodeTableHeader header_;
    // The CharCodeTable, worked out at opening: its slots' width, the last
    // slot wholly before the index (0: none), and the bits of a slot's bytes
    // among eight read from it.
    std::size_t slotWidth_ = 0;
    std::uint32_t lastSlot_ = 0;
    std::uint64_t slotMask_ = ~std::uint64_t{0};
};

template <typename Visit>
void LibraryView::ForEachRecordOf(std::uint32_t node, std::u16string_view path,
                                  Visit&& visit) const {
    if (node < header_.RootOffset || !RangeFitsView(node, kIndexNodeSize)) {
        return;
    }
    std::u16string code(path);
    VisitRecords(
        node, code,
        [](void* context, const LibraryEntry& entry) { (*static_cast<Visit*>(context))(entry); },
        &visit, nullptr);
}

template <typename Visit>
bool LibraryView::ForEachEntry(Visit&& visit) const {
    return Walk(
        [](void* context, const LibraryEntry& entry) { (*static_cast<Visit*>(context))(entry); },
        &visit);
}

} // namespace tide
