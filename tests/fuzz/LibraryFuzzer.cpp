// Any bytes as a word library: opening, walking every entry, reading character
// slots, looking entries up, adding and removing user entries must stay
// inside the bytes (and the growth room) and end, and every entry a whole
// walk shows where a look-up goes must be found by the look-up.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dict/CharSlots.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PhraseEncoder.h"
#include "core/dict/WordLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto library = tide::LibraryView::Open(std::span(data, size));
    if (!library) {
        return 0;
    }
    tide::CodeTableWriter writer;
    tide::WriteHeaderText(writer, library->header());
    tide::ExportEntries(*library, writer);
    for (std::uint32_t slot :
         {0u, 1u, 331u, 6960u, tide::kCharSlotCount, tide::kCharSlotCount + 1}) {
        (void)library->CharCode(slot);
    }
    (void)tide::EncodePhrase(*library, u"〇⺀一丁");

    // The same bytes opened for writing, with a little room to grow.
    std::vector<std::uint8_t> bytes(data, data + size);
    bytes.resize(size + 4096, 0);
    auto writable = tide::WordLibrary::Open(bytes, false);
    if (!writable) {
        return 0;
    }
    writable->SetCapacity(static_cast<std::uint32_t>(bytes.size()));
    // What a whole walk shows where a look-up of its code goes (in the chain
    // of the node its code leads to), the look-up finds: the chain search
    // and the walk read records alike.
    struct Shown {
        std::u16string code;
        std::u16string word;
        std::uint32_t offset;
    };
    std::vector<Shown> shown;
    const bool whole = library->ForEachEntry([&](const tide::LibraryEntry& entry) {
        if (shown.size() < 256) {
            shown.push_back({std::u16string(entry.code), std::u16string(entry.word), entry.offset});
        }
    });
    for (const Shown& entry : whole ? shown : std::vector<Shown>{}) {
        const auto node = writable->FindCodeNode(entry.code);
        bool inChain = false;
        if (node) {
            library->ForEachRecordOf(node->offset, node->path, [&](const tide::LibraryEntry& r) {
                inChain = inChain || r.offset == entry.offset;
            });
        }
        if (inChain && !writable->ContainsEntry(entry.code, entry.word)) {
            __builtin_trap();
        }
    }
    const std::u16string codes[] = {u"a", u"abc", u"abcdef", u"zz"};
    for (const auto& code : codes) {
        (void)writable->FindCodeNode(code);
        (void)writable->ContainsEntry(code, u"〇");
        (void)writable->AddUserEntry(code, u"用户");
        (void)writable->RemoveEntry(code, u"用户");
    }
    if (const auto view = writable->view()) {
        (void)tide::ListUserEntries(*view).has_value();
    }
    return 0;
}
