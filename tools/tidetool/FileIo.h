// Whole-file reads and replacing writes for tidetool. On Windows they are the
// program's own (win/FileAccess.h); elsewhere the POSIX equivalents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "win/FileAccess.h"
#endif

namespace tide::tool {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// A file's bytes mapped read-only into memory for as long as the object lives
// (read into a buffer where mapping is not to be had).
class MappedInput {
public:
    static std::optional<MappedInput> Open(const std::filesystem::path& path);
    MappedInput(MappedInput&& other) noexcept;
    MappedInput& operator=(MappedInput&&) = delete;
    ~MappedInput();

    std::size_t size() const { return size_; }
    // The bytes as UTF-16 units (an odd last byte is left out).
    std::u16string_view Units() const { return {static_cast<const char16_t*>(data_), size_ / 2}; }

private:
    MappedInput() = default;
    const void* data_ = nullptr;
    std::size_t size_ = 0;
    bool mapped_ = false;
    std::u16string buffer_;
#ifdef _WIN32
    std::optional<ReadOnlyFileView> view_;
#endif
};

// Writes beside the target and then replaces it, so the target is never left
// half-written: it holds either the old bytes or all of the new ones.
bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes);

} // namespace tide::tool
