#include "core/dict/LibraryView.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "core/base/ByteIo.h"
#include "core/dict/CharSlots.h"

namespace tide {

namespace {

// Where the zero unit ending the UTF-16 text at `start` lies, before `size`;
// `size` when there is none. Four units are looked at a time.
std::size_t FindZeroUnit(const std::uint8_t* data, std::size_t start, std::size_t size) {
    constexpr std::uint64_t kLowBits = 0x0001000100010001;
    constexpr std::uint64_t kHighBits = 0x8000800080008000;
    std::size_t position = start;
    for (; size - position >= 8; position += 8) {
        std::uint64_t units;
        std::memcpy(&units, data + position, sizeof(units));
        // The lowest flag marks the first zero unit (a borrow can only set
        // flags above it).
        if (const std::uint64_t zero = (units - kLowBits) & ~units & kHighBits) {
            return position + std::countr_zero(zero) / 16 * 2;
        }
    }
    for (; size - position >= 2; position += 2) {
        if ((data[position] | data[position + 1]) == 0) {
            return position;
        }
    }
    return size;
}

// Whether the record at `record` holds the tail `tail`, a zero, the word
// `word` and a zero unit; one that cannot hold them before `size` does not.
bool RecordMatches(const std::uint8_t* data, std::size_t size, std::uint32_t record,
                   std::u16string_view tail, std::u16string_view word) {
    const std::size_t tailStart = std::size_t{record} + kRecordTailField;
    if (!RangeFits(tailStart, tail.size() + 1 + 2 * (word.size() + 1), size)) {
        return false;
    }
    const std::uint8_t* byte = data + tailStart;
    for (const char16_t letter : tail) {
        if (*byte++ != letter) {
            return false;
        }
    }
    if (*byte++ != 0) {
        return false;
    }
    // Words are stored as little-endian UTF-16, the units' own layout here.
    const std::size_t wordBytes = 2 * word.size();
    return (wordBytes == 0 || std::memcmp(byte, word.data(), wordBytes) == 0) &&
           byte[wordBytes] == 0 && byte[wordBytes + 1] == 0;
}

} // namespace

std::optional<LibraryView> LibraryView::Open(std::span<const std::uint8_t> bytes,
                                             LibraryOpenError* error) {
    // The header is copied once, straight into the view returned, and checked
    // there (one return: a library is opened for every entry added).
    std::optional<LibraryView> view =
        bytes.size() >= kHeaderSize ? std::optional<LibraryView>(std::in_place, OpenKey{}, bytes)
                                    : std::nullopt;
    LibraryOpenError why = LibraryOpenError::NotALibrary;
    if (view) {
        const CodeTableHeader& header = view->header_;
        if (!HeaderFieldsFit(header.RootOffset, header.UsedLength, header.SlotWidth(),
                             header.PhraseRule, bytes.size())) {
            why = LibraryOpenError::Damaged;
            view.reset();
        } else {
            why = LibraryOpenError::None;
            view->bytes_ = bytes.first(header.UsedLength);
            // A slot is used only when all of it lies before the index.
            view->slotWidth_ = header.SlotWidth();
            const std::size_t wholeSlots = (header.RootOffset - kHeaderSize) / view->slotWidth_;
            view->lastSlot_ = wholeSlots > 1 ? static_cast<std::uint32_t>(std::min<std::size_t>(
                                                   wholeSlots - 1, kCharSlotCount))
                                             : 0;
            if (view->slotWidth_ < sizeof(std::uint64_t)) {
                view->slotMask_ = (std::uint64_t{1} << (8 * view->slotWidth_)) - 1;
            }
        }
    }
    if (error) {
        *error = why;
    }
    return view;
}

std::u16string LibraryView::CharCode(std::uint32_t slot) const {
    std::u16string code;
    for (const char byte : CharCodeBytes(slot)) {
        code.push_back(static_cast<unsigned char>(byte));
    }
    return code;
}

std::string_view LibraryView::CharCodeBytes(std::uint32_t slot) const {
    if (slot == 0 || slot > lastSlot_) {
        return {};
    }
    const auto* first =
        reinterpret_cast<const char*>(bytes_.data()) + kHeaderSize + slotWidth_ * slot;
    if (slotWidth_ > sizeof(std::uint64_t)) {
        return std::string_view(first, std::find(first, first + slotWidth_, '\0') - first);
    }
    // Eight bytes from a slot lie inside the view (the root node follows the
    // table); the bytes past the slot count as zeros. The lowest flag marks
    // the first zero byte.
    std::uint64_t bytes;
    std::memcpy(&bytes, first, sizeof(bytes));
    bytes &= slotMask_;
    const std::uint64_t zeros = (bytes - 0x0101010101010101) & ~bytes & 0x8080808080808080;
    return std::string_view(first, zeros == 0 ? sizeof(bytes) : std::countr_zero(zeros) / 8);
}

std::string_view LibraryView::PhraseCharCode(char32_t character) const {
    std::string_view code = CharCodeBytes(CharSlotIndex(character));
    if (header_.BWCodeLength != 0) {
        const auto slash = code.find('/');
        if (slash != std::string_view::npos) {
            code.remove_prefix(slash + 1); // the second code
        }
    }
    return code;
}

// The bytes a walk has read, one bit each.
class LibraryView::Claims {
public:
    explicit Claims(std::size_t size) : words_((size + 63) / 64, 0) {}

    // Claims [offset, offset + length), which lies inside the view; false
    // when any of it was claimed before (the walk then ends, so what this
    // call marked on the way does not matter).
    bool Claim(std::size_t offset, std::size_t length) {
        if (length == 0) {
            return true;
        }
        const std::size_t last = offset + length - 1;
        std::size_t word = offset / 64;
        std::uint64_t mask = ~std::uint64_t{0} << (offset % 64);
        for (; word < last / 64; ++word, mask = ~std::uint64_t{0}) {
            if (words_[word] & mask) {
                return false;
            }
            words_[word] |= mask;
        }
        mask &= ~std::uint64_t{0} >> (63 - last % 64);
        if (words_[word] & mask) {
            return false;
        }
        words_[word] |= mask;
        return true;
    }

private:
    std::vector<std::uint64_t> words_;
};

LibraryView::RecordSearch LibraryView::FindRecordIn(std::span<const std::uint8_t> used,
                                                    std::uint32_t node, std::u16string_view tail,
                                                    std::u16string_view word) {
    const std::uint8_t* const data = used.data();
    const std::size_t size = used.size();
    // The first bytes of a matching record's tail field (tail letters, a
    // zero, the word's units and a zero unit; three bytes at least), compared
    // at once: nearly every record of a long chain differs there already.
    std::uint8_t expected[4] = {};
    std::size_t known = 0;
    for (std::size_t i = 0; i < tail.size() && known < 4; ++i) {
        expected[known++] = static_cast<std::uint8_t>(tail[i]);
    }
    if (known < 4) {
        ++known; // the tail's zero
    }
    for (std::size_t i = 0; known < 4; ++i) {
        const char16_t unit = i < word.size() ? word[i] : u'\0';
        expected[known++] = static_cast<std::uint8_t>(unit & 0xFF);
        if (known < 4) {
            expected[known++] = static_cast<std::uint8_t>(unit >> 8);
        }
    }
    const std::uint32_t key = LoadU32(expected);
    std::uint32_t previous = node;
    std::uint32_t record = LoadU32(data + node + kNodeFirstRecordField);
    // The same forward-only rule as every walk ends the loops. Most records
    // lie far enough from the end for the four bytes. An empty tail and an
    // empty word match three bytes only (the fourth is another record's):
    // every record is then compared in full.
    const std::size_t keyEnd = kRecordTailField + sizeof key;
    const bool keyHeld = !tail.empty() || !word.empty();
    const std::size_t lastWithKey = keyHeld && size >= keyEnd ? size - keyEnd : 0;
    // The link field followed last: the one to the record found, or the end.
    const auto linkAfter = [node](std::uint32_t previous) {
        return previous == node ? node + std::uint32_t{kNodeFirstRecordField}
                                : previous + std::uint32_t{kRecordNextField};
    };
    for (; record > previous && record <= lastWithKey; record = LoadU32(data + previous)) {
        if (LoadU32(data + record + kRecordTailField) == key &&
            RecordMatches(data, size, record, tail, word)) {
            return {true, linkAfter(previous)};
        }
        previous = record;
    }
    // The records near the end (or all, without the four bytes) are compared in full.
    for (; record > previous && RangeFits(record, kRecordTailField, size);
         record = LoadU32(data + previous)) {
        if (RecordMatches(data, size, record, tail, word)) {
            return {true, linkAfter(previous)};
        }
        previous = record;
    }
    return {false, linkAfter(previous)};
}

bool LibraryView::Walk(EntryCallback callback, void* context) const {
    Claims claims(bytes_.size());
    std::u16string prefix;
    return claims.Claim(header_.RootOffset, kIndexNodeSize) &&
           WalkNode(header_.RootOffset, 0, prefix, callback, context, claims);
}

bool LibraryView::WalkNode(std::uint32_t node, std::size_t depth, std::u16string& prefix,
                           EntryCallback callback, void* context, Claims& claims) const {
    const ByteReader reader(bytes_);
    for (std::uint32_t letter = 0; letter < 26; ++letter) {
        const std::uint32_t child = reader.U32(node + 4 * letter).value_or(0);
        // Children are appended after their parents.
        if (child <= node || !RangeFits(child, kIndexNodeSize, bytes_.size())) {
            continue;
        }
        // A node reached a second time would be walked again with all below it.
        if (!claims.Claim(child, kIndexNodeSize)) {
            return false;
        }
        prefix.push_back(static_cast<char16_t>(u'a' + letter));
        std::u16string code = prefix;
        if (!VisitRecords(child, code, callback, context, &claims) ||
            (depth + 1 < kIndexDepth &&
             !WalkNode(child, depth + 1, prefix, callback, context, claims))) {
            return false;
        }
        prefix.pop_back();
    }
    return true;
}

bool LibraryView::VisitRecords(std::uint32_t node, std::u16string& code, EntryCallback callback,
                               void* context, Claims* claims) const {
    const std::uint8_t* const data = bytes_.data();
    const std::size_t size = bytes_.size();
    const ByteReader reader(bytes_);
    const std::size_t pathLength = code.size();
    std::u16string word;
    std::uint32_t record = reader.U32(node + kNodeFirstRecordField).value_or(0);
    std::uint32_t previous = node;
    std::size_t runStart = 0;
    std::size_t runEnd = 0;
    // Records are appended after their node and after the record linking to them.
    while (record > previous && RangeFits(record, kRecordTailField, size)) {
        const std::uint32_t next = LoadU32(data + record + kRecordNextField);
        const std::uint32_t weight = LoadU32(data + record + kRecordWeightField);
        // The code's tail: letters up to a zero byte (a few, so a loop
        // rather than a library call).
        const std::size_t tail = record + kRecordTailField;
        std::size_t tailEnd = tail;
        while (tailEnd < size && data[tailEnd] != 0) {
            ++tailEnd;
        }
        if (tailEnd == size) {
            return false; // no terminator before the end: damaged
        }
        const std::size_t tailLength = tailEnd - tail;
        // The word: UTF-16 units up to a zero unit.
        const std::size_t wordStart = tailEnd + 1;
        std::size_t position = FindZeroUnit(data, wordStart, size);
        if (position == size) {
            return false;
        }
        if (callback) {
            code.resize(pathLength + tailLength);
            std::copy(data + tail, data + tail + tailLength, code.begin() + pathLength);
            word.resize((position - wordStart) / 2);
            std::memcpy(word.data(), data + wordStart, position - wordStart);
        }
        position += 2;
        // Claimed after reading, a run at a time: a record starting where the
        // one before it ended (as most do) extends the run. The records and
        // runs claimed so far do not overlap, so all this reading adds up to
        // the library's size, plus one run's worth before damage ends the walk
        // (whose records a visiting walk has then shown already).
        if (record != runEnd) {
            if (claims && !claims->Claim(runStart, runEnd - runStart)) {
                return false;
            }
            runStart = record;
        }
        runEnd = position;
        if (callback) {
            callback(context, LibraryEntry{code, word, weight, record});
        }
        previous = record;
        record = next;
    }
    return !claims || claims->Claim(runStart, runEnd - runStart);
}

} // namespace tide
