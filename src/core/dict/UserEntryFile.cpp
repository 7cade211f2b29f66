#include "core/dict/UserEntryFile.h"

#include <algorithm>

#include "core/dict/CodeTableText.h"
#include "core/dict/CodeTableWriter.h"
#include "core/dict/PhraseEncoder.h"

namespace tide {

void ImportUserEntries(WordLibrary& library, std::u16string_view text,
                       UserImportProgress& progress) {
    progress.stop = UserImportStop::None;
    progress.culprit.clear();
    CodeTableLines lines(text.substr(std::min(progress.position, text.size())));
    const std::size_t base = progress.position;
    const std::size_t firstLine = progress.lineNumber;
    // Phrase codes come from the character codes and rules, which entries
    // added meanwhile never change: one view serves every line.
    const auto encoding = library.view();
    const auto encoder = EncoderFor(encoding);
    std::u16string derived;
    while (!lines.AtEnd()) {
        const std::size_t start = base + lines.position();
        const std::u16string_view line = lines.Next();
        progress.lineNumber = firstLine + lines.lineNumber();
        progress.position = base + lines.position();
        if (line.empty()) {
            continue;
        }
        const EntryLine entry = SplitEntryLine(line);
        std::u16string_view code = entry.code;
        std::u16string_view word = entry.word;
        if (word.empty()) {
            // A word alone: its code comes from the phrase rules.
            word = entry.code;
            if (!encoder || !encoder->Encode(word, derived)) {
                progress.stop = UserImportStop::EncodingFailed;
                progress.culprit = word;
                return;
            }
            code = derived;
        } else if (!IsLetterCode(code)) {
            progress.stop = UserImportStop::IllegalCode;
            progress.culprit = code;
            return;
        }
        const WordLibrary::AddResult added = library.AddUserEntry(code, word);
        if (added == WordLibrary::AddResult::Full || added == WordLibrary::AddResult::Refused) {
            progress.stop = added == WordLibrary::AddResult::Full ? UserImportStop::LibraryFull
                                                                  : UserImportStop::EntryRefused;
            progress.culprit = word;
            progress.position = start;
            --progress.lineNumber;
            return;
        }
        progress.imported += added == WordLibrary::AddResult::Added ? 1 : 0;
        ++progress.linesRead;
    }
}

std::u16string UserEntriesText(std::span<const UserEntry> entries) {
    CodeTableWriter writer;
    for (const UserEntry& entry : entries) {
        WriteEntryLine(writer, entry.code, entry.word, kWeightNone);
    }
    return writer.text();
}

} // namespace tide
