#include "core/dict/LibraryView.h"

#include <cstring>

#include "core/base/ByteIo.h"
#include "core/dict/CharSlots.h"

namespace tide {

std::optional<LibraryView> LibraryView::Open(std::span<const std::uint8_t> bytes,
                                             LibraryOpenError* error) {
    auto fail = [error](LibraryOpenError why) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    if (bytes.size() < kHeaderSize) {
        return fail(LibraryOpenError::NotALibrary);
    }
    CodeTableHeader header;
    std::memcpy(&header, bytes.data(), kHeaderSize);
    const std::size_t width = header.SlotWidth();
    if (header.UsedLength > bytes.size() || header.RootOffset < kHeaderSize ||
        !RangeFits(header.RootOffset, kIndexNodeSize, header.UsedLength) || width == 0 ||
        width > kMaxCharCodeWidth || header.PhraseRule > kRuleSlotCount) {
        return fail(LibraryOpenError::Damaged);
    }
    if (error) {
        *error = LibraryOpenError::None;
    }
    return LibraryView(bytes.first(header.UsedLength), header);
}

std::u16string LibraryView::CharCode(std::uint32_t slot) const {
    std::u16string code;
    const std::size_t width = header_.SlotWidth();
    const std::size_t offset = kHeaderSize + width * slot;
    if (slot == 0 || slot > kCharSlotCount || offset + width > header_.RootOffset) {
        return code;
    }
    for (std::size_t i = 0; i < width && bytes_[offset + i] != 0; ++i) {
        code.push_back(bytes_[offset + i]);
    }
    return code;
}

void LibraryView::Walk(EntryCallback callback, void* context) const {
    std::u16string prefix;
    WalkNode(header_.RootOffset, 0, prefix, callback, context);
}

void LibraryView::WalkNode(std::uint32_t node, std::size_t depth, std::u16string& prefix,
                           EntryCallback callback, void* context) const {
    const ByteReader reader(bytes_);
    for (std::uint32_t letter = 0; letter < 26; ++letter) {
        const std::uint32_t child = reader.U32(node + 4 * letter).value_or(0);
        // Children are appended after their parents.
        if (child <= node || !RangeFits(child, kIndexNodeSize, bytes_.size())) {
            continue;
        }
        prefix.push_back(static_cast<char16_t>(u'a' + letter));
        std::u16string code = prefix;
        VisitRecords(child, code, callback, context);
        if (depth + 1 < kIndexDepth) {
            WalkNode(child, depth + 1, prefix, callback, context);
        }
        prefix.pop_back();
    }
}

void LibraryView::VisitRecords(std::uint32_t node, std::u16string& code, EntryCallback callback,
                               void* context) const {
    const ByteReader reader(bytes_);
    const std::size_t pathLength = code.size();
    std::u16string word;
    std::uint32_t record = reader.U32(node + kNodeFirstRecordField).value_or(0);
    std::uint32_t previous = node;
    // Records are appended after their node and after the record linking to them.
    while (record > previous && RangeFits(record, kRecordTailField, bytes_.size())) {
        const std::uint32_t next = *reader.U32(record + kRecordNextField);
        const std::uint32_t weight = *reader.U32(record + kRecordWeightField);
        code.resize(pathLength);
        std::size_t position = record + kRecordTailField;
        while (position < bytes_.size() && bytes_[position] != 0) {
            code.push_back(bytes_[position++]);
        }
        word.clear();
        ++position; // the tail's zero byte
        std::optional<std::uint16_t> unit;
        while ((unit = reader.U16(position)) && *unit != 0) {
            word.push_back(static_cast<char16_t>(*unit));
            position += 2;
        }
        if (!unit) {
            return; // no terminator before the end: damaged
        }
        callback(context, LibraryEntry{code, word, weight, record});
        previous = record;
        record = next;
    }
}

} // namespace tide
