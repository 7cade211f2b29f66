// Compiling a code table file into a word library file, with the messages
// the user sees on the way, and exporting a library back to text.
#pragma once

#include <windows.h>

namespace tide {

// Compiles the code table at `textPath` into the library at `libraryPath`.
// With `carryEntries`, the entries of weights 252 and 253 of the current
// library are carried into the new one. Every problem with the text is shown
// through ShowInfoMessage; the target is replaced only after a successful
// compile and is never left half-written. TRUE on success.
BOOL CompileCodeTable(const wchar_t* textPath, const wchar_t* libraryPath, BOOL carryEntries);

// The same compile, telling the import command which of its summaries applies.
enum class ImportOutcome {
    Imported,
    CompilerUnavailable, // no memory for the compiler
    TableUnusable,       // the text could not be read, or its header is wrong
    GenerationFailed,    // an entry, or carrying the user entries, failed
    SaveFailed,          // the library could not be written
};
ImportOutcome ImportCodeTable(const wchar_t* textPath, const wchar_t* libraryPath,
                              bool carryEntries);

// Writes the library at `libraryPath` back as a code table at `textPath`:
// the header with its rules and every table entry (user entries and carried
// entries stay out). FALSE when the library cannot be read or is damaged, or
// the text cannot be written.
BOOL ExportCodeTable(const wchar_t* libraryPath, const wchar_t* textPath);

} // namespace tide
