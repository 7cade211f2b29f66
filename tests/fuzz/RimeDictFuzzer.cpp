// Any bytes as a Rime "*.dict.yaml": the header and entry readers and every
// writer must never crash, hang or read outside the input; whatever converts
// must read back with the target's reader, every written entry counted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ConvertedTableCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    tide::fuzz::ConvertToEveryFormat(tide::TableFormat::Rime, input);
    return 0;
}
