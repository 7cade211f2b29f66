// The heavy dictionary work: compiling and exporting a large code table,
// adding user entries, encoding phrases and unpacking a packaged library. The table is made up here
// (a fixed pseudo-random mix of 1-4 letter codes and 1-4 character words) so the benchmark needs no
// outside data; scripts/compare-dictionaries times a real table against peers.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "core/convert/TableConversion.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "core/dict/PhraseEncoder.h"
#include "core/dict/WordLibrary.h"

#include <cstring>
#include <vector>

namespace tide {
namespace {

std::u16string MakeTable(std::size_t entries) {
    std::u16string text =
        u"\uFEFF[CODETABLEHEADER]\r\nName=bench\r\nVersion=1\r\nAuthor=tide\r\n"
        u"CodeScheme=shape\r\nCodeLength=4\r\nBWCodeLength=0\r\n"
        u"SpecialPrefix=0\r\nWildChar=z\r\nPhraseRule=1\r\n[CODETABLE]\r\n";
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint32_t codeLength = 1 + next(4);
        for (std::uint32_t k = 0; k < codeLength; ++k) {
            text.push_back(static_cast<char16_t>(u'a' + next(25)));
        }
        text.push_back(u'\t');
        const std::uint32_t wordLength = 1 + next(4);
        for (std::uint32_t k = 0; k < wordLength; ++k) {
            text.push_back(static_cast<char16_t>(0x4E00 + next(20902)));
        }
        text.append(u"\r\n");
    }
    return text;
}

const std::u16string& Table() {
    static const std::u16string table = MakeTable(100000);
    return table;
}

void BM_CompileCodeTable(benchmark::State& state) {
    const std::u16string& table = Table();
    for (auto _ : state) {
        CompileResult result = CompileCodeTableText(table, table.size() * 2);
        benchmark::DoNotOptimize(result.library.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 100000);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * table.size() * 2));
}
BENCHMARK(BM_CompileCodeTable)->Unit(benchmark::kMillisecond);

// A Rime dictionary of the same size laid out as Rime's own are: the words
// of each code listed together (1-3 of them, not in candidate order), the
// codes (1-4 letters, all different) in no particular order.
std::string MakeRimeDict(std::size_t entries) {
    std::string text = "---\nname: bench\nversion: \"1\"\nsort: by_weight\n...\n";
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    // Codes from a walk through all 1-4 letter codes by a step prime to their number.
    constexpr std::uint32_t kCodes = 25 + 25 * 25 + 25 * 25 * 25 + 25 * 25 * 25 * 25;
    std::uint32_t walk = 0;
    for (std::size_t i = 0; i < entries;) {
        walk = (walk + 7919) % kCodes;
        std::uint32_t n = walk;
        std::uint32_t length = 1;
        for (std::uint32_t span = 25; n >= span; span *= 25) {
            n -= span;
            ++length;
        }
        std::string code(length, 'a');
        for (std::uint32_t k = length; k-- > 0; n /= 25) {
            code[k] = static_cast<char>('a' + n % 25);
        }
        for (std::uint32_t words = 1 + next(3); words > 0 && i < entries; --words, ++i) {
            for (std::uint32_t k = 1 + next(4); k > 0; --k) {
                const std::uint32_t c = 0x4E00 + next(20902);
                text += static_cast<char>(0xE0 | (c >> 12));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            }
            text += "\t" + code + "\t" + std::to_string(next(1000000)) + "\n";
        }
    }
    return text;
}

void BM_ConvertRimeToTable(benchmark::State& state) {
    static const std::string dict = MakeRimeDict(100000);
    for (auto _ : state) {
        ConversionResult result =
            ConvertTable(TableFormat::Rime, TableFormat::Tide, dict, "bench", "bench");
        benchmark::DoNotOptimize(result.output.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 100000);
}
BENCHMARK(BM_ConvertRimeToTable)->Unit(benchmark::kMillisecond);

void BM_ExportEntries(benchmark::State& state) {
    const std::u16string& table = Table();
    const CompileResult compiled = CompileCodeTableText(table, table.size() * 2);
    const auto library = LibraryView::Open(compiled.library);
    for (auto _ : state) {
        CodeTableWriter writer;
        WriteHeaderText(writer, library->header());
        ExportEntries(*library, writer);
        benchmark::DoNotOptimize(writer.text().data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 100000);
}
BENCHMARK(BM_ExportEntries)->Unit(benchmark::kMillisecond);

const std::vector<std::uint8_t>& CompiledTable() {
    static const std::vector<std::uint8_t> library =
        CompileCodeTableText(Table(), Table().size() * 2).library;
    return library;
}

// 10,000 user entries, each checked for a duplicate first, as the import of a
// user-entry file does.
void BM_AddUserEntries(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::uint8_t> bytes = CompiledTable();
        bytes.resize(bytes.size() + 1024 * 1024, 0);
        auto library = WordLibrary::Open(bytes, false);
        library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
        state.ResumeTiming();
        std::u16string code = u"aaaa";
        for (int i = 0; i < 10000; ++i) {
            code[1 + i % 3] = static_cast<char16_t>(u'a' + (i / 3) % 26);
            code[0] = static_cast<char16_t>(u'a' + i % 26);
            const std::u16string word =
                u"用户" + std::u16string(1, static_cast<char16_t>(0x4E00 + i));
            library->AddUserEntry(code, word);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_AddUserEntries)->Unit(benchmark::kMillisecond);

// The phrase code of every phrase of the table.
void BM_EncodePhrases(benchmark::State& state) {
    const auto library = LibraryView::Open(CompiledTable());
    std::vector<std::u16string> phrases;
    library->ForEachEntry([&](const LibraryEntry& entry) {
        if (entry.word.size() > 1) {
            phrases.emplace_back(entry.word);
        }
    });
    for (auto _ : state) {
        for (const auto& phrase : phrases) {
            benchmark::DoNotOptimize(EncodePhrase(*library, phrase));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * phrases.size()));
}
BENCHMARK(BM_EncodePhrases)->Unit(benchmark::kMillisecond);

void BM_UnpackDictionary(benchmark::State& state) {
    const std::vector<std::uint8_t> package = PackDictionary(CompiledTable());
    for (auto _ : state) {
        benchmark::DoNotOptimize(UnpackDictionary(package).library.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * CompiledTable().size()));
}
BENCHMARK(BM_UnpackDictionary)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tide

BENCHMARK_MAIN();
