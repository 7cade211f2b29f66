#include "win/dict/PackageInstall.h"

#include <windows.h>

#include <new>

#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "win/FileAccess.h"

namespace tide {

int InstallPackagedDictionary(const wchar_t* targetPath, const wchar_t* sourcePath) {
    UnpackResult result;
    {
        const auto package = ReadOnlyFileView::Open(sourcePath);
        if (!package) {
            return 0;
        }
        try {
            result = UnpackDictionary(package->bytes());
        } catch (const std::bad_alloc&) {
            return 0;
        }
    }
    if (result.status == UnpackStatus::NotAPackage) {
        return -1;
    }
    // Only a word library is installed as one, and only a whole one.
    const auto library =
        result.status == UnpackStatus::Ok ? LibraryView::Open(result.library) : std::nullopt;
    if (!library || !library->Verify() || !ReplaceFileContents(targetPath, result.library)) {
        return 0;
    }
    return static_cast<int>(result.library.size());
}

} // namespace tide
