#include "win/InstallPaths.h"

#include <shlwapi.h>

#include "core/contract/ImeContract.h"
#include "win/Handles.h"
#include "win/WideText.h"

namespace tide {
namespace {

// The value is read with a data limit of 260 bytes: at most 129 characters
// and the terminator.
constexpr DWORD kSetupLocationByteLimit = 260;

bool ReadSetupLocation(PathBuffer& buffer) {
    RegistryKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kInstallKeyPath, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD size = kSetupLocationByteLimit;
    static_assert(sizeof(PathBuffer) >= kSetupLocationByteLimit + sizeof(wchar_t));
    if (::RegQueryValueExW(key.get(), kInstallValueName, nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = L'\0';
        return false;
    }
    // A value stored without its terminator is still read as text.
    buffer[size / sizeof(wchar_t)] = L'\0';
    return true;
}

} // namespace

int QueryInstallDir(PathBuffer& buffer) {
    if (!ReadSetupLocation(buffer)) {
        return 0;
    }
    return ::PathAppendW(buffer, ToWide(kInstallSubdirectory).c_str()) ? 1 : 0;
}

void GetConfigFilePath(PathBuffer& buffer) {
    if (!ReadSetupLocation(buffer)) {
        CopyToBuffer(kFallbackInstallBase, buffer, kPathCapacity);
    }
    ::PathAppendW(buffer, ToWide(kInstallSubdirectory).c_str());
    ::PathAppendW(buffer, ToWide(kConfigFileName).c_str());
}

} // namespace tide
