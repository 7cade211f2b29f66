// Compiling a code table file into a word library file, with what the
// compiler has to tell the user, and exporting a library back to text. Nothing
// here shows a window: the tool that asked shows the messages, owned by its
// own dialog.
#pragma once

#include <windows.h>

#include <string>

namespace tide {

// Compiles the code table at `textPath` into the library at `libraryPath`.
// With `carryEntries`, the entries of weights 252 and 253 of the current
// library are carried into the new one. The target is replaced only after a
// successful compile and is never left half-written. TRUE on success.
BOOL CompileCodeTable(const wchar_t* textPath, const wchar_t* libraryPath, BOOL carryEntries);

// The same compile, telling the import command which of its summaries applies
// and what the compiler said on the way.
enum class ImportOutcome {
    Imported,
    CompilerUnavailable, // no memory for the compiler
    TableUnusable,       // the text could not be read, or its header is wrong
    GenerationFailed,    // an entry, or carrying the user entries, failed
    SaveFailed,          // the library could not be written
};
struct ImportResult {
    ImportOutcome outcome = ImportOutcome::Imported;
    std::wstring message; // the compiler's own message; empty when it had none
};
ImportResult ImportCodeTable(const wchar_t* textPath, const wchar_t* libraryPath,
                             bool carryEntries);

// Writes the library at `libraryPath` back as a code table at `textPath`:
// the header with its rules and every table entry (user entries and carried
// entries stay out). FALSE when the library cannot be read or is damaged, or
// the text cannot be written.
BOOL ExportCodeTable(const wchar_t* libraryPath, const wchar_t* textPath);

} // namespace tide
