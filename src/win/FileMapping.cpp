#include "win/FileMapping.h"

#include <algorithm>

namespace tide {

FileMapping FileMapping::OpenOrCreate(const wchar_t* name, HANDLE file, std::uint64_t size,
                                      Access access, Fit fit) {
    const bool readOnly = access == Access::ReadOnly;
    const DWORD viewAccess = readOnly ? FILE_MAP_READ : FILE_MAP_ALL_ACCESS;
    if (size == 0 || static_cast<std::size_t>(size) != size) {
        return {};
    }
    FileMapping result;
    if (name) {
        result.mapping_.reset(::OpenFileMappingW(viewAccess, FALSE, name));
    }
    if (!result.mapping_) {
        result.mapping_.reset(
            ::CreateFileMappingW(file, nullptr, readOnly ? PAGE_READONLY : PAGE_READWRITE,
                                 static_cast<DWORD>(size >> 32), static_cast<DWORD>(size), name));
    }
    if (!result.mapping_) {
        return {};
    }
    // A view of exactly `size` bytes fails on a smaller mapping; a view of all
    // of it is then bounded below (its size is only known in whole pages).
    const SIZE_T viewBytes = fit == Fit::Exactly ? static_cast<SIZE_T>(size) : 0;
    result.view_.reset(::MapViewOfFile(result.mapping_.get(), viewAccess, 0, 0, viewBytes));
    MEMORY_BASIC_INFORMATION region = {};
    if (!result.view_ || !::VirtualQuery(result.view_.get(), &region, sizeof(region))) {
        return {};
    }
    result.size_ = std::min<std::size_t>(region.RegionSize, static_cast<std::size_t>(size));
    return result;
}

void FileMapping::reset() noexcept {
    view_.reset();
    mapping_.reset();
    size_ = 0;
}

} // namespace tide
