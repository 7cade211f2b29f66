// Any bytes as a packaged dictionary: never a crash, an overrun or an
// allocation beyond the size limit; what unpacks is complete, and is checked
// as the installer checks it (a library whose whole index can be walked).
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::UnpackResult result = tide::UnpackDictionary(std::span(data, size));
    if (result.status != tide::UnpackStatus::Ok) {
        return 0;
    }
    if (result.library.empty()) {
        __builtin_trap();
    }
    if (const auto library = tide::LibraryView::Open(result.library)) {
        (void)library->Verify();
    }
    return 0;
}
