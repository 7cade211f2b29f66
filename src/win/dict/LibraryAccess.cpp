#include "win/dict/LibraryAccess.h"

#include <shlwapi.h>

#include <algorithm>

#include "win/InstallPaths.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"

namespace tide {

std::optional<LibraryHandle> OpenLibrary(const wchar_t* path, bool readOnly,
                                         std::uint32_t growthRoom) {
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    FileHandle file;
    if (!readOnly) {
        file.reset(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        readOnly = !file;
    }
    if (!file) {
        file.reset(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    LARGE_INTEGER fileSize = {};
    if (!file || !::GetFileSizeEx(file.get(), &fileSize)) {
        return std::nullopt;
    }
    // The mapping is as large as the bytes in use (plus the growth room); a
    // header whose UsedLength the file cannot hold is not trusted for that.
    CodeTableHeader header = {};
    DWORD read = 0;
    if (!::ReadFile(file.get(), &header, sizeof(header), &read, nullptr) ||
        read != sizeof(header) || header.UsedLength < sizeof(header) ||
        static_cast<long long>(header.UsedLength) > fileSize.QuadPart) {
        return std::nullopt;
    }
    const std::uint64_t size = std::uint64_t{header.UsedLength} + (readOnly ? 0 : growthRoom);
    if (size > 0xFFFFFFFFu) {
        return std::nullopt;
    }

    LibraryHandle handle;
    const std::wstring name =
        ToWide(MappingNameForFile(kLibraryMappingPrefix, AsU16(::PathFindFileNameW(path))));
    handle.mapping_ = FileMapping::OpenOrCreate(name.c_str(), file.get(), size,
                                                readOnly ? FileMapping::Access::ReadOnly
                                                         : FileMapping::Access::ReadWrite);
    if (!handle.mapping_) {
        return std::nullopt;
    }
    handle.library_ = WordLibrary::Open(handle.mapping_.bytes(), readOnly);
    if (!handle.library_) {
        return std::nullopt;
    }
    if (!readOnly) {
        // A mapping the input method made first may be smaller than asked.
        handle.library_->SetCapacity(static_cast<std::uint32_t>(
            std::min<std::uint64_t>(size, handle.mapping_.bytes().size())));
    }
    return handle;
}

std::wstring CurrentLibraryPath() {
    PathBuffer path;
    GetCurrentDictionaryPath(path);
    return path;
}

BOOL AddEntryToCurrentLibrary(const wchar_t* code, const wchar_t* word) {
    auto handle = OpenLibrary(CurrentLibraryPath().c_str());
    if (!handle) {
        return FALSE;
    }
    // Present already (the input method may have added it meanwhile) is as good.
    const auto added = handle->library().AddUserEntry(AsU16(code), AsU16(word));
    return added == WordLibrary::AddResult::Added || added == WordLibrary::AddResult::AlreadyPresent
               ? TRUE
               : FALSE;
}

int GetCurrentCodeLength() {
    const auto handle = OpenLibrary(CurrentLibraryPath().c_str(), true);
    return handle ? handle->library().header().CodeLength : 0;
}

EntryCheckStatus AutoEncodeEntry(const wchar_t* word, std::wstring& code) {
    std::u16string derived;
    const std::u16string_view text = AsU16(word);
    // Checks need no growth room: the library is opened for reading.
    const auto handle =
        CountCodePoints(text) >= 2 ? OpenLibrary(CurrentLibraryPath().c_str(), true) : std::nullopt;
    const auto view = handle ? handle->library().view() : std::nullopt;
    const EntryCheckStatus status = AutoEncodeStatus(
        view ? &*view : nullptr, text, derived, [&](std::u16string_view c, std::u16string_view w) {
            return handle->library().ContainsEntry(c, w);
        });
    code = ToWide(derived);
    return status;
}

EntryCheckStatus CheckEntry(const wchar_t* word, const wchar_t* code) {
    const std::u16string_view text = AsU16(word);
    const std::u16string_view given = AsU16(code);
    const auto handle = !text.empty() && !given.empty()
                            ? OpenLibrary(CurrentLibraryPath().c_str(), true)
                            : std::nullopt;
    return CheckEntryStatus(handle.has_value(), text, given,
                            [&](std::u16string_view c, std::u16string_view w) {
                                return handle->library().ContainsEntry(c, w);
                            });
}

} // namespace tide
