#include "core/dict/ForeignImport.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <utility>

#include "core/dict/LibraryBuilder.h"
#include "core/dict/LibraryLayout.h"
#include "core/dict/PhraseEncoder.h"

namespace tide {
namespace {

// One character: one unit, or a surrogate pair.
bool IsSingleCharacter(std::u16string_view word) {
    return word.size() == 1 || (word.size() == 2 && word[0] >= 0xD800 && word[0] < 0xDC00 &&
                                word[1] >= 0xDC00 && word[1] < 0xE000);
}

// Why `word` is not taken, or nothing with its phrase code in `code`.
// `encoder` is null when the library could not be read.
std::optional<ForeignSkip> Classify(const PhraseEncoder* encoder, std::u16string_view word,
                                    std::u16string& code) {
    if (IsSingleCharacter(word)) {
        return ForeignSkip::SingleCharacter;
    }
    if (!encoder || !encoder->Encode(word, code)) {
        return ForeignSkip::NoCode;
    }
    return std::nullopt;
}

void Count(ForeignImportCounts& counts, ForeignSkip reason) {
    switch (reason) {
    case ForeignSkip::SingleCharacter:
        ++counts.singleCharacters;
        break;
    case ForeignSkip::NoCode:
        ++counts.noCode;
        break;
    case ForeignSkip::AlreadyPresent:
        ++counts.alreadyPresent;
        break;
    }
}

} // namespace

ForeignImportCounts CountForeignWords(const WordLibrary& library,
                                      std::span<const std::u16string_view> words) {
    ForeignImportCounts counts;
    counts.words = words.size();
    const auto view = library.view();
    const auto encoder = EncoderFor(view);
    std::set<std::pair<std::u16string, std::u16string>> taken;
    std::u16string code;
    for (const std::u16string_view word : words) {
        std::optional<ForeignSkip> reason = Classify(encoder ? &*encoder : nullptr, word, code);
        if (!reason && (library.ContainsEntry(code, word) ||
                        !taken.emplace(code, std::u16string(word)).second)) {
            reason = ForeignSkip::AlreadyPresent;
        }
        if (reason) {
            Count(counts, *reason);
        } else {
            ++counts.imported;
        }
    }
    return counts;
}

std::size_t ForeignImportRoom(std::span<const std::u16string_view> words) {
    std::uint64_t room =
        std::min<std::uint64_t>(std::uint64_t{3} * words.size(), kMaxIndexNodes) * kIndexNodeSize;
    for (const std::u16string_view word : words) {
        room += RecordSize(kMaxCharCodeWidth, word.size());
    }
    return static_cast<std::size_t>(std::min<std::uint64_t>(room, kMaxLibraryBytes));
}

void ImportForeignWords(WordLibrary& library, std::span<const std::u16string_view> words,
                        ForeignImportProgress& progress) {
    progress.stop = UserImportStop::None;
    progress.culprit.clear();
    progress.counts.words = words.size();
    // Phrase codes come from the character codes and rules, which entries
    // added meanwhile never change: one view serves every word.
    const auto view = library.view();
    const auto encoder = EncoderFor(view);
    std::u16string code;
    for (; progress.next < words.size(); ++progress.next) {
        const std::u16string_view word = words[progress.next];
        std::optional<ForeignSkip> reason = Classify(encoder ? &*encoder : nullptr, word, code);
        if (!reason) {
            const WordLibrary::AddResult added = library.AddUserEntry(code, word);
            if (added == WordLibrary::AddResult::Full || added == WordLibrary::AddResult::Refused) {
                progress.stop = added == WordLibrary::AddResult::Full
                                    ? UserImportStop::LibraryFull
                                    : UserImportStop::EntryRefused;
                progress.culprit = word;
                return;
            }
            if (added == WordLibrary::AddResult::AlreadyPresent) {
                reason = ForeignSkip::AlreadyPresent;
            } else {
                ++progress.counts.imported;
            }
        }
        if (reason) {
            Count(progress.counts, *reason);
            if (progress.listSkipped) {
                progress.skipped.emplace_back(progress.next, *reason);
            }
        }
    }
}

} // namespace tide
