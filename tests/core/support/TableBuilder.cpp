#include "support/TableBuilder.h"

#include <cstring>
#include <string>

#include "core/base/Utf.h"
#include "core/dict/CodeTableHeader.h"
#include "core/dict/LibraryBuilder.h"

namespace tide::test {

std::vector<std::uint8_t> MakeTable(std::initializer_list<std::string_view> entries, int codeLength,
                                    int secondCodeLength, int phraseRule) {
    std::string text =
        "[CODETABLEHEADER]\r\nName=测试\r\nVersion=1\r\nAuthor=潮汐\r\nCodeScheme=形码\r\n";
    text += "CodeLength=" + std::to_string(codeLength) + "\r\n";
    text += "BWCodeLength=" + std::to_string(secondCodeLength) + "\r\n";
    text += "SpecialPrefix=0\r\nWildChar=0\r\nPhraseRule=" + std::to_string(phraseRule) + "\r\n";
    text += "[CODETABLE]\r\n";
    for (auto entry : entries) {
        text.append(entry).append("\r\n");
    }
    std::u16string units = u"\uFEFF" + FromUtf8(text);
    while (units.size() * 2 < 612) {
        units += u"\r\n";
    }
    std::vector<std::uint8_t> bytes(units.size() * 2);
    std::memcpy(bytes.data(), units.data(), bytes.size());
    return bytes;
}

std::vector<std::uint8_t> MakeLibrary(std::initializer_list<std::string_view> entries,
                                      int codeLength, int secondCodeLength, int phraseRule,
                                      std::size_t growthRoom) {
    CompileResult result =
        CompileCodeTableText(MakeTable(entries, codeLength, secondCodeLength, phraseRule));
    std::vector<std::uint8_t> bytes = std::move(result.library);
    bytes.resize(bytes.size() + growthRoom, 0);
    const auto capacity = static_cast<std::uint32_t>(bytes.size());
    std::memcpy(bytes.data() + offsetof(CodeTableHeader, Capacity), &capacity, 4);
    return bytes;
}

} // namespace tide::test
