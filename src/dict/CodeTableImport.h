// Compiling a code table file into a word library file, with the messages
// the user sees on the way.
#pragma once

#include <windows.h>

namespace tide {

// Compiles the code table at `textPath` into the library at `libraryPath`.
// With `carryEntries`, the entries of weights 252 and 253 of the current
// library are carried into the new one. Every problem with the text is shown
// through ShowInfoMessage; the target is replaced only after a successful
// compile and is never left half-written. TRUE on success.
BOOL CompileCodeTable(const wchar_t* textPath, const wchar_t* libraryPath, BOOL carryEntries);

} // namespace tide
