// What the files of FileIo.h share among themselves: FileIo.cpp and the
// platform's own, FileIoPosix.cpp or FileIoWindows.cpp. Commands include
// FileIo.h.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>

#include "FileIo.h"

namespace tide::tool::file_io {

// Names tried for a file or folder written beside `target`; a name that is
// taken is passed over, so a planted name is never opened.
inline constexpr unsigned kBesideAttempts = 100;

std::filesystem::path BesideName(const std::filesystem::path& target, unsigned attempt);

// The whole regular file at `path` in `Container`, with room reserved for
// `spare` more units; `size` gets the file's size in bytes. Each platform's
// file defines it (FileIoPosix.cpp, FileIoWindows.cpp) for the byte
// containers FileIo.h reads into.
template <typename Container>
std::optional<Container> ReadInto(const std::filesystem::path& path, std::size_t& size,
                                  ReadError* error, std::size_t spare = 0);

inline std::nullopt_t Failed(ReadError* error, ReadError why) {
    if (error) {
        *error = why;
    }
    return std::nullopt;
}

// The container for `size` bytes, with room reserved for `spare` more units
// when they can be had; TooLarge when this process cannot address the bytes.
template <typename Container>
std::optional<Container> Allocate(std::uintmax_t size, ReadError* error, std::size_t spare = 0) {
    using Unit = typename Container::value_type;
    if (size > std::numeric_limits<std::size_t>::max() ||
        size / sizeof(Unit) > Container().max_size()) {
        return Failed(error, ReadError::TooLarge);
    }
    const std::size_t units = static_cast<std::size_t>(size) / sizeof(Unit);
    Container data;
    if (spare > 0 && spare <= data.max_size() - units) {
        try {
            data.reserve(units + spare);
        } catch (const std::bad_alloc&) {
            // Only a hint: the container grows when it must.
        }
    }
    data.resize(units); // zeros, or for growable bytes the allocation's own
    return data;
}

} // namespace tide::tool::file_io
