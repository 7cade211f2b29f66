#include "core/contract/VersionText.h"

#include <gtest/gtest.h>

#include "core/update/InstallerCheck.h"

namespace tide {
namespace {

VersionNumber Version(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return VersionNumber{{a, b, c, d}};
}

TEST(ParseVersion, ReadsFourPartsEachUpToItsFirstNonDigit) {
    EXPECT_EQ(ParseVersion(u"3.1.4.210315"), Version(3, 1, 4, 210315));
    EXPECT_EQ(ParseVersion(u"3.1.4.210315 beta"), Version(3, 1, 4, 210315));
    EXPECT_EQ(ParseVersion(u"10.0x.7.4294967295"), Version(10, 0, 7, 4294967295u));
    EXPECT_EQ(ParseVersion(u"3.1.4.5.6"), Version(3, 1, 4, 5)) << "the fourth part is the rest";
}

TEST(ParseVersion, RefusesTextsWithoutFourNumbers) {
    for (const char16_t* text :
         {u"", u"3", u"3.1.4", u"3.1.4.", u"3..4.1", u".1.4.1", u"v3.1.4.1", u"3.1.4.-1",
          u"3.1.4.4294967296", u"99999999999999999999.1.4.1", u"<html>", u"３.1.4.1"}) {
        EXPECT_EQ(ParseVersion(text), std::nullopt) << std::u16string_view(text).size();
    }
}

TEST(IsUpdateAvailable, ComparesPartByPartAsUnsignedNumbers) {
    EXPECT_FALSE(IsUpdateAvailable(u"3.1.4.210315", u"3.1.4.210315")) << "equal";
    EXPECT_TRUE(IsUpdateAvailable(u"3.1.4.210315", u"3.1.5.1")) << "third part greater";
    EXPECT_FALSE(IsUpdateAvailable(u"3.1.5.1", u"3.1.4.999999")) << "third smaller, fourth greater";
    EXPECT_FALSE(IsUpdateAvailable(u"3.2.0.0", u"3.1.99.99"));
    EXPECT_TRUE(IsUpdateAvailable(u"3.1.4.9", u"3.1.4.10")) << "numbers, not texts";
    EXPECT_TRUE(IsUpdateAvailable(u"3.1.4.2147483647", u"3.1.4.2147483648")) << "unsigned";
}

TEST(IsUpdateAvailable, AnUnreadablePublishedVersionIsNeverNewer) {
    for (const char16_t* published : {u"", u"3.1.5", u"latest", u"9.9.9.x"}) {
        EXPECT_FALSE(IsUpdateAvailable(u"3.1.4.210315", published));
        EXPECT_FALSE(IsUpdateAvailable(u"", published)) << "not even without a module";
    }
    // No module or no version information: any published version is offered.
    EXPECT_TRUE(IsUpdateAvailable(u"", u"3.1.4.210315"));
    EXPECT_TRUE(IsUpdateAvailable(u"3.1", u"0.0.0.1"));
    EXPECT_FALSE(IsUpdateAvailable(u"", u"0.0.0.0"));
}

TEST(FormatReleaseDate, ComesFromTheLastSixDigits) {
    EXPECT_EQ(FormatReleaseDate(u"3.1.4.210315"), u"2021.03.15");
    EXPECT_EQ(FormatReleaseDate(u"261208"), u"2026.12.08");
    for (const char16_t* text : {u"", u"1.2.3", u"3.1.5.1", u"3.1.4.21031x", u"12345"}) {
        EXPECT_EQ(FormatReleaseDate(text), u"") << "no date, nothing read outside";
    }
}

TEST(ParseSha256Text, TakesExactlySixtyFourHexDigitsOfEitherCase) {
    const std::u16string lower =
        u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    const std::optional<Sha256Digest> digest = ParseSha256Text(lower);
    ASSERT_TRUE(digest);
    EXPECT_EQ((*digest)[0], 0xBA);
    EXPECT_EQ((*digest)[31], 0xAD);
    std::u16string upper = lower;
    for (char16_t& c : upper) {
        c = (c >= u'a' && c <= u'f') ? c - u'a' + u'A' : c;
    }
    EXPECT_EQ(ParseSha256Text(upper), digest);
    EXPECT_EQ(ParseSha256Text(lower.substr(1)), std::nullopt);
    EXPECT_EQ(ParseSha256Text(lower + u"0"), std::nullopt);
    EXPECT_EQ(ParseSha256Text(u"g" + lower.substr(1)), std::nullopt);
    EXPECT_EQ(ParseSha256Text(u" " + lower.substr(1)), std::nullopt);
    EXPECT_EQ(ParseSha256Text(u""), std::nullopt);
}

TEST(MayRunInstaller, NeedsHttpsOrTheMatchingPublishedDigest) {
    const std::u16string text = u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    const Sha256Digest actual = *ParseSha256Text(text);
    Sha256Digest other = actual;
    other[17] ^= 1;
    EXPECT_TRUE(MayRunInstaller(false, text, actual));
    EXPECT_TRUE(MayRunInstaller(true, text, actual));
    EXPECT_TRUE(MayRunInstaller(true, u"", other)) << "https alone, without a published digest";
    EXPECT_FALSE(MayRunInstaller(false, u"", actual)) << "plain http without a digest";
    EXPECT_FALSE(MayRunInstaller(false, text, other));
    EXPECT_FALSE(MayRunInstaller(true, text, other)) << "a published digest binds https too";
    EXPECT_FALSE(MayRunInstaller(true, u"not a digest", actual));
}

} // namespace
} // namespace tide
