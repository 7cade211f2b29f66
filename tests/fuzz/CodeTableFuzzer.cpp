// Any bytes as a code table file: the reader, the header parser and the
// compiler must never crash, hang, read outside the input or write past their
// buffer; whatever they accept must walk and export cleanly.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/dict/CodeTableWriter.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::CompileResult result = tide::CompileCodeTableText(std::span(data, size));
    if (!result.ok) {
        return 0;
    }
    const auto library = tide::LibraryView::Open(result.library);
    if (!library) {
        __builtin_trap(); // the compiler wrote a library its own reader refuses
    }
    tide::CodeTableWriter writer;
    tide::WriteHeaderText(writer, library->header());
    tide::ExportEntries(*library, writer);
    return 0;
}
