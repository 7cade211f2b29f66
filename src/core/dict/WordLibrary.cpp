#include "core/dict/WordLibrary.h"

#include <algorithm>
#include <cstring>

#include "core/base/ByteIo.h"
#include "core/dict/CharSlots.h"

namespace tide {
namespace {

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
}

} // namespace

bool IsLetterCode(std::u16string_view code) {
    for (const char16_t c : code) {
        if (c < u'a' || c > u'z') {
            return false;
        }
    }
    return !code.empty();
}

std::optional<WordLibrary> WordLibrary::Open(std::span<std::uint8_t> bytes, bool readOnly,
                                             LibraryOpenError* error) {
    if (!LibraryView::Open(bytes, error)) {
        return std::nullopt;
    }
    return WordLibrary(bytes, readOnly);
}

CodeTableHeader WordLibrary::header() const {
    CodeTableHeader header;
    std::memcpy(&header, bytes_.data(), kHeaderSize);
    return header;
}

std::optional<LibraryView> WordLibrary::view() const {
    // Valid at open; if the other process has broken the header since, the
    // library shows nothing rather than anything outside the bytes.
    return LibraryView::Open(bytes_);
}

std::u16string WordLibrary::LookupCharCode(char32_t codePoint) const {
    const auto library = view();
    return library ? library->CharCode(CharSlotIndex(codePoint)) : std::u16string();
}

std::optional<WordLibrary::IndexBounds> WordLibrary::ReadIndexBounds() const {
    // Opening checked that the bytes hold a header; they are checked again
    // as opening checks them, so that a header broken since refuses every
    // change alike.
    const std::uint8_t* const header = bytes_.data();
    const IndexBounds bounds{
        LoadU32(header + offsetof(CodeTableHeader, RootOffset)),
        LoadU32(header + offsetof(CodeTableHeader, UsedLength)),
        LoadU32(header + offsetof(CodeTableHeader, Capacity)),
    };
    const std::size_t slotWidth = SlotWidthFor(header[offsetof(CodeTableHeader, CodeLength)],
                                               header[offsetof(CodeTableHeader, BWCodeLength)]);
    if (!LibraryView::HeaderFieldsFit(bounds.root, bounds.used, slotWidth,
                                      header[offsetof(CodeTableHeader, PhraseRule)],
                                      bytes_.size())) {
        return std::nullopt;
    }
    return bounds;
}

std::optional<WordLibrary::CodeNode> WordLibrary::FindCodeNode(std::u16string_view code) const {
    const auto bounds = ReadIndexBounds();
    return bounds ? FindCodeNode(*bounds, code) : std::nullopt;
}

std::optional<WordLibrary::CodeNode> WordLibrary::FindCodeNode(const IndexBounds& bounds,
                                                               std::u16string_view code) const {
    CodeNode node{bounds.root, {}};
    for (std::size_t i = 0; i < std::min(code.size(), kIndexDepth); ++i) {
        const char16_t letter = LowerAscii(code[i]);
        if (letter < u'a' || letter > u'z') {
            return std::nullopt;
        }
        // `node` lies whole within the used bytes, its slots with it.
        const std::uint32_t child = LoadU32(bytes_.data() + node.offset + 4 * (letter - u'a'));
        if (child <= node.offset || !RangeFits(child, kIndexNodeSize, bounds.used)) {
            return std::nullopt;
        }
        node.offset = child;
        node.path.push_back(letter);
    }
    return node;
}

bool WordLibrary::ContainsEntry(std::u16string_view code, std::u16string_view word) const {
    const auto bounds = ReadIndexBounds();
    const auto node = bounds ? FindCodeNode(*bounds, code) : std::nullopt;
    // Codes compare exactly: the path letters are lower case.
    if (!node || code.substr(0, node->path.size()) != node->path) {
        return false;
    }
    return LibraryView::FindRecordIn(bytes_.first(bounds->used), node->offset,
                                     code.substr(node->path.size()), word)
        .found;
}

WordLibrary::AddResult WordLibrary::AddUserEntry(std::u16string_view code,
                                                 std::u16string_view word) {
    if (!IsLetterCode(code) || word.find(u'\0') != std::u16string_view::npos) {
        return AddResult::Refused;
    }
    const auto bounds = ReadIndexBounds();
    if (!bounds) {
        return AddResult::Refused;
    }
    const std::span<const std::uint8_t> entries = bytes_.first(bounds->used);
    const std::size_t limit = std::min<std::size_t>(bounds->capacity, bytes_.size());

    // Down the path as far as it exists; a slot that does not lead forward to
    // a whole node gets a new one.
    const std::size_t depth = std::min(code.size(), kIndexDepth);
    std::uint32_t node = bounds->root;
    std::size_t reached = 0;
    for (; reached < depth; ++reached) {
        // `node` lies whole inside the entries, its slots with it.
        const std::uint32_t child = LoadU32(entries.data() + node + 4 * (code[reached] - u'a'));
        if (child <= node || !RangeFits(child, kIndexNodeSize, bounds->used)) {
            break;
        }
        node = child;
    }
    std::uint32_t link = 0; // where the record is linked; in a new node when 0
    if (reached == depth) {
        const LibraryView::RecordSearch search =
            LibraryView::FindRecordIn(entries, node, code.substr(depth), word);
        if (search.found) {
            return AddResult::AlreadyPresent;
        }
        link = search.endLink;
    }
    if (readOnly_) {
        return AddResult::Refused;
    }
    const std::size_t size = RecordSize(code.size(), word.size());
    if (!RangeFits(bounds->used, (depth - reached) * kIndexNodeSize + size, limit)) {
        return AddResult::Full;
    }

    ByteWriter writer(bytes_);
    std::uint32_t used = bounds->used;
    for (std::size_t i = reached; i < depth; ++i) {
        std::memset(bytes_.data() + used, 0, kIndexNodeSize);
        writer.PutU32(node + 4 * (code[i] - u'a'), used);
        node = used;
        used += kIndexNodeSize;
    }
    if (link == 0) {
        link = static_cast<std::uint32_t>(node + kNodeFirstRecordField);
    }
    const std::uint32_t record = used;
    std::uint8_t* out = bytes_.data() + record;
    std::memset(out, 0, size);
    writer.PutU32(record + kRecordWeightField, kWeightUser);
    for (std::size_t i = depth; i < code.size(); ++i) {
        out[kRecordTailField + i - depth] = static_cast<std::uint8_t>(code[i]);
    }
    // The word as little-endian UTF-16: the units' own layout on every target.
    const std::size_t wordOffset = kRecordTailField + (code.size() - depth) + 1;
    if (!word.empty()) {
        std::memcpy(out + wordOffset, word.data(), 2 * word.size());
    }
    used += static_cast<std::uint32_t>(size);
    // The record is whole before it is linked and counted: a reader sharing
    // the bytes sees it entirely or not at all.
    writer.PutU32(link, record);
    writer.PutU32(offsetof(CodeTableHeader, UsedLength), used);
    return AddResult::Added;
}

bool WordLibrary::RemoveEntry(std::u16string_view code, std::u16string_view word) {
    if (readOnly_) {
        return false;
    }
    const auto node = FindCodeNode(code);
    if (!node) {
        return false;
    }
    const auto library = view();
    if (!library) {
        return false;
    }
    std::optional<std::uint32_t> link;
    std::uint32_t next = 0;
    std::uint32_t linkField = node->offset + kNodeFirstRecordField;
    library->ForEachRecordOf(node->offset, node->path, [&](const LibraryEntry& entry) {
        if (!link && entry.code == code && entry.word == word) {
            link = linkField;
            next = ByteReader(bytes_).U32(entry.offset + kRecordNextField).value_or(0);
        }
        linkField = entry.offset + kRecordNextField;
    });
    if (!link) {
        return false;
    }
    ByteWriter(bytes_).PutU32(*link, next);
    return true;
}

void WordLibrary::SetCapacity(std::uint32_t capacity) {
    if (!readOnly_) {
        ByteWriter(bytes_).PutU32(offsetof(CodeTableHeader, Capacity), capacity);
    }
}

std::optional<std::vector<UserEntry>> ListUserEntries(const LibraryView& library) {
    std::vector<UserEntry> entries;
    const bool whole = library.ForEachEntry([&](const LibraryEntry& entry) {
        if (IsUserWeight(entry.weight)) {
            entries.push_back(
                {std::u16string(entry.code), std::u16string(entry.word), entry.weight});
        }
    });
    if (!whole) {
        return std::nullopt;
    }
    return entries;
}

bool CarryUserEntries(const LibraryView& library, LibraryBuilder& builder) {
    bool carried = true;
    const bool whole = library.ForEachEntry([&](const LibraryEntry& entry) {
        if (IsCarriedWeight(entry.weight)) {
            carried = builder.AppendEntry(entry.code, entry.word, entry.weight) && carried;
        }
    });
    return whole && carried;
}

} // namespace tide
