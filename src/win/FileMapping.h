// File mappings and their views. The input method maps the configuration, the
// current word library and the current skin by name; this program opens the
// same names, so what one side writes the other sees at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "win/Handles.h"

namespace tide {

class FileMapping {
public:
    enum class Access { ReadOnly, ReadWrite };
    // How much of an existing mapping of the name will do.
    enum class Fit {
        Exactly, // all `size` bytes, or nothing (a record of fixed size)
        AtMost,  // what it holds, up to `size` (a library or skin mapped by
                 // the input method may be smaller, or another file's)
    };

    FileMapping() = default;

    // Opens the mapping called `name` when it exists (another process made
    // it), else creates it over `file` (INVALID_HANDLE_VALUE: backed by the
    // page file) with `size` bytes, and maps it as `fit` says. A null `name`
    // makes an unnamed mapping. Empty when any step fails.
    static FileMapping OpenOrCreate(const wchar_t* name, HANDLE file, std::uint64_t size,
                                    Access access, Fit fit = Fit::AtMost);

    explicit operator bool() const noexcept { return view_.valid(); }
    std::uint8_t* data() const noexcept { return static_cast<std::uint8_t*>(view_.get()); }
    std::size_t size() const noexcept { return size_; }
    std::span<std::uint8_t> bytes() const noexcept { return {data(), size_}; }

    // Unmaps the view and closes the mapping.
    void reset() noexcept;

private:
    KernelHandle mapping_;
    MappedView view_;
    std::size_t size_ = 0;
};

} // namespace tide
