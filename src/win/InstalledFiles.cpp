#include "win/InstalledFiles.h"

#include <shlwapi.h>

#include <ctime>
#include <random>

#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/PathBuffer.h"
#include "win/WideText.h"

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

std::wstring NewInstalledFileName(const std::wstring& folder, const wchar_t* extension) {
    static std::minstd_rand random(static_cast<unsigned>(std::time(nullptr)));
    std::uniform_int_distribution<int> digits(0, 9999);
    // Random names collide rarely; after this many tries every name is
    // almost surely taken.
    for (int attempt = 0; attempt < 100000; ++attempt) {
        wchar_t number[8];
        ::wsprintfW(number, L"%04d", digits(random));
        const std::wstring name = L"Tide" + std::wstring(number) + extension;
        PathBuffer path;
        if (!CopyToBuffer(folder, path, kPathCapacity) || !::PathAppendW(path, name.c_str())) {
            return {};
        }
        if (!IsExistingFile(path)) {
            return name;
        }
    }
    return {};
}

} // namespace tide
