// The input-method module "Tide%d.ime" in the 32-bit system folder, and the
// version information this program reads from it and from itself.
#pragma once

#include <string>

#include "win/PathBuffer.h"

namespace tide {

// The version text block every module of the product carries.
inline constexpr wchar_t kFileVersionTextQuery[] = L"\\StringFileInfo\\080404B0\\FileVersion";

// 1 when both the fixed file version and the FileVersion text of `path` were
// read, else 0. Out parameters may be null; the numbers are stored as soon as
// the fixed part is read, even when the text is missing.
int ReadFileVersion(const wchar_t* path, DWORD* outHigh, DWORD* outLow, std::wstring* outText);

// The module name derived from the fixed version of the file at `modulePath`:
// "Tide" + (1000A + 100B + 10C + D) + ".ime".
std::wstring ImeFileNameForModule(const wchar_t* modulePath);

// The module name derived from this program's own version.
void MakeImeFileName(PathBuffer& buffer);

// The 32-bit system folder joined with the module name.
void GetImeFilePath(PathBuffer& buffer);

// The FileVersion text of the installed module; empty when the module or its
// version information is missing.
std::wstring InstalledImeVersionText();

} // namespace tide
