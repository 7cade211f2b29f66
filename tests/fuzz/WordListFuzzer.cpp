// Any bytes as another input method's word list: the cell dictionary reader
// and the text decoders and recognisers must never crash, hang or read
// outside the input, and every word they take is a non-empty text. The words
// are then merged into a small library with little room: the import goes on
// after each growth, ends, counts what it told beforehand, and leaves a
// library that walks whole.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dict/ForeignImport.h"
#include "core/dict/ForeignWordList.h"
#include "core/dict/LibraryBuilder.h"

namespace {

// 中 "abcd", 国 "efgh", 好 "ab", a character outside the BMP, and the
// default phrase rules.
const std::vector<std::uint8_t>& Library() {
    static const std::vector<std::uint8_t> library = [] {
        const std::u16string table =
            u"\uFEFF[CODETABLEHEADER]\r\nName=f\r\nVersion=1\r\nAuthor=f\r\nCodeScheme=f\r\n"
            u"CodeLength=4\r\nBWCodeLength=0\r\nSpecialPrefix=0\r\nWildChar=0\r\nPhraseRule=1\r\n"
            u"[CODETABLE]\r\nabcd\t中\r\nefgh\t国\r\nab\t好\r\nzz\t𠀀\r\n";
        return tide::CompileCodeTableText(table, table.size() * 2).library;
    }();
    return library;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tide::ForeignWordList list = tide::ReadForeignWordList(std::span(data, size));
    for (const std::u16string_view word : list.words) {
        if (word.empty() && list.format != tide::WordListFormat::Ours) {
            __builtin_trap();
        }
    }
    if (!list.error.empty() || list.format == tide::WordListFormat::Ours) {
        return 0;
    }
    const auto words = std::span(list.words).first(std::min<std::size_t>(list.words.size(), 500));
    std::vector<std::uint8_t> bytes = Library();
    bytes.resize(bytes.size() + 256, 0);
    auto library = tide::WordLibrary::Open(bytes, false);
    library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
    const tide::ForeignImportCounts told = tide::CountForeignWords(*library, words);
    tide::ForeignImportProgress progress;
    tide::ImportForeignWords(*library, words, progress);
    while (progress.stop == tide::UserImportStop::LibraryFull) {
        bytes.resize(bytes.size() + tide::ForeignImportRoom(words), 0);
        library = tide::WordLibrary::Open(bytes, false);
        library->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
        const std::size_t before = progress.next;
        tide::ImportForeignWords(*library, words, progress);
        if (progress.stop == tide::UserImportStop::LibraryFull && progress.next == before) {
            __builtin_trap(); // the room the import asks for did not suffice
        }
    }
    const tide::ForeignImportCounts& done = progress.counts;
    const auto view = library->view();
    if (progress.stop != tide::UserImportStop::None || done.imported != told.imported ||
        done.alreadyPresent != told.alreadyPresent || done.noCode != told.noCode ||
        done.singleCharacters != told.singleCharacters ||
        done.imported + done.alreadyPresent + done.noCode + done.singleCharacters != words.size() ||
        !view || !view->Verify()) {
        __builtin_trap();
    }
    return 0;
}
