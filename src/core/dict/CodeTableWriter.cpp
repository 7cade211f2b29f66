#include "core/dict/CodeTableWriter.h"

#include <cstring>

#include "core/base/DecimalText.h"
#include "core/dict/CodeTableHeaderParser.h"

namespace tide {
namespace {

char16_t RuleDigit(std::uint8_t number) {
    return static_cast<char16_t>(number < 10 ? u'0' + number : u'a' + (number - 10));
}

} // namespace

void CodeTableWriter::AppendNumber(std::int64_t number) {
    AppendDecimal(text_, number);
}

std::string CodeTableWriter::Bytes() const {
    std::string bytes(text_.size() * 2, '\0');
    std::memcpy(bytes.data(), text_.data(), bytes.size());
    return bytes;
}

void WriteHeaderText(CodeTableWriter& writer, const CodeTableHeader& header) {
    const std::u16string_view prefix = FixedText(header.SpecialPrefix);
    writer.AppendLine(kHeaderSectionLine);
    writer.Append(u"Name=");
    writer.AppendLine(FixedText(header.Name));
    writer.Append(u"Version=");
    writer.AppendLine(FixedText(header.Version));
    writer.Append(u"Author=");
    writer.AppendLine(FixedText(header.Author));
    writer.Append(u"CodeScheme=");
    writer.AppendLine(CodeSchemeName(header)); // the remark is not exported
    writer.Append(u"CodeLength=");
    writer.AppendNumber(header.CodeLength);
    writer.AppendLine(u"");
    writer.Append(u"BWCodeLength=");
    writer.AppendNumber(header.BWCodeLength);
    writer.AppendLine(u"");
    writer.Append(u"SpecialPrefix=");
    writer.AppendLine(prefix.empty() ? u"0" : prefix);
    writer.Append(u"WildChar=");
    writer.AppendLine(header.WildChar == 0 ? std::u16string_view(u"0")
                                           : std::u16string_view(&header.WildChar, 1));
    writer.Append(u"PhraseRule=");
    writer.AppendNumber(header.PhraseRule);
    writer.AppendLine(u"");
    if (header.PhraseRule > 1) {
        for (std::size_t slot = 0; slot < header.PhraseRule && slot < kRuleSlotCount; ++slot) {
            const RuleSlot& rule = header.Rules[slot];
            writer.Append(rule.kind == 1 ? u"pe" : u"pa");
            writer.AppendNumber(static_cast<std::int64_t>(slot + 2));
            writer.Append(u"=");
            for (std::size_t i = 0; i < kRuleElementCount && i < header.CodeLength; ++i) {
                const RuleElement& element = rule.elements[i];
                if (element.fromEnd == 0 && element.charNumber == 0 && element.letterNumber == 0) {
                    break;
                }
                const char16_t text[] = {i == 0 ? u'\0' : u'+', element.fromEnd == 0 ? u'w' : u'r',
                                         RuleDigit(element.charNumber),
                                         RuleDigit(element.letterNumber)};
                writer.Append(i == 0 ? std::u16string_view(text + 1, 3)
                                     : std::u16string_view(text, 4));
            }
            writer.AppendLine(u"");
        }
    }
    writer.AppendLine(kEntrySectionLine);
}

void WriteEntryLine(CodeTableWriter& writer, std::u16string_view code, std::u16string_view word,
                    std::uint32_t weight) {
    writer.Append(code);
    writer.Append(u"\t");
    writer.Append(word);
    if (weight != kWeightNone) {
        writer.Append(u"\t");
        writer.AppendNumber(static_cast<std::int32_t>(weight));
    }
    writer.Append(u"\r\n");
}

bool ExportEntries(const LibraryView& library, CodeTableWriter& writer) {
    return library.ForEachEntry([&writer](const LibraryEntry& entry) {
        if (!IsUserWeight(entry.weight) && !IsCarriedWeight(entry.weight)) {
            WriteEntryLine(writer, entry.code, entry.word, entry.weight);
        }
    });
}

} // namespace tide
