// Packaged dictionaries: a word library compressed with LZMA behind the magic
// "TIDC", its unpacked size and the five LZMA property bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tide {

inline constexpr std::size_t kPackageHeaderSize = 13;
// A package may not unpack to more than this: it is refused, not allocated.
inline constexpr std::uint32_t kMaxUnpackedSize = 512u << 20;

enum class UnpackStatus {
    Ok,
    NotAPackage, // the file does not begin with "TIDC"
    Failed,      // too short, unsupported properties, damaged data, or too large
};

struct UnpackResult {
    UnpackStatus status = UnpackStatus::Failed;
    std::vector<std::uint8_t> library;
};

UnpackResult UnpackDictionary(std::span<const std::uint8_t> package);

// The package of a library (LZMA1 with an end marker); empty on failure.
std::vector<std::uint8_t> PackDictionary(std::span<const std::uint8_t> library,
                                         std::uint32_t preset = 6);

} // namespace tide
