// The part of FileIo.h that std::filesystem does alike everywhere.
#include "FileIo.h"

#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "FileIoParts.h"

namespace tide::tool {

namespace file_io {

std::filesystem::path BesideName(const std::filesystem::path& target, unsigned attempt) {
    std::filesystem::path name = target;
    name += ".tidetool-new";
    if (attempt > 0) {
        name += "-" + std::to_string(attempt);
    }
    return name;
}

} // namespace file_io

namespace {

using std::filesystem::path;

// The folders above `folder` that do not exist yet, outermost first.
std::vector<path> MissingParents(const path& folder) {
    std::vector<path> missing;
    for (path parent = folder.parent_path(); parent.has_relative_path();
         parent = parent.parent_path()) {
        std::error_code error;
        if (std::filesystem::symlink_status(parent, error).type() !=
            std::filesystem::file_type::not_found) {
            break;
        }
        missing.insert(missing.begin(), parent);
    }
    return missing;
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       ReadError* error) {
    std::size_t size = 0;
    return file_io::ReadInto<std::vector<std::uint8_t>>(path, size, error);
}

std::optional<GrowableBytes> ReadGrowableFile(const std::filesystem::path& path, ReadError* error,
                                              std::size_t spare) {
    std::size_t size = 0;
    return file_io::ReadInto<GrowableBytes>(path, size, error, spare);
}

std::optional<path> CreateFolderBeside(const path& target) {
    for (unsigned attempt = 0; attempt < file_io::kBesideAttempts; ++attempt) {
        path folder = file_io::BesideName(target, attempt);
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) {
            return folder;
        }
        // False without an error: an existing folder. Either way a taken name is passed over.
        if (error && error != std::errc::file_exists) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

FolderWriteResult ReplaceFolderWith(const path& folder, FolderTarget kind,
                                    std::span<const FolderFile> files,
                                    std::span<const std::string_view> stale) {
    std::error_code error;
    path target = std::filesystem::absolute(folder, error).lexically_normal();
    if (!error && !target.has_filename()) { // "DIR/" or "."
        target = target.parent_path();
    }
    if (error || !target.has_filename()) {
        return {FolderWriteError::NoPlace, {}};
    }

    std::vector<path> made; // parents made here, removed again on failure
    std::optional<path> temporary;
    auto fail = [&](FolderWriteError why, path file = {}) {
        std::error_code ignored;
        if (temporary) {
            std::filesystem::remove_all(*temporary, ignored);
        }
        for (auto parent = made.rbegin(); parent != made.rend(); ++parent) {
            std::filesystem::remove(*parent, ignored);
        }
        return FolderWriteResult{why, std::move(file)};
    };
    if (kind == FolderTarget::New) {
        for (const path& parent : MissingParents(target)) {
            if (!std::filesystem::create_directory(parent, error) || error) {
                return fail(FolderWriteError::CannotWrite);
            }
            made.push_back(parent);
        }
    }
    temporary = CreateFolderBeside(target);
    if (!temporary) {
        return fail(FolderWriteError::CannotWrite);
    }
    for (const FolderFile& file : files) {
        if (!ReplaceFileWith(*temporary / file.name, file.bytes)) {
            return fail(FolderWriteError::CannotWrite);
        }
    }

    if (kind != FolderTarget::Filled) {
        // A rename replaces an empty folder on POSIX; Windows wants it gone first.
        std::filesystem::rename(*temporary, target, error);
        std::error_code ignored;
        if (error && kind == FolderTarget::Empty && std::filesystem::remove(target, ignored)) {
            std::filesystem::rename(*temporary, target, error);
            if (error) {
                std::filesystem::create_directory(target, ignored);
            }
        }
        return error ? fail(FolderWriteError::CannotWrite) : FolderWriteResult{};
    }
    // Each file is replaced whole by a rename (or, across file systems, written again).
    for (const FolderFile& file : files) {
        path destination = folder / file.name;
        std::filesystem::rename(*temporary / file.name, destination, error);
        if (error && !ReplaceFileWith(destination, file.bytes)) {
            return fail(FolderWriteError::FileFailed, std::move(destination));
        }
    }
    std::error_code ignored;
    for (const std::string_view name : stale) {
        std::filesystem::remove(folder / name, ignored);
    }
    std::filesystem::remove_all(*temporary, ignored);
    return {};
}

} // namespace tide::tool
