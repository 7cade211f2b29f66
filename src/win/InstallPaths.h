// Where the input method is installed: the registry value SetupLocation under
// HKCU\Software\Tide, with "Tide" appended.
#pragma once

#include "win/PathBuffer.h"

namespace tide {

inline constexpr wchar_t kInstallKeyPath[] = L"Software\\Tide";
inline constexpr wchar_t kInstallValueName[] = L"SetupLocation";
// Base used for the configuration file when the installation is not recorded.
inline constexpr wchar_t kFallbackInstallBase[] = L"C:\\Program Files";

// 1 and InstallDir in `buffer`; 0 when the key or value is missing, is not
// text, or is 130 characters or longer (the buffer is then not to be used).
int QueryInstallDir(PathBuffer& buffer);

// InstallDir\Tide.cfg, falling back to C:\Program Files\Tide\Tide.cfg. Always
// fills the buffer.
void GetConfigFilePath(PathBuffer& buffer);

} // namespace tide
