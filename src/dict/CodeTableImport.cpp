#include "dict/CodeTableImport.h"

#include <new>

#include "app/FileAccess.h"
#include "app/WideText.h"
#include "config/ConfigStorage.h"
#include "dict/CodeTableWriter.h"
#include "dict/CompileMessages.h"
#include "dict/LibraryBuilder.h"
#include "dict/LibraryView.h"
#include "dict/WordLibrary.h"

namespace tide {
namespace {

void ShowCompileMessage(std::u16string_view message) {
    ShowInfoMessage(::GetDesktopWindow(), ToWide(message).c_str());
}

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

BOOL CompileCodeTable(const wchar_t* textPath, const wchar_t* libraryPath, BOOL carryEntries) {
    CompileResult result;
    {
        const auto text = ReadOnlyFileView::Open(textPath);
        if (!text) {
            ShowCompileMessage(kMsgTableOpenFailed);
            return FALSE;
        }
        try {
            result = CompileCodeTableText(text->units(), text->bytes().size(),
                                          carryEntries ? CarryEntries(CarryFromCurrentLibrary)
                                                       : CarryEntries());
        } catch (const std::bad_alloc&) {
            ShowCompileMessage(kMsgTableReaderFailed);
            return FALSE;
        }
    }
    if (!result.ok) {
        if (!result.message.empty()) {
            ShowCompileMessage(result.message);
        }
        return FALSE;
    }
    return ReplaceFileContents(libraryPath, result.library) ? TRUE : FALSE;
}

BOOL ExportCodeTable(const wchar_t* libraryPath, const wchar_t* textPath) {
    CodeTableWriter writer;
    {
        const auto file = ReadOnlyFileView::Open(libraryPath);
        const auto library = file ? LibraryView::Open(file->bytes()) : std::nullopt;
        if (!library) {
            return FALSE;
        }
        WriteHeaderText(writer, library->header());
        ExportEntries(*library, writer);
    }
    const std::u16string& text = writer.text();
    return ReplaceFileContents(textPath, {reinterpret_cast<const std::uint8_t*>(text.data()),
                                          text.size() * sizeof(char16_t)})
               ? TRUE
               : FALSE;
}

} // namespace tide
