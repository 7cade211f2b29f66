// The layout of a word library after its header: the CharCodeTable, then the
// code index (IndexNodes) and the entry records, all addressed by offsets
// from the start of the file, little-endian and unaligned.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/dict/CodeTableHeader.h"

namespace tide {

// IndexNode: 26 child offsets ("a" to "z"), then the offset of its first record.
inline constexpr std::size_t kIndexNodeSize = 108;
inline constexpr std::size_t kNodeFirstRecordField = 104;
inline constexpr std::size_t kIndexDepth = 3; // only the first three letters select nodes

// EntryRecord: next offset, weight, code tail bytes and a zero, word and a zero.
inline constexpr std::size_t kRecordNextField = 0;
inline constexpr std::size_t kRecordWeightField = 4;
inline constexpr std::size_t kRecordTailField = 8;

// Weights with a meaning of their own; classification uses the low 16 bits.
inline constexpr std::uint32_t kWeightUser = 251;     // user entry made by the manager
inline constexpr std::uint32_t kWeightCarriedA = 252; // not from a code table: carried over
inline constexpr std::uint32_t kWeightCarriedB = 253;
inline constexpr std::uint32_t kWeightNone = 254; // no weight given in the text

constexpr bool IsCarriedWeight(std::uint32_t weight) {
    const std::uint32_t low = weight & 0xFFFF;
    return low == kWeightCarriedA || low == kWeightCarriedB;
}
constexpr bool IsUserWeight(std::uint32_t weight) {
    return (weight & 0xFFFF) == kWeightUser;
}

// Bytes a record takes for a code of `codeLength` letters and a word of
// `wordUnits` UTF-16 units.
constexpr std::size_t RecordSize(std::size_t codeLength, std::size_t wordUnits) {
    const std::size_t tail = codeLength > kIndexDepth ? codeLength - kIndexDepth : 0;
    return kRecordTailField + tail + 1 + 2 * (wordUnits + 1);
}

// The index has at most 1 + 26 + 26^2 + 26^3 nodes.
inline constexpr std::size_t kMaxIndexNodes = 1 + 26 + 26 * 26 + 26 * 26 * 26;

// Room past a library's used length that the user entries of a text of
// `units` UTF-16 units surely fit in: a line gives at most one entry and holds
// at least one unit besides its end; a record takes its line's code letters
// and word units, or a code the phrase rules make, and each new code path up
// to three index nodes, of which the whole index holds kMaxIndexNodes. At most
// kMaxLibraryBytes (LibraryBuilder.h); room never written need cost nothing.
std::size_t ImportRoom(std::size_t units);

} // namespace tide
