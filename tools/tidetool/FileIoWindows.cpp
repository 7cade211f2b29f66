// FileIo.h on Windows: the program's own reads and replacing writes
// (win/FileAccess.h), and streams where those do not reach.
#include "FileIo.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "FileIoParts.h"

namespace tide::tool {

using file_io::Failed;
using file_io::ReadInto;

template <typename Container>
std::optional<Container> file_io::ReadInto(const std::filesystem::path& path, std::size_t& size,
                                           ReadError* error, std::size_t spare) {
    std::error_code statusError;
    const auto type = std::filesystem::status(path, statusError).type();
    if (type == std::filesystem::file_type::not_found) {
        return Failed(error, ReadError::CannotOpen);
    }
    if (!statusError && type != std::filesystem::file_type::regular) {
        return Failed(error, ReadError::NotAFile);
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Failed(error, ReadError::CannotOpen);
    }
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length < 0) {
        return Failed(error, ReadError::CannotRead);
    }
    in.seekg(0);
    auto data = file_io::Allocate<Container>(static_cast<std::uintmax_t>(length), error, spare);
    if (!data) {
        return std::nullopt;
    }
    size = static_cast<std::size_t>(length);
    const auto wanted = static_cast<std::streamsize>(data->size() * sizeof((*data)[0]));
    if (!in.read(reinterpret_cast<char*>(data->data()), wanted)) {
        return Failed(error, ReadError::CannotRead);
    }
    return data;
}
template std::optional<std::vector<std::uint8_t>>
file_io::ReadInto(const std::filesystem::path&, std::size_t&, ReadError*, std::size_t);
template std::optional<GrowableBytes> file_io::ReadInto(const std::filesystem::path&, std::size_t&,
                                                        ReadError*, std::size_t);

void* AllocateZeroed(std::size_t bytes) {
    if (void* block = std::calloc(bytes, 1)) {
        return block;
    }
    throw std::bad_alloc();
}

void FreeZeroed(void* block, std::size_t) noexcept {
    std::free(block);
}

std::optional<MappedInput> MappedInput::Open(const std::filesystem::path& path, ReadError* error) {
    MappedInput input;
    input.view_ = ReadOnlyFileView::Open(path.c_str());
    if (input.view_) {
        input.data_ = input.view_->bytes().data();
        input.size_ = input.view_->bytes().size();
        input.mapped_ = true;
        return input;
    }
    auto units = ReadInto<std::u16string>(path, input.size_, error);
    if (!units) {
        return std::nullopt;
    }
    input.buffer_ = std::move(*units);
    input.data_ = input.buffer_.data();
    return input;
}

MappedInput::MappedInput(MappedInput&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, false)), buffer_(std::move(other.buffer_)),
      view_(std::move(other.view_)) {
    if (!mapped_) {
        data_ = buffer_.data();
    }
}

// The view unmaps itself.
MappedInput::~MappedInput() = default;

bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes) {
    return ReplaceFileContents(target.c_str(),
                               {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

} // namespace tide::tool
