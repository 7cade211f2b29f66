#include "FileIo.h"

#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <utility>

namespace tide::tool {

namespace {

// Reads the whole file into a container of bytes or units; `size` receives its bytes.
template <typename Container>
std::optional<Container> ReadInto(const std::filesystem::path& path, std::size_t& size) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0) {
        return std::nullopt;
    }
    in.seekg(0);
    size = static_cast<std::size_t>(length);
    Container data(size / sizeof(typename Container::value_type), typename Container::value_type{});
    const auto wanted = static_cast<std::streamsize>(data.size() * sizeof(data[0]));
    if (!in.read(reinterpret_cast<char*>(data.data()), wanted)) {
        return std::nullopt;
    }
    return data;
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
    std::size_t size = 0;
    return ReadInto<std::vector<std::uint8_t>>(path, size);
}

std::optional<MappedInput> MappedInput::Open(const std::filesystem::path& path) {
    MappedInput input;
#ifdef _WIN32
    input.view_ = ReadOnlyFileView::Open(path.c_str());
    if (input.view_) {
        input.data_ = input.view_->bytes().data();
        input.size_ = input.view_->bytes().size();
        input.mapped_ = true;
        return input;
    }
#else
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status = {};
    if (file >= 0 && ::fstat(file, &status) == 0 && status.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ,
                            MAP_PRIVATE, file, 0);
        if (data != MAP_FAILED) {
            input.data_ = data;
            input.size_ = static_cast<std::size_t>(status.st_size);
            input.mapped_ = true;
        }
    }
    if (file >= 0) {
        ::close(file);
    }
    if (input.mapped_) {
        return input;
    }
#endif
    auto units = ReadInto<std::u16string>(path, input.size_);
    if (!units) {
        return std::nullopt;
    }
    input.buffer_ = std::move(*units);
    input.data_ = input.buffer_.data();
    return input;
}

MappedInput::MappedInput(MappedInput&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)), buffer_(std::move(other.buffer_))
#ifdef _WIN32
      ,
      view_(std::move(other.view_))
#endif
{
    if (!mapped_) {
        data_ = buffer_.data();
    }
}

MappedInput::~MappedInput() {
#ifndef _WIN32
    if (mapped_) {
        ::munmap(const_cast<void*>(data_), size_);
    }
#endif
}

bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes) {
#ifdef _WIN32
    return ReplaceFileContents(target.c_str(), {reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                bytes.size()});
#else
    std::filesystem::path temporary = target;
    temporary += ".tidetool-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
            !out.flush()) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    return !error;
#endif
}

} // namespace tide::tool
