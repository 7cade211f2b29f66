#include "win/FileDeletion.h"

#include <windows.h>
#include <shlwapi.h>

#include "win/PathBuffer.h"
#include "win/WideText.h"

namespace tide {
namespace {

// The shell's make-unique-name service is exported by ordinal only.
constexpr WORD kMakeUniqueNameOrdinal = 75;
using MakeUniqueNameFn = BOOL(WINAPI*)(PWSTR unique, PCWSTR folder, PCWSTR shortTemplate,
                                       PCWSTR longTemplate);

bool MakeUniqueNameInFolder(const wchar_t* folder, const wchar_t* templateName,
                            PathBuffer& unique) {
    HMODULE shell = ::GetModuleHandleW(L"Shell32.dll");
    if (!shell) {
        shell = ::LoadLibraryW(L"Shell32.dll"); // stays loaded: the process uses it anyway
    }
    const auto makeUniqueName =
        shell ? reinterpret_cast<MakeUniqueNameFn>(reinterpret_cast<void*>(
                    ::GetProcAddress(shell, MAKEINTRESOURCEA(kMakeUniqueNameOrdinal))))
              : nullptr;
    return makeUniqueName && makeUniqueName(unique, folder, templateName, nullptr);
}

} // namespace

int DeleteFileForced(const wchar_t* path) {
    if (::DeleteFileW(path)) {
        return 1;
    }
    // In use: move it out of the way, to the root of the same drive so the
    // move never copies, and let the system delete it at the next restart.
    const std::wstring_view fullPath(path);
    if (fullPath.size() < 3) {
        return 0;
    }
    const std::wstring driveRoot(fullPath.substr(0, 3));
    PathBuffer unique = {};
    if (!MakeUniqueNameInFolder(driveRoot.c_str(), ::PathFindFileNameW(path), unique)) {
        return 0;
    }
    if (!::MoveFileExW(path, unique, MOVEFILE_REPLACE_EXISTING)) {
        return 0;
    }
    ::SetFileAttributesW(unique, FILE_ATTRIBUTE_HIDDEN);
    ::MoveFileExW(unique, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 1;
}

} // namespace tide
