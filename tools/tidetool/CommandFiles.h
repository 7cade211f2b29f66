// The files tidetool's commands name, every failure reported on the console:
// inputs read whole, outputs written, and an output refused when it is the
// input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FileIo.h"

namespace tide::tool {

// Reports why `file` could not be read; returns 1.
int ReadFailure(ReadError error, const std::filesystem::path& file);

// A whole file's bytes, or nothing (with the reason printed).
std::optional<std::vector<std::uint8_t>> ReadInput(const std::filesystem::path& file);

// A word library's bytes, or nothing (with the reason printed) when the file
// cannot be read, is no library or is damaged anywhere in its index;
// LibraryView::Open and every walk then succeed on them.
// A library with `spare` bytes of room to grow into without moving.
std::optional<GrowableBytes> ReadLibraryFile(const std::filesystem::path& file,
                                             std::size_t spare = 0);

// A word library read as ReadLibraryFile does, for a command that writes
// `output` from it: nothing (with the reason printed) when `output` is the
// library too.
std::optional<GrowableBytes> ReadLibraryFileFor(const std::filesystem::path& file,
                                                const std::filesystem::path& output);

// A text input opened for a command that writes `output` from it, or nothing
// (with the reason printed) when it cannot be read or `output` is the input.
std::optional<MappedInput> OpenTextInputFor(const std::filesystem::path& input,
                                            const std::filesystem::path& output);

// Replaces `file` with the bytes (ReplaceFileWith); false when it could not.
bool WriteBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

// Refuses (printing why) an output that is the input: replacing it would lose
// the input. The same file once both exist (hard links and symlinks too), or
// the same name.
bool Distinct(const std::filesystem::path& input, const std::filesystem::path& output);

// The file name without its folder and its format's suffix (.dict.yaml,
// .txt, .yaml): the name of a table whose text names none.
std::string TableStem(const std::filesystem::path& file);

// The Rime dictionary NAME.dict.yaml beside `table`, for its import_tables;
// nothing (with the reason printed) when it cannot be read or, when `output`
// is given, is that file.
std::optional<std::string> ReadImportedTable(const std::filesystem::path& table,
                                             const std::filesystem::path& output,
                                             std::string_view name);

} // namespace tide::tool
