// Opening a word library in place, under the mapping name the input method
// uses, and the operations on the current library that the entry dialogs use.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/dict/PhraseEncoder.h"
#include "core/dict/WordLibrary.h"
#include "win/FileMapping.h"

namespace tide {

// One open library: the mapping and its view. Lives for one user command.
class LibraryHandle {
public:
    LibraryHandle(LibraryHandle&&) noexcept = default;
    LibraryHandle& operator=(LibraryHandle&&) noexcept = default;

    WordLibrary& library() { return *library_; }
    const WordLibrary& library() const { return *library_; }
    bool readOnly() const { return library_->readOnly(); }

private:
    friend std::optional<LibraryHandle> OpenLibrary(const wchar_t* path, bool readOnly,
                                                    std::uint32_t growthRoom);
    LibraryHandle() = default;

    FileMapping mapping_;
    std::optional<WordLibrary> library_;
};

// Maps the library at `path` as "TIDE_CODETABLE_" + its file name (an
// existing mapping of that name first). Opened for writing unless `readOnly`
// or the file allows reading only; a writable library gets `growthRoom`
// bytes of growth room, recorded as its Capacity (an existing mapping keeps
// the size it was made with). Nothing when the file is missing, cannot be
// opened or mapped, or is no word library.
std::optional<LibraryHandle> OpenLibrary(const wchar_t* path, bool readOnly = false,
                                         std::uint32_t growthRoom = kLibraryGrowthRoom);

// InstallDir joined with the current library's file name.
std::wstring CurrentLibraryPath();

// Adds a user entry to the current library; TRUE when the library holds it after.
BOOL AddEntryToCurrentLibrary(const wchar_t* code, const wchar_t* word);

// CodeLength of the current library, or 0 when it cannot be opened.
int GetCurrentCodeLength();

// The phrase code of `word` in the current library and whether the entry is
// new; `code` receives the code for Valid and AlreadyExists.
EntryCheckStatus AutoEncodeEntry(const wchar_t* word, std::wstring& code);

// Whether a word with a code typed by hand can be added to the current library.
EntryCheckStatus CheckEntry(const wchar_t* word, const wchar_t* code);

} // namespace tide
