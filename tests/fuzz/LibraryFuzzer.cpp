// Any bytes as a word library: opening, walking every entry and reading every
// character slot must stay inside the bytes and end.
#include <cstddef>
#include <cstdint>
#include <span>

#include "dict/CharSlots.h"
#include "dict/CodeTableWriter.h"
#include "dict/LibraryView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto library = tide::LibraryView::Open(std::span(data, size));
    if (!library) {
        return 0;
    }
    tide::CodeTableWriter writer;
    tide::WriteHeaderText(writer, library->header());
    tide::ExportEntries(*library, writer);
    for (std::uint32_t slot :
         {0u, 1u, 331u, 6960u, tide::kCharSlotCount, tide::kCharSlotCount + 1}) {
        (void)library->CharCode(slot);
    }
    return 0;
}
