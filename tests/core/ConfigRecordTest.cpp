#include "core/config/ConfigRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/config/InfoMessageText.h"
#include "support/Fixtures.h"

namespace tide {
namespace {

using test::ReadFixture;

TEST(ConfigRecord, FirstRunDefaultsMatchTheHandMadeRecordByteForByte) {
    const auto expected = ReadFixture("config/default-first-run.cfg");
    ASSERT_EQ(expected.size(), kConfigRecordSize);
    ConfigRecord record = {};
    SetDefaultFixedFields(record);
    ASSERT_TRUE(SetFixedText(record.DictionaryFileName, u"Tide.imc"));
    ASSERT_TRUE(SetFixedText(record.SkinFileName, u"Tide.ims"));
    const auto bytes = RecordBytes(record);
    for (std::size_t i = 0; i < kConfigRecordSize; ++i) {
        ASSERT_EQ(bytes[i], expected[i]) << "first difference at offset " << i;
    }
}

TEST(ConfigRecord, DefaultsLeaveFileNamesAndReservedTailAlone) {
    ConfigRecord record;
    std::memset(&record, 0x5A, sizeof(record));
    ASSERT_TRUE(SetFixedText(record.DictionaryFileName, u"我的词库.imc"));
    ASSERT_TRUE(SetFixedText(record.SkinFileName, u"blue.ims"));
    SetDefaultFixedFields(record);
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"我的词库.imc");
    EXPECT_EQ(FixedText(record.SkinFileName), u"blue.ims");
    EXPECT_EQ(std::vector<std::uint8_t>(std::begin(record.Reserved), std::end(record.Reserved)),
              std::vector<std::uint8_t>(4, 0x5A));
    EXPECT_EQ(record.Options(), kDefaultOptions);
    EXPECT_EQ(FixedText(record.CodeFontName), u"微软雅黑");
    // The rest of a name field is cleared, not left with old bytes.
    for (std::size_t i = 4; i < kConfigNameUnits; ++i) {
        ASSERT_EQ(record.CandidateFontName[i], u'\0');
    }
}

TEST(ConfigRecord, OptionWordsSplitAtBit32) {
    ConfigRecord record = {};
    record.SetOptions(0x006CC2FE'D7D70894ull);
    EXPECT_EQ(record.OptionWords[0], 0xD7D70894u);
    EXPECT_EQ(record.OptionWords[1], 0x006CC2FEu);
    EXPECT_TRUE(HasOption(record.Options(), OptSwitchRightShift));      // bit 31
    EXPECT_FALSE(HasOption(record.Options(), OptSwitchCapsLock));       // bit 32
    EXPECT_TRUE(HasOption(record.Options(), OptPunctSwitchCtrlPeriod)); // bit 33
}

TEST(ConfigRecord, NameFieldsRefuseNamesWithoutRoomForTheTerminator) {
    ConfigRecord record = {};
    ASSERT_TRUE(SetFixedText(record.DictionaryFileName, u"old.imc"));
    const std::u16string longest(31, u'a');
    EXPECT_TRUE(SetFixedText(record.SkinFileName, longest));
    EXPECT_EQ(FixedText(record.SkinFileName), longest);
    EXPECT_FALSE(SetFixedText(record.DictionaryFileName, std::u16string(32, u'b')));
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"old.imc") << "unchanged";
    // A field without a terminator (damaged file) reads as all 32 units.
    std::fill(std::begin(record.CodeFontName), std::end(record.CodeFontName), u'x');
    EXPECT_EQ(FixedText(record.CodeFontName).size(), kConfigNameUnits);
}

TEST(ConfigRecord, RecordFromBytesNeedsAWholeRecord) {
    std::vector<std::uint8_t> bytes(kConfigRecordSize + 10, 0);
    bytes[0] = 0xDC;
    bytes[1] = 0x01;
    const auto record = RecordFromBytes(bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->RecordSize, 476);
    EXPECT_FALSE(RecordFromBytes(std::span(bytes).first(kConfigRecordSize - 1)));
}

TEST(ConfigBackup, AWholeRecordOfThisVersionRestoresAndNothingElseDoes) {
    std::vector<std::uint8_t> bytes(kConfigRecordSize + 3, 0x5A);
    bytes[0] = 0xDC; // 476, little-endian
    bytes[1] = 0x01;
    const CheckedBackup whole = CheckConfigBackup(bytes);
    ASSERT_EQ(whole.check, BackupCheck::Ok);
    EXPECT_TRUE(std::equal(RecordBytes(whole.record).begin(), RecordBytes(whole.record).end(),
                           bytes.begin()))
        << "the first 476 bytes, whatever follows them";

    const std::span<const std::uint8_t> all(bytes);
    EXPECT_EQ(CheckConfigBackup(all.first(kConfigRecordSize - 1)).check, BackupCheck::Damaged)
        << "cut short";
    EXPECT_EQ(CheckConfigBackup(all.first(1)).check, BackupCheck::Damaged) << "no version";
    EXPECT_EQ(CheckConfigBackup({}).check, BackupCheck::Damaged);
    bytes[0] = 0xD8; // 472: another version's record, whatever its length
    EXPECT_EQ(CheckConfigBackup(std::span<const std::uint8_t>(bytes).first(2)).check,
              BackupCheck::OtherVersion);
    EXPECT_EQ(CheckConfigBackup(bytes).check, BackupCheck::OtherVersion);
}

TEST(OptionBits, PairsShowTheFirstBitWhenBothAreSet) {
    for (const OptionPair& pair : kOptionPairs) {
        EXPECT_EQ(pair.second, pair.first + 1) << "pairs are neighbouring bits";
        const std::uint64_t both = OptionMask(pair.first) | OptionMask(pair.second);
        EXPECT_EQ(ReadPair(both, pair), PairChoice::First);
        EXPECT_EQ(ReadPair(OptionMask(pair.second), pair), PairChoice::Second);
        EXPECT_EQ(ReadPair(0, pair), PairChoice::Neither);
        // Writing a choice clears the other bit and nothing else.
        const std::uint64_t others = ~both;
        EXPECT_EQ(WritePair(~0ull, pair, PairChoice::Second), others | OptionMask(pair.second));
        EXPECT_EQ(WritePair(~0ull, pair, PairChoice::Neither), others);
    }
}

TEST(OptionBits, TableNamesEachEditedBitOnce) {
    std::uint64_t seen = 0;
    for (const auto& info : kOptionBits) {
        EXPECT_FALSE(seen & OptionMask(info.bit)) << info.name;
        EXPECT_NE(info.page, OptionPage::None) << info.name;
        seen |= OptionMask(info.bit);
    }
    EXPECT_EQ(std::size(kOptionBits), 54u);
    EXPECT_EQ(seen, kEditedOptionsMask);
}

TEST(Hotkey, EncodesKeyEnabledAndAlt) {
    const Hotkey settings = Hotkey::Decode(kDefaultSettingsHotkey);
    EXPECT_EQ(settings.virtualKey, 0xBD); // VK_OEM_MINUS
    EXPECT_TRUE(settings.enabled);
    EXPECT_FALSE(settings.alt);
    EXPECT_EQ(Hotkey::Decode(kDefaultSoftKeyboardHotkey).virtualKey, 0xDC); // VK_OEM_5
    const Hotkey altQ{0x51, false, true};
    EXPECT_EQ(altQ.Encode(), 0x0251);
    EXPECT_EQ(Hotkey::Decode(altQ.Encode()), altQ);
    // Bits 10-15 carry nothing.
    EXPECT_EQ(Hotkey::Decode(0xFD51).Encode(), 0x0151);
}

TEST(SymbolKeys, KeyOrderFollowsTheVirtualKeyRule) {
    const std::uint8_t expected[kSymbolKeyCount] = {
        0x20, '0', '1', '2', '3', '4',  '5',  '6',  '7',  '8',  '9',  'A',  'B',  'C',  'D',  'E',
        'F',  'G', 'H', 'I', 'J', 'K',  'L',  'M',  'N',  'O',  'P',  'Q',  'R',  'S',  'T',  'U',
        'V',  'W', 'X', 'Y', 'Z', 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
    for (std::size_t index = 0; index < kSymbolKeyCount; ++index) {
        EXPECT_EQ(VirtualKeyForSymbolIndex(index), expected[index]) << index;
        EXPECT_EQ(SymbolIndexForVirtualKey(expected[index]), index);
    }
    EXPECT_FALSE(SymbolIndexForVirtualKey(0x0D)); // Enter has no symbol
    EXPECT_FALSE(SymbolIndexForVirtualKey(0xC1));
}

TEST(InfoMessage, BreaksEveryFifteenUnits) {
    const std::u16string thirtyChinese =
        u"潮汐输入法设置程序正在建设中请稍候再来看看吧谢谢你们的耐心等";
    ASSERT_EQ(thirtyChinese.size(), 30u);
    EXPECT_EQ(BreakInfoMessageLines(thirtyChinese),
              thirtyChinese.substr(0, 15) + u"\r\n" + thirtyChinese.substr(15) + u"\r\n");

    const std::u16string thirtyLetters(30, u'a');
    EXPECT_EQ(BreakInfoMessageLines(thirtyLetters), std::u16string(29, u'a') + u"\r\na");

    EXPECT_EQ(BreakInfoMessageLines(u""), u"");
    EXPECT_EQ(BreakInfoMessageLines(u"短消息"), u"短消息");
    // Two narrow characters take one unit: 14 wide + "ab" fills the line at "a".
    EXPECT_EQ(BreakInfoMessageLines(std::u16string(14, u'字') + u"abc"),
              std::u16string(14, u'字') + u"a\r\nbc");
}

TEST(InfoMessage, NeverSplitsASurrogatePair) {
    const std::u16string pair = u"\U00020000"; // 𠀀, two units
    const std::u16string text = std::u16string(14, u'字') + pair + u"字";
    EXPECT_EQ(BreakInfoMessageLines(text), std::u16string(14, u'字') + pair + u"\r\n字");
    EXPECT_EQ(kInfoMessageCaption, u"潮汐输入法\u3000信息");
}

} // namespace
} // namespace tide
