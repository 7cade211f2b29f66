#include "win/dict/CodeTableImport.h"

#include <new>

#include "core/dict/CodeTableWriter.h"
#include "core/dict/CompileMessages.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "core/dict/WordLibrary.h"
#include "win/FileAccess.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"

namespace tide {
namespace {

// Appends the current library's entries of weights 252 and 253.
bool CarryFromCurrentLibrary(LibraryBuilder& builder) {
    PathBuffer path;
    GetCurrentDictionaryPath(path);
    const auto file = ReadOnlyFileView::Open(path);
    const auto library = file ? LibraryView::Open(file->bytes()) : std::nullopt;
    if (!library) {
        return false;
    }
    return CarryUserEntries(*library, builder);
}

} // namespace

ImportResult ImportCodeTable(const wchar_t* textPath, const wchar_t* libraryPath,
                             bool carryEntries) {
    CompileResult result;
    {
        const auto text = ReadOnlyFileView::Open(textPath);
        if (!text) {
            return {ImportOutcome::TableUnusable, ToWide(kMsgTableOpenFailed)};
        }
        try {
            result = CompileCodeTableText(text->units(), text->bytes().size(),
                                          carryEntries ? CarryEntries(CarryFromCurrentLibrary)
                                                       : CarryEntries());
        } catch (const std::bad_alloc&) {
            return {ImportOutcome::CompilerUnavailable, ToWide(kMsgTableReaderFailed)};
        }
    }
    if (!result.ok) {
        return {result.stage == CompileStage::Text ? ImportOutcome::TableUnusable
                                                   : ImportOutcome::GenerationFailed,
                ToWide(result.message)};
    }
    return {ReplaceFileContents(libraryPath, result.library) ? ImportOutcome::Imported
                                                             : ImportOutcome::SaveFailed,
            {}};
}

BOOL CompileCodeTable(const wchar_t* textPath, const wchar_t* libraryPath, BOOL carryEntries) {
    return ImportCodeTable(textPath, libraryPath, carryEntries != FALSE).outcome ==
                   ImportOutcome::Imported
               ? TRUE
               : FALSE;
}

BOOL ExportCodeTable(const wchar_t* libraryPath, const wchar_t* textPath) {
    CodeTableWriter writer;
    try {
        const auto file = ReadOnlyFileView::Open(libraryPath);
        const auto library = file ? LibraryView::Open(file->bytes()) : std::nullopt;
        if (!library) {
            return FALSE;
        }
        WriteHeaderText(writer, library->header());
        if (!ExportEntries(*library, writer)) {
            return FALSE;
        }
    } catch (const std::bad_alloc&) {
        return FALSE; // no room for the text
    }
    const std::u16string& text = writer.text();
    return ReplaceFileContents(textPath, {reinterpret_cast<const std::uint8_t*>(text.data()),
                                          text.size() * sizeof(char16_t)})
               ? TRUE
               : FALSE;
}

} // namespace tide
