// Any bytes as an ibus-table table: the source text's reader, or (for bytes
// that start like one) the SQLite database reader with its pages, overflow
// chains and records; every writer must never crash, hang or read outside
// the input, and whatever converts must read back with the target's reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ConvertedTableCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    tide::fuzz::ConvertToEveryFormat(tide::TableFormat::Ibus, input);
    return 0;
}
