// Whole-file reads and replacing writes for tidetool, on Linux and Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tide::tool {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// Writes beside the target and then replaces it, so the target is never left
// half-written: it holds either the old bytes or all of the new ones.
bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes);

} // namespace tide::tool
