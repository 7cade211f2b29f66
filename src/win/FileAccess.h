// Reading files through read-only mappings and replacing files whole.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "win/FileMapping.h"

namespace tide {

// A whole file mapped read-only for as long as the object lives.
class ReadOnlyFileView {
public:
    enum class Error { None, OpenFailed, MapFailed };

    static std::optional<ReadOnlyFileView> Open(const wchar_t* path, Error* error = nullptr);

    std::span<const std::uint8_t> bytes() const { return mapping_.bytes(); }
    // The bytes as UTF-16 units; a mapped view is page-aligned.
    std::u16string_view units() const {
        return {reinterpret_cast<const char16_t*>(mapping_.data()), mapping_.size() / 2};
    }

private:
    ReadOnlyFileView() = default;
    FileMapping mapping_;
};

// Writes `bytes` beside `path` (no sharing while it is written) and then puts
// the new file in place of the old one, so `path` never holds half a file.
bool ReplaceFileContents(const wchar_t* path, std::span<const std::uint8_t> bytes);

} // namespace tide
