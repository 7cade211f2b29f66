// Any bytes as a packaged dictionary: never a crash, an overrun or an
// allocation beyond the size limit; what unpacks is a complete library.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/dict/PackagedDictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::UnpackResult result = tide::UnpackDictionary(std::span(data, size));
    if (result.status == tide::UnpackStatus::Ok && result.library.empty()) {
        __builtin_trap();
    }
    return 0;
}
