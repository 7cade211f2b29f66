// Files of the installation: existence checks and the word libraries and
// skins found in InstallDir.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tide {

bool IsExistingFile(const wchar_t* path);

// Whether `name` is longer than `extension` and ends in it (any case).
bool HasExtension(std::wstring_view name, std::wstring_view extension);

// The names of the files in InstallDir that match `pattern` (relative to
// InstallDir, e.g. "Skin\*.ims") and whose long name really ends in
// `extension` (a short-name match such as "x.imcx" for "*.imc" is left out),
// in the order the directory search returns them. Empty when the
// installation is not recorded.
std::vector<std::wstring> ListInstalledFiles(const wchar_t* pattern, const wchar_t* extension);

// A file name no file in `folder` has yet: "Tide", four random digits and
// `extension` (".imc", ".ims"). Empty when every such name is taken.
std::wstring NewInstalledFileName(const std::wstring& folder, const wchar_t* extension);

} // namespace tide
