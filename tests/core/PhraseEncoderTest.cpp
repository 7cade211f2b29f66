#include "core/dict/PhraseEncoder.h"

#include <gtest/gtest.h>

#include "core/base/Utf.h"
#include "core/dict/LibraryBuilder.h"
#include "support/TableBuilder.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string Encode(const Bytes& library, std::u16string_view word) {
    const auto view = LibraryView::Open(library);
    EXPECT_TRUE(view) << "the test's library opens";
    return view ? EncodePhrase(*view, word) : u"(no library)";
}

const Bytes& DefaultRulesLibrary() {
    static const Bytes library = test::MakeLibrary(
        {"abcd\t甲", "efgh\t乙", "ijkl\t丙", "mnop\t丁", "qrst\t戊", "uv\t己", "w\t𠀀"});
    return library;
}

TEST(EncodePhrase, DefaultRulesForTwoThreeAndLongerPhrases) {
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲乙"), u"abef");
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲乙丙"), u"aeij");
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲乙丙戊丁"), u"aeim") << "first three and the last";
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲乙丙丁"), u"aeim");
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲乙丙甲乙丙甲乙丙甲乙丙甲乙丁"), u"aeim")
        << "fifteen characters, past the rules worked out beforehand";
}

TEST(EncodePhrase, FailsWithoutTwoCodedCharacters) {
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲"), u"");
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"𠀀"), u"") << "a surrogate pair is one character";
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u""), u"");
    // The second character has no code: no code at all, although the first
    // element already gave a letter.
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲庚"), u"");
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"甲𠀀"), u"abw")
        << "a short code ends the phrase code";
    EXPECT_EQ(Encode(DefaultRulesLibrary(), u"己乙丙"), u"ueij");
}

TEST(EncodePhrase, SecondCodeReplacesTheMainCode) {
    const Bytes library = test::MakeLibrary({"ab/xy\t甲", "cd/zw\t乙"}, 2, 2);
    EXPECT_EQ(Encode(library, u"甲乙"), u"xy") << "CodeLength 2 caps the code";
    const Bytes wider = test::MakeLibrary({"ab/xy\t甲", "cd/zw\t乙"}, 4, 2);
    EXPECT_EQ(Encode(wider, u"甲乙"), u"xyzw");
}

TEST(EncodePhrase, OwnRulesCountFromEitherEnd) {
    const Bytes library = test::MakeLibrary({"abcd\t甲", "efgh\t乙", "ijkl\t丙"}, 4, 0, 0);
    EXPECT_EQ(Encode(library, u"甲乙"), u"") << "PhraseRule 0: no rules";

    const Bytes rules =
        CompileCodeTableText([] {
            std::string table =
                "[CODETABLEHEADER]\r\nName=x\r\nVersion=1\r\nAuthor=a\r\nCodeScheme=s\r\n"
                "CodeLength=4\r\nBWCodeLength=0\r\nSpecialPrefix=0\r\nWildChar=0\r\n"
                "PhraseRule=2\r\npa2=r12+w13+w31\r\npe3=r11+r21+w23+w11\r\n[CODETABLE]\r\n"
                "abcd\t甲\r\nefgh\t乙\r\nijkl\t丙\r\n";
            std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
            for (char16_t c : FromUtf8(table)) {
                bytes.push_back(static_cast<std::uint8_t>(c));
                bytes.push_back(static_cast<std::uint8_t>(c >> 8));
            }
            bytes.resize(std::max<std::size_t>(bytes.size(), 700), 0);
            return bytes;
        }())
            .library;
    ASSERT_FALSE(rules.empty());
    EXPECT_EQ(Encode(rules, u"甲乙"), u"fc") << "w31 is past the phrase: the code ends there";
    EXPECT_EQ(Encode(rules, u"甲乙丙"), u"iega");
    EXPECT_EQ(Encode(rules, u"甲乙丙甲"), u"aiga") << "longer phrases use the last rule";
}

TEST(EncodePhrase, CountsAndIndexesCodePoints) {
    EXPECT_EQ(CountCodePoints(u"甲𠀀乙"), 3u);
    EXPECT_EQ(CodePointAt(u"甲𠀀乙", 1), U'𠀀');
    EXPECT_EQ(CodePointAt(u"甲𠀀乙", 2), U'乙');
    EXPECT_EQ(CodePointAt(u"甲", 5), U'\0');
    EXPECT_EQ(CountCodePoints(u"\xDC00"), 0u) << "a lone low surrogate does not count";
}

TEST(EntryChecks, StatusesOfAutomaticAndHandGivenCodes) {
    const Bytes bytes = test::MakeLibrary({"abcd\t甲", "efgh\t乙", "abef\t甲乙"});
    const auto library = LibraryView::Open(bytes);
    auto never = [](std::u16string_view, std::u16string_view) { return false; };
    auto always = [](std::u16string_view, std::u16string_view) { return true; };
    std::u16string code = u"stale";
    EXPECT_EQ(AutoEncodeStatus(&*library, u"", code, never), EntryCheckStatus::EmptyWord);
    EXPECT_EQ(code, u"");
    EXPECT_EQ(AutoEncodeStatus(&*library, u"甲", code, never), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(AutoEncodeStatus(&*library, u"𠀀", code, never), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(AutoEncodeStatus(nullptr, u"甲乙", code, never), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(AutoEncodeStatus(&*library, u"甲乙", code, never), EntryCheckStatus::Valid);
    EXPECT_EQ(code, u"abef");
    EXPECT_EQ(AutoEncodeStatus(&*library, u"甲乙", code, always), EntryCheckStatus::AlreadyExists);
    EXPECT_EQ(code, u"abef") << "the code stays for a duplicate";

    const Bytes noRules = test::MakeLibrary({"abcd\t甲", "efgh\t乙"}, 4, 0, 0);
    const auto plain = LibraryView::Open(noRules);
    EXPECT_EQ(AutoEncodeStatus(&*plain, u"甲乙", code, never), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(CheckEntryStatus(true, u"甲乙", u"xyz", never), EntryCheckStatus::Valid)
        << "a code typed by hand needs no rules";
    EXPECT_EQ(CheckEntryStatus(true, u"", u"xyz", never), EntryCheckStatus::EmptyWord);
    EXPECT_EQ(CheckEntryStatus(true, u"甲乙", u"", never), EntryCheckStatus::EmptyCode);
    EXPECT_EQ(CheckEntryStatus(false, u"甲乙", u"xyz", never), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(CheckEntryStatus(true, u"甲乙", u"abef", always), EntryCheckStatus::AlreadyExists);
}

} // namespace
} // namespace tide
