// Reading files through read-only mappings and replacing files whole.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/Handles.h"

namespace tide {

// A whole file mapped read-only for as long as the object lives.
class ReadOnlyFileView {
public:
    enum class Error { None, OpenFailed, MapFailed };

    static std::optional<ReadOnlyFileView> Open(const wchar_t* path, Error* error = nullptr);

    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(view_.get()), size_};
    }
    // The bytes as UTF-16 units; a mapped view is page-aligned.
    std::u16string_view units() const {
        return {static_cast<const char16_t*>(view_.get()), size_ / 2};
    }

private:
    ReadOnlyFileView() = default;
    KernelHandle mapping_;
    MappedView view_;
    std::size_t size_ = 0;
};

// Writes `bytes` beside `path` (no sharing while it is written) and then puts
// the new file in place of the old one, so `path` never holds half a file.
bool ReplaceFileContents(const wchar_t* path, std::span<const std::uint8_t> bytes);

} // namespace tide
