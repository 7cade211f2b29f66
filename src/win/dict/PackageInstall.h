// Installing a packaged dictionary ("TIDC") as a word library file.
#pragma once

namespace tide {

// Unpacks the package at `sourcePath` into a new library at `targetPath`.
// Returns the bytes written (> 0), -1 when the source is not a package, 0 on
// any other failure; a failure leaves no file at the target.
int InstallPackagedDictionary(const wchar_t* targetPath, const wchar_t* sourcePath);

} // namespace tide
