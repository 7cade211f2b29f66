// Little-endian reads and writes at byte offsets. Every file and shared-memory
// format of the program is little-endian; these helpers never form a
// misaligned pointer, and the reader and writer never touch a byte outside
// the span they were given (LoadU16 and LoadU32 leave that to their caller).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

namespace tide {

static_assert(std::endian::native == std::endian::little, "all targets are little-endian");

// True when [offset, offset + length) lies inside a buffer of `size` bytes,
// without overflowing.
constexpr bool RangeFits(std::size_t offset, std::size_t length, std::size_t size) noexcept {
    return offset <= size && length <= size - offset;
}

// The values at `at`, for loops that check a whole structure's range once
// instead of every field's: the caller has checked they lie inside its buffer.
inline std::uint16_t LoadU16(const std::uint8_t* at) noexcept {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}
inline std::uint32_t LoadU32(const std::uint8_t* at) noexcept {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    std::size_t size() const noexcept { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

    template <typename T>
    std::optional<T> Get(std::size_t offset) const noexcept {
        if (!RangeFits(offset, sizeof(T), bytes_.size())) {
            return std::nullopt;
        }
        T value;
        std::memcpy(&value, bytes_.data() + offset, sizeof(T));
        return value;
    }
    std::optional<std::uint8_t> U8(std::size_t offset) const noexcept {
        return Get<std::uint8_t>(offset);
    }
    std::optional<std::uint16_t> U16(std::size_t offset) const noexcept {
        return Get<std::uint16_t>(offset);
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const noexcept {
        return Get<std::uint32_t>(offset);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// Writes into a span the caller has sized; callers check the layout fits
// before writing (a write that does not fit is dropped, never overruns).
class ByteWriter {
public:
    explicit ByteWriter(std::span<std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    template <typename T>
    bool Put(std::size_t offset, T value) noexcept {
        if (!RangeFits(offset, sizeof(T), bytes_.size())) {
            return false;
        }
        std::memcpy(bytes_.data() + offset, &value, sizeof(T));
        return true;
    }
    bool PutU16(std::size_t offset, std::uint16_t value) noexcept { return Put(offset, value); }
    bool PutU32(std::size_t offset, std::uint32_t value) noexcept { return Put(offset, value); }

    // UTF-16 text and its terminator; returns the offset just past them.
    std::size_t PutText(std::size_t offset, std::u16string_view text) noexcept {
        for (char16_t unit : text) {
            Put(offset, static_cast<std::uint16_t>(unit));
            offset += 2;
        }
        Put(offset, std::uint16_t{0});
        return offset + 2;
    }

private:
    std::span<std::uint8_t> bytes_;
};

} // namespace tide
