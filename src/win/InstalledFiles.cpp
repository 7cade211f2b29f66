#include "win/InstalledFiles.h"

#include <shlwapi.h>

#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/PathBuffer.h"

namespace tide {

bool IsExistingFile(const wchar_t* path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasExtension(std::wstring_view name, std::wstring_view extension) {
    if (name.size() <= extension.size()) {
        return false;
    }
    const std::wstring tail(name.substr(name.size() - extension.size()));
    return ::lstrcmpiW(tail.c_str(), std::wstring(extension).c_str()) == 0;
}

std::vector<std::wstring> ListInstalledFiles(const wchar_t* pattern, const wchar_t* extension) {
    std::vector<std::wstring> names;
    PathBuffer path;
    if (!QueryInstallDir(path) || !::PathAppendW(path, pattern)) {
        return names;
    }
    WIN32_FIND_DATAW found;
    FindHandle search(::FindFirstFileW(path, &found));
    if (!search) {
        return names;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            HasExtension(found.cFileName, extension)) {
            names.emplace_back(found.cFileName);
        }
    } while (::FindNextFileW(search.get(), &found));
    return names;
}

} // namespace tide
