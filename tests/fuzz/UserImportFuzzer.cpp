// Any bytes as a user-entry import file, read into a small library with little
// room: every line is taken or refused, the import ends, and when it stops
// for room it goes on from the same line once there is more.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/dict/LibraryBuilder.h"
#include "core/dict/UserEntryFile.h"

namespace {

// 中 "abcd", 国 "efgh" and the default phrase rules.
const std::vector<std::uint8_t>& Library() {
    static const std::vector<std::uint8_t> library = [] {
        const std::u16string table =
            u"\uFEFF[CODETABLEHEADER]\r\nName=f\r\nVersion=1\r\nAuthor=f\r\nCodeScheme=f\r\n"
            u"CodeLength=4\r\nBWCodeLength=0\r\nSpecialPrefix=0\r\nWildChar=0\r\nPhraseRule=1\r\n"
            u"[CODETABLE]\r\nabcd\t中\r\nefgh\t国\r\n";
        return tide::CompileCodeTableText(table, table.size() * 2).library;
    }();
    return library;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    std::vector<std::uint8_t> bytes = Library();
    bytes.resize(bytes.size() + 512, 0);
    auto library = tide::WordLibrary::Open(bytes, false);
    library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
    tide::UserImportProgress progress;
    tide::ImportUserEntries(*library, text, progress);
    if (progress.stop == tide::UserImportStop::LibraryFull) {
        bytes.resize(bytes.size() + (1u << 20), 0);
        library = tide::WordLibrary::Open(bytes, false);
        library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
        const std::size_t before = progress.imported;
        tide::ImportUserEntries(*library, text, progress);
        if (progress.imported < before) {
            __builtin_trap();
        }
    }
    const auto view = library->view();
    if (progress.imported > progress.linesRead || !view || !view->Verify()) {
        __builtin_trap();
    }
    return 0;
}
