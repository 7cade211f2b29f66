#include "core/stats/WordLookup.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "core/dict/PhraseEncoder.h"

namespace tide {

std::optional<std::vector<WordLookup>> LookUpWords(const LibraryView& library,
                                                   std::span<const std::u16string> words) {
    std::vector<WordLookup> results(words.size());
    std::unordered_map<std::u16string_view, std::size_t> resultOfWord;
    for (std::size_t i = 0; i < words.size(); ++i) {
        results[i].word = words[i];
        resultOfWord.try_emplace(words[i], i);
    }
    // One walk finds the words' entries, a second counts the candidates of
    // their codes up to each of them (a code's earlier candidates come
    // before the word is met).
    std::unordered_map<std::u16string, std::size_t> candidatesSoFar;
    const bool found = library.ForEachEntry([&](const LibraryEntry& entry) {
        const auto result = resultOfWord.find(entry.word);
        if (result != resultOfWord.end()) {
            results[result->second].codes.push_back({std::u16string(entry.code), 0});
            candidatesSoFar.try_emplace(std::u16string(entry.code), 0);
        }
    });
    std::u16string code;
    const bool placed = found && library.ForEachEntry([&](const LibraryEntry& entry) {
        code.assign(entry.code);
        const auto counted = candidatesSoFar.find(code);
        if (counted == candidatesSoFar.end()) {
            return;
        }
        const std::size_t position = ++counted->second;
        const auto result = resultOfWord.find(entry.word);
        if (result == resultOfWord.end()) {
            return;
        }
        std::vector<CodePlace>& codes = results[result->second].codes;
        const auto place = std::find_if(codes.begin(), codes.end(), [&](const CodePlace& p) {
            return p.position == 0 && p.code == code;
        });
        if (place != codes.end()) {
            place->position = position;
        }
    });
    if (!placed) {
        return std::nullopt;
    }
    const PhraseEncoder encoder(library);
    for (std::size_t i = 0; i < results.size(); ++i) {
        WordLookup& result = results[i];
        const std::size_t first = resultOfWord.find(result.word)->second;
        if (first != i) {
            result = results[first];
            continue;
        }
        std::stable_sort(result.codes.begin(), result.codes.end(),
                         [](const CodePlace& a, const CodePlace& b) {
                             return a.code.size() != b.code.size() ? a.code.size() < b.code.size()
                                                                   : a.code < b.code;
                         });
        if (result.codes.empty()) {
            encoder.Encode(result.word, result.ruleCode);
        }
    }
    return results;
}

} // namespace tide
