// Whole-file reads and replacing writes for tidetool. On Windows they are the
// program's own (win/FileAccess.h, in FileIoWindows.cpp); elsewhere the POSIX
// equivalents (FileIoPosix.cpp). What std::filesystem does alike on both is in
// FileIo.cpp.
#pragma once

#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#ifdef _WIN32
#include "win/FileAccess.h"
#endif

namespace tide::tool {

// Why a file's bytes could not be had.
enum class ReadError {
    None,
    CannotOpen,
    NotAFile, // a folder, a device or a pipe: only regular files are read
    TooLarge, // more bytes than this process can address
    CannotRead,
};

// Blocks of memory that read as zero without being written: fresh pages,
// which cost nothing until they are touched. Elsewhere than on Windows,
// blocks of megabytes are mapped on their own, aligned to large pages and
// asked to be backed by them, so reading a library of megabytes into one
// faults a few pages, not a thousand. Throws std::bad_alloc.
void* AllocateZeroed(std::size_t bytes);
void FreeZeroed(void* block, std::size_t bytes) noexcept;

// Memory for bytes that grow into room they may never use, a word library
// taking entries above all: growing leaves the new elements as the
// allocation had them, so room costs nothing until it is written, and reads
// as zero if it was never written before (room given back by shrinking keeps
// its bytes).
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) {
        if (count > std::size_t(-1) / sizeof(T)) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(AllocateZeroed(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        FreeZeroed(memory, count * sizeof(T));
    }
    template <typename U>
    void construct(U* element) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(element)) U;
    }
    template <typename U, typename... Args>
    void construct(U* element, Args&&... args) {
        ::new (static_cast<void*>(element)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};
using GrowableBytes = std::vector<std::uint8_t, ZeroedAllocator<std::uint8_t>>;

// A whole file's bytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       ReadError* error = nullptr);
// The same for bytes that will grow: `spare` bytes of capacity are reserved
// past the file's (a hint, so growing does not move them; none of it written).
std::optional<GrowableBytes> ReadGrowableFile(const std::filesystem::path& path, ReadError* error,
                                              std::size_t spare);

// A file's bytes mapped read-only into memory for as long as the object lives
// (read into a buffer where mapping is not to be had).
class MappedInput {
public:
    static std::optional<MappedInput> Open(const std::filesystem::path& path,
                                           ReadError* error = nullptr);
    MappedInput(MappedInput&& other) noexcept;
    MappedInput& operator=(MappedInput&&) = delete;
    ~MappedInput();

    std::size_t size() const { return size_; }
    std::string_view Bytes() const { return {static_cast<const char*>(data_), size_}; }
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
// half-written: it holds either the old bytes or all of the new ones. The
// file beside it is always a new one, never a name someone else put there.
bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes);

// Creates a new, empty folder beside `target` (same parent, a name derived
// from it) and returns it; nothing when none could be created.
std::optional<std::filesystem::path> CreateFolderBeside(const std::filesystem::path& target);

// What is where ReplaceFolderWith puts its folder; the caller finds out and
// refuses anything else.
enum class FolderTarget {
    New,    // nothing: it is made, with the folders above it that are missing
    Empty,  // an empty folder: replaced as a whole
    Filled, // a folder, or a symlink to one, whose files may all be replaced
};

// A file for ReplaceFolderWith: its name in the folder and its bytes.
struct FolderFile {
    std::string_view name;
    std::string_view bytes;
};

enum class FolderWriteError {
    None,
    NoPlace,     // the name gives no place for a folder: "/", or no absolute name
    CannotWrite, // the folder is as it was, and nothing made for it is left
    FileFailed,  // a Filled folder's file could not be replaced; those before it were
};

struct FolderWriteResult {
    FolderWriteError error = FolderWriteError::None;
    std::filesystem::path file; // with FileFailed: the file in `folder` left as it was
};

// Writes `files` into `folder`, all of them first into a new folder beside it
// (CreateFolderBeside) and only then moved into place. A New or an Empty
// folder is replaced by the new one whole, in one rename; in a Filled one each
// file replaces its namesake by a rename (or, across file systems, is written
// again), and then the names in `stale` are removed. On a failure the new
// folder is removed, and so are the folders made above a New one.
FolderWriteResult ReplaceFolderWith(const std::filesystem::path& folder, FolderTarget kind,
                                    std::span<const FolderFile> files,
                                    std::span<const std::string_view> stale);

} // namespace tide::tool
