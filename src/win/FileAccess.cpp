#include "win/FileAccess.h"

#include <string>

namespace tide {

std::optional<ReadOnlyFileView> ReadOnlyFileView::Open(const wchar_t* path, Error* error) {
    auto fail = [error](Error why) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        return fail(Error::OpenFailed);
    }
    ReadOnlyFileView result;
    if (size.QuadPart != 0) { // an empty file cannot be mapped; it is simply empty
        result.mapping_ = FileMapping::OpenOrCreate(nullptr, file.get(),
                                                    static_cast<std::uint64_t>(size.QuadPart),
                                                    FileMapping::Access::ReadOnly);
        if (!result.mapping_) {
            return fail(Error::MapFailed);
        }
    }
    if (error) {
        *error = Error::None;
    }
    return result;
}

namespace {

// A new file beside `path` that did not exist before: "PATH.new", else
// "PATH.new1" and so on. Never someone else's file, and no link followed.
FileHandle CreateTemporaryBeside(const wchar_t* path, std::wstring& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = std::wstring(path) + L".new";
        if (attempt > 0) {
            temporary += std::to_wstring(attempt);
        }
        FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return {};
}

} // namespace

bool ReplaceFileContents(const wchar_t* path, std::span<const std::uint8_t> bytes) {
    std::wstring temporary;
    {
        FileHandle file = CreateTemporaryBeside(path, temporary);
        if (!file) {
            return false;
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                file.reset();
                ::DeleteFileW(temporary.c_str());
                return false;
            }
            done += written;
        }
        if (!::FlushFileBuffers(file.get())) {
            file.reset();
            ::DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temporary.c_str(), path,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace tide
