#include "dict/PackageInstall.h"

#include <windows.h>

#include <vector>

#include "app/FileAccess.h"
#include "dict/LibraryView.h"
#include "dict/PackagedDictionary.h"

namespace tide {

int InstallPackagedDictionary(const wchar_t* targetPath, const wchar_t* sourcePath) {
    UnpackResult result;
    {
        FileHandle file(::CreateFileW(sourcePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size = {};
        if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
            return 0;
        }
        std::vector<std::uint8_t> package;
        try {
            package.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            return 0;
        }
        DWORD read = 0;
        if (!::ReadFile(file.get(), package.data(), static_cast<DWORD>(package.size()), &read,
                        nullptr) ||
            read != package.size()) {
            return 0;
        }
        result = UnpackDictionary(package);
    }
    if (result.status == UnpackStatus::NotAPackage) {
        return -1;
    }
    // Only a word library is installed as one.
    if (result.status != UnpackStatus::Ok || !LibraryView::Open(result.library) ||
        !ReplaceFileContents(targetPath, result.library)) {
        return 0;
    }
    return static_cast<int>(result.library.size());
}

} // namespace tide
