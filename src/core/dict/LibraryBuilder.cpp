#include "core/dict/LibraryBuilder.h"

#include <algorithm>
#include <cstring>

#include "core/base/ByteIo.h"
#include "core/base/DecimalText.h"
#include "core/base/Utf16.h"
#include "core/dict/CharSlots.h"
#include "core/dict/CodeTableHeaderParser.h"
#include "core/dict/CodeTableText.h"
#include "core/dict/CompileMessages.h"

namespace tide {
namespace {

constexpr bool IsCodeLetter(char16_t c) {
    return c >= u'a' && c <= u'z';
}

// The code point of a word that is exactly one character, else nothing.
std::optional<char32_t> SingleCodePoint(std::u16string_view word) {
    if (word.size() == 1 && !IsLowSurrogate(word[0])) {
        return word[0];
    }
    if (word.size() == 2 && IsPairAt(word, 0)) {
        return CombineSurrogates(word[0], word[1]);
    }
    return std::nullopt;
}

// Letters "a"-"z" and "/" only; without a second code, "/" may not stand
// where the index needs a letter (the first three places).
bool IsValidCode(std::u16string_view code, bool hasSecondCode) {
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char16_t c = code[i];
        if (!IsCodeLetter(c) && !(c == u'/' && (hasSecondCode || i >= kIndexDepth))) {
            return false;
        }
    }
    return true;
}

// The part of a code that the index files it under: with a second code, the
// main code before the first "/".
std::u16string_view IndexCode(std::u16string_view code, bool hasSecondCode) {
    return hasSecondCode ? code.substr(0, code.find(u'/')) : code;
}

std::size_t PathKeyStep(std::size_t depth) {
    return depth == 0 ? 27 * 27 : depth == 1 ? 27 : 1;
}

} // namespace

LibraryBuilder::LibraryBuilder(const CodeTableHeader& header, std::size_t textBytes,
                               std::size_t maxBytes)
    : header_(header), slotWidth_(header.SlotWidth()), maxBytes_(maxBytes),
      nodeOffset_(kPathKeys, 0), lastRecord_(kPathKeys, 0) {
    header_.EntryCount = header_.CharCount = header_.PhraseCount = 0;
    header_.RootOffset = header_.UsedLength = header_.Capacity = 0;
    // The CharCodeTable at its largest, then room for the index and records
    // as the table's size suggests.
    const std::size_t charTable = kHeaderSize + slotWidth_ * (kCharSlotCount + 1);
    bytes_.reserve(std::min(charTable + textBytes / 20 * 25 + kMaxIndexNodes * kIndexNodeSize,
                            std::max(maxBytes_, charTable)));
    bytes_.resize(charTable, 0);
    used_ = kHeaderSize;
}

void LibraryBuilder::OfferCharCode(std::uint32_t slot, std::u16string_view code) {
    if (slot == 0 || slot > kCharSlotCount) {
        return;
    }
    std::uint8_t* target = bytes_.data() + kHeaderSize + slotWidth_ * slot;
    const std::size_t held = std::find(target, target + slotWidth_, 0) - target;
    if (held > code.size()) {
        return;
    }
    const std::size_t length = std::min(code.size(), slotWidth_);
    std::memset(target, 0, slotWidth_);
    for (std::size_t i = 0; i < length; ++i) {
        target[i] = static_cast<std::uint8_t>(code[i]);
    }
    highestSlot_ = std::max(highestSlot_, slot);
}

bool LibraryBuilder::StartIndex() {
    const std::size_t root =
        highestSlot_ == 0 ? kHeaderSize : kHeaderSize + slotWidth_ * (highestSlot_ + 1);
    header_.RootOffset = static_cast<std::uint32_t>(root);
    used_ = root;
    nodeOffset_[0] = AppendNode();
    return nodeOffset_[0] != 0;
}

bool LibraryBuilder::EnsureRoom(std::size_t bytes) {
    if (bytes > maxBytes_ || used_ > maxBytes_ - bytes) {
        tooLarge_ = true;
        return false;
    }
    if (used_ + bytes > bytes_.size()) {
        bytes_.resize(std::min(std::max(used_ + bytes, bytes_.size() * 2), maxBytes_), 0);
    }
    return true;
}

void LibraryBuilder::PutU32(std::size_t offset, std::uint32_t value) {
    ByteWriter(bytes_).PutU32(offset, value);
}

std::uint32_t LibraryBuilder::AppendNode() {
    if (!EnsureRoom(kIndexNodeSize)) {
        return 0;
    }
    const auto offset = static_cast<std::uint32_t>(used_);
    std::memset(bytes_.data() + used_, 0, kIndexNodeSize);
    used_ += kIndexNodeSize;
    return offset;
}

bool LibraryBuilder::AppendEntry(std::u16string_view code, std::u16string_view word,
                                 std::uint32_t weight) {
    const std::size_t depth = std::min(code.size(), kIndexDepth);
    if (!std::all_of(code.begin(), code.begin() + depth, IsCodeLetter) ||
        !std::all_of(code.begin() + depth, code.end(),
                     [](char16_t c) { return c != 0 && c < 256; }) ||
        word.find(u'\0') != std::u16string_view::npos) {
        return false;
    }
    return AppendCheckedEntry(code, word, weight);
}

bool LibraryBuilder::AppendCheckedEntry(std::u16string_view code, std::u16string_view word,
                                        std::uint32_t weight) {
    const std::size_t depth = std::min(code.size(), kIndexDepth);
    // Walk, and where needed grow, the path of the first three letters.
    std::size_t key = 0;
    for (std::size_t i = 0; i < depth; ++i) {
        const std::size_t letter = code[i] - u'a';
        const std::size_t childKey = key + (letter + 1) * PathKeyStep(i);
        if (nodeOffset_[childKey] == 0) {
            const std::uint32_t child = AppendNode();
            if (child == 0) {
                return false;
            }
            nodeOffset_[childKey] = child;
            PutU32(nodeOffset_[key] + 4 * letter, child);
        }
        key = childKey;
    }

    const std::size_t size = RecordSize(code.size(), word.size());
    if (!EnsureRoom(size)) {
        return false;
    }
    const auto record = static_cast<std::uint32_t>(used_);
    std::uint8_t* out = bytes_.data() + used_;
    std::memset(out, 0, size);
    std::memcpy(out + kRecordWeightField, &weight, 4);
    std::uint8_t* tail = out + kRecordTailField;
    for (std::size_t i = depth; i < code.size(); ++i) {
        *tail++ = static_cast<std::uint8_t>(code[i]);
    }
    if (!word.empty()) {
        std::memcpy(tail + 1, word.data(), word.size() * 2);
    }
    used_ += size;

    if (lastRecord_[key] == 0) {
        PutU32(nodeOffset_[key] + kNodeFirstRecordField, record);
    } else {
        PutU32(lastRecord_[key] + kRecordNextField, record);
    }
    lastRecord_[key] = record;
    return true;
}

std::vector<std::uint8_t> LibraryBuilder::Finish() && {
    header_.UsedLength = static_cast<std::uint32_t>(used_);
    std::memcpy(bytes_.data(), &header_, kHeaderSize);
    bytes_.resize(used_);
    return std::move(bytes_);
}

std::u16string IllegalCodeMessage(std::size_t line, std::u16string_view code) {
    std::u16string message(kMsgIllegalCodeBefore);
    AppendDecimal(message, static_cast<std::int64_t>(line));
    std::size_t shown = std::min(code.size(), kIllegalCodeShownUnits);
    if (shown < code.size() && IsHighSurrogate(code[shown - 1])) {
        --shown; // not half a character
    }
    message.append(kMsgIllegalCodeMiddle).append(code.substr(0, shown));
    if (shown < code.size()) {
        message.append(u"…");
    }
    return message;
}

CompileResult CompileCodeTableText(std::span<const std::uint8_t> fileBytes,
                                   const CarryEntries& carry) {
    std::u16string units(fileBytes.size() / 2, u'\0');
    if (!units.empty()) {
        std::memcpy(units.data(), fileBytes.data(), units.size() * 2);
    }
    return CompileCodeTableText(units, fileBytes.size(), carry);
}

CompileResult CompileCodeTableText(std::u16string_view fileUnits, std::size_t fileBytes,
                                   const CarryEntries& carry, std::size_t maxLibraryBytes) {
    CompileResult result;
    if (fileUnits.empty() || fileUnits.front() != kByteOrderMark) {
        result.message = kMsgTableNotUtf16;
        return result;
    }
    // NUL units padding the end of a file carry nothing.
    std::u16string_view text = fileUnits.substr(1);
    text = text.substr(0, text.find_last_not_of(u'\0') + 1);
    // Entry places are kept as 32-bit offsets, and no text this long could
    // make a library that fits 32-bit offsets anyway.
    if (text.size() * 2 > kMaxLibraryBytes) {
        result.tooLarge = true;
        result.message = kMsgLibraryTooLarge;
        return result;
    }
    CodeTableLines lines(text);
    HeaderParseResult parsed = ParseHeader(lines);
    if (!parsed.header) {
        result.message = std::move(parsed.message);
        return result;
    }
    const bool hasSecondCode = parsed.header->BWCodeLength != 0;
    LibraryBuilder builder(*parsed.header, fileBytes, maxLibraryBytes);
    CodeTableHeader& header = builder.header();
    result.stage = CompileStage::Entries;

    // Pass 1: check every code, count, and fill the CharCodeTable. Each
    // entry's place in the text is kept, so pass 2 need not read lines again.
    struct EntryPlace {
        std::uint32_t codeOffset, codeLength, wordOffset, wordLength, weight;
    };
    std::vector<EntryPlace> places;
    places.reserve(text.size() / 8);
    auto offsetOf = [&text](std::u16string_view part) {
        // An empty part may be a view of nothing at all.
        return part.empty() ? 0u : static_cast<std::uint32_t>(part.data() - text.data());
    };
    while (!lines.AtEnd()) {
        const std::u16string_view line = lines.Next();
        if (line.empty()) {
            continue; // blank lines carry no entry
        }
        const EntryLine entry = SplitEntryLine(line);
        if (!IsValidCode(entry.code, hasSecondCode)) {
            result.message = IllegalCodeMessage(lines.lineNumber(), entry.code);
            return result;
        }
        const std::u16string_view indexCode = IndexCode(entry.code, hasSecondCode);
        places.push_back({offsetOf(indexCode), static_cast<std::uint32_t>(indexCode.size()),
                          offsetOf(entry.word), static_cast<std::uint32_t>(entry.word.size()),
                          entry.weight});
        if (IsCarriedWeight(entry.weight)) {
            continue;
        }
        ++header.EntryCount;
        const auto codePoint = SingleCodePoint(entry.word);
        const std::uint32_t slot = codePoint ? CharSlotIndex(*codePoint) : 0;
        if (slot != 0) {
            ++header.CharCount;
            builder.OfferCharCode(slot, entry.code);
        } else {
            ++header.PhraseCount;
        }
    }

    // Pass 2: every entry, in file order, into the index.
    auto tooLarge = [&result] {
        result.tooLarge = true;
        result.message = kMsgLibraryTooLarge;
        return result;
    };
    if (!builder.StartIndex()) {
        return tooLarge();
    }
    for (const EntryPlace& place : places) {
        if (!builder.AppendCheckedEntry(text.substr(place.codeOffset, place.codeLength),
                                        text.substr(place.wordOffset, place.wordLength),
                                        place.weight)) {
            return tooLarge();
        }
    }

    result.stage = CompileStage::Carry;
    if (carry && !carry(builder)) {
        return builder.tooLarge() ? tooLarge() : result;
    }
    result.library = std::move(builder).Finish();
    result.stage = CompileStage::Done;
    result.ok = true;
    return result;
}

} // namespace tide
