// FileIo.h on POSIX systems: descriptors, mmap and O_EXCL.
#include "FileIo.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <limits>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "FileIoParts.h"

namespace tide::tool {

namespace {

using file_io::Failed;

class Descriptor {
public:
    explicit Descriptor(int file) : file_(file) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (file_ >= 0) {
            ::close(file_);
        }
    }
    int get() const { return file_; }

private:
    int file_;
};

// Opens a regular file for reading; its size goes to `size`. Not blocking, so
// a pipe given by name is refused rather than waited on.
std::optional<int> OpenRegularFile(const std::filesystem::path& path, std::uintmax_t& size,
                                   ReadError* error) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file < 0) {
        return Failed(error, ReadError::CannotOpen);
    }
    struct stat status = {};
    const bool known = ::fstat(file, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        ::close(file);
        return Failed(error, known ? ReadError::NotAFile : ReadError::CannotRead);
    }
    size = static_cast<std::uintmax_t>(status.st_size);
    return file;
}

template <typename Container>
std::optional<Container> ReadFrom(int file, std::uintmax_t fileSize, std::size_t& size,
                                  ReadError* error, std::size_t spare) {
    auto data = file_io::Allocate<Container>(fileSize, error, spare);
    if (!data) {
        return std::nullopt;
    }
    auto* next = reinterpret_cast<char*>(data->data());
    std::size_t left = data->size() * sizeof((*data)[0]);
    while (left > 0) {
        const ssize_t got = ::read(file, next, left);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) { // an error, or the file shrank while being read
            return Failed(error, ReadError::CannotRead);
        }
        next += got;
        left -= static_cast<std::size_t>(got);
    }
    size = static_cast<std::size_t>(fileSize);
    return data;
}

} // namespace

template <typename Container>
std::optional<Container> file_io::ReadInto(const std::filesystem::path& path, std::size_t& size,
                                           ReadError* error, std::size_t spare) {
    std::uintmax_t fileSize = 0;
    const auto file = OpenRegularFile(path, fileSize, error);
    if (!file) {
        return std::nullopt;
    }
    const Descriptor owner(*file);
    return ReadFrom<Container>(owner.get(), fileSize, size, error, spare);
}
template std::optional<std::vector<std::uint8_t>>
file_io::ReadInto(const std::filesystem::path&, std::size_t&, ReadError*, std::size_t);
template std::optional<GrowableBytes> file_io::ReadInto(const std::filesystem::path&, std::size_t&,
                                                        ReadError*, std::size_t);

namespace {

bool WriteAll(int file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

constexpr std::size_t kLargePage = 2 * 1024 * 1024;

std::size_t LargePagesFor(std::size_t bytes) {
    return (bytes + kLargePage - 1) & ~(kLargePage - 1);
}

} // namespace

// Small blocks come from calloc; a large one is mapped with a large page to
// spare, and the unaligned head and the tail given back.
void* AllocateZeroed(std::size_t bytes) {
    if (bytes < kLargePage) {
        if (void* block = std::calloc(bytes == 0 ? 1 : bytes, 1)) {
            return block;
        }
        throw std::bad_alloc();
    }
    if (bytes > std::size_t(-1) - 2 * kLargePage) {
        throw std::bad_alloc();
    }
    const std::size_t length = LargePagesFor(bytes);
    void* mapped = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* const first = static_cast<std::uint8_t*>(mapped);
    auto* const block = reinterpret_cast<std::uint8_t*>(
        (reinterpret_cast<std::uintptr_t>(first) + kLargePage - 1) & ~(kLargePage - 1));
    const std::size_t head = static_cast<std::size_t>(block - first);
    if (head > 0) {
        ::munmap(first, head);
    }
    ::munmap(block + length, kLargePage - head);
    ::madvise(block, length, MADV_HUGEPAGE); // only a hint
    return block;
}

void FreeZeroed(void* block, std::size_t bytes) noexcept {
    if (bytes < kLargePage) {
        std::free(block);
    } else {
        ::munmap(block, LargePagesFor(bytes));
    }
}

std::optional<MappedInput> MappedInput::Open(const std::filesystem::path& path, ReadError* error) {
    MappedInput input;
    std::uintmax_t fileSize = 0;
    const auto file = OpenRegularFile(path, fileSize, error);
    if (!file) {
        return std::nullopt;
    }
    const Descriptor owner(*file);
    if (fileSize > 0 && fileSize <= std::numeric_limits<std::size_t>::max()) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(fileSize), PROT_READ, MAP_PRIVATE,
                            owner.get(), 0);
        if (data != MAP_FAILED) {
            input.data_ = data;
            input.size_ = static_cast<std::size_t>(fileSize);
            input.mapped_ = true;
            return input;
        }
    }
    auto units = ReadFrom<std::u16string>(owner.get(), fileSize, input.size_, error, 0);
    if (!units) {
        return std::nullopt;
    }
    input.buffer_ = std::move(*units);
    input.data_ = input.buffer_.data();
    return input;
}

MappedInput::MappedInput(MappedInput&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)), buffer_(std::move(other.buffer_)) {
    if (!mapped_) {
        data_ = buffer_.data();
    }
}

MappedInput::~MappedInput() {
    if (mapped_) {
        ::munmap(const_cast<void*>(data_), size_);
    }
}

bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes) {
    // O_EXCL: a name that exists, a symlink above all, is never opened.
    std::filesystem::path temporary;
    int file = -1;
    for (unsigned attempt = 0; file < 0 && attempt < file_io::kBesideAttempts; ++attempt) {
        temporary = file_io::BesideName(target, attempt);
        file =
            ::open(temporary.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (file < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (file < 0) {
        return false;
    }
    bool written = WriteAll(file, bytes) && ::fsync(file) == 0;
    written = ::close(file) == 0 && written;
    if (written && ::rename(temporary.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace tide::tool
