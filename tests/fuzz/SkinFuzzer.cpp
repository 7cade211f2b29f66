// Any bytes as a skin file: the parser never reads past the bytes, and the
// record of whatever loads survives its text form unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "core/skin/SkinFormat.h"
#include "core/skin/SkinRecordText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto skin = tide::ParseSkin(std::span(data, size));
    if (!skin) {
        return 0;
    }
    tide::SkinRecord zero;
    std::memset(&zero, 0, sizeof(zero));
    const auto back = tide::SkinRecordFromText(tide::SkinRecordToText(skin->record), zero);
    if (!back || std::memcmp(&*back, &skin->record, sizeof(zero)) != 0) {
        __builtin_trap();
    }
    return 0;
}
