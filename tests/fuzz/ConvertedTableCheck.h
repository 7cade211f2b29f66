// The check every conversion fuzzer makes: a table converted to any format
// must read back with that format's own reader, without error and with as
// many entries as the conversion says it wrote.
#pragma once

#include <string>
#include <string_view>

#include "core/convert/FcitxTableFormat.h"
#include "core/convert/IbusTableFormat.h"
#include "core/convert/RimeDictFormat.h"
#include "core/convert/TableConversion.h"
#include "core/convert/TideTableFormat.h"

namespace tide::fuzz {

inline void ConvertToEveryFormat(TableFormat from, std::string_view input) {
    for (const TableFormat to :
         {TableFormat::Tide, TableFormat::Rime, TableFormat::Fcitx, TableFormat::Ibus}) {
        const ConversionResult result = ConvertTable(from, to, input, "fuzz", "fuzz");
        if (!result.error.empty()) {
            if (!result.output.empty()) {
                __builtin_trap(); // a refused conversion still wrote bytes
            }
            continue;
        }
        std::string storage;
        const LoadedTable back = to == TableFormat::Tide   ? ReadTideTable(result.output, storage)
                                 : to == TableFormat::Rime ? ReadRimeDict(result.output)
                                 : to == TableFormat::Ibus ? ReadIbusSource(result.output)
                                                           : ReadFcitxTable(result.output);
        if (!back.error.empty() || back.entries.size() != result.written) {
            __builtin_trap(); // the writer wrote a table its own reader refuses or miscounts
        }
    }
}

} // namespace tide::fuzz
