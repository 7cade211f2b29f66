// Any bytes as a word library: opening, walking every entry, reading character
// slots, looking entries up, adding and removing user entries must stay
// inside the bytes (and the growth room) and end.
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
