// Any bytes as another input method's word list: the cell dictionary reader
// and the text decoders and recognisers must never crash, hang or read
// outside the input, and every word they take is a non-empty text.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/dict/ForeignWordList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::ForeignWordList list = tide::ReadForeignWordList(std::span(data, size));
    for (const std::u16string_view word : list.words) {
        if (word.empty() && list.format != tide::WordListFormat::Ours) {
            __builtin_trap();
        }
    }
    return 0;
}
