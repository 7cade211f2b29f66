// Any bytes as a table a maker checks: the first byte picks the format (Rime,
// fcitx, ibus-table source, ours), the rest is the table. Whatever reads is
// measured, reported on as HTML and looked up in, and the figures must add
// up. Kept apart from the readers' fuzzers: measuring costs milliseconds a
// table whatever its size, and those fuzzers keep their pace.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/convert/TableConversion.h"
#include "core/stats/StatisticsReport.h"
#include "core/stats/TableStatistics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tide;
    if (size == 0) {
        return 0;
    }
    constexpr TableFormat kFormats[] = {TableFormat::Rime, TableFormat::Fcitx, TableFormat::Ibus,
                                        TableFormat::Tide};
    const TableFormat format = kFormats[data[0] % 4];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::deque<std::string> texts;
    std::vector<std::string> perFile;
    const LoadedTable table = ReadTable(format, input, "fuzz", {}, texts, perFile);
    if (!table.error.empty()) {
        return 0;
    }
    const TableStatistics stats = MeasureTable(table);
    std::size_t byLength = 0;
    for (std::size_t n = 0; n < stats.characterLengths.size(); ++n) {
        byLength += stats.characterLengths[n] + stats.phraseLengths[n];
    }
    std::size_t byCandidates = 0;
    for (const std::size_t codes : stats.candidates) {
        byCandidates += codes;
    }
    if (stats.characters + stats.phrases != stats.entries || byLength != stats.entries ||
        byCandidates != stats.codes || stats.codes > stats.entries ||
        stats.sharedFullCodes.count > stats.sharedFullCodes.of) {
        __builtin_trap(); // the figures do not add up
    }
    StatisticsReportHtml(stats, "fuzz");
    return 0;
}
