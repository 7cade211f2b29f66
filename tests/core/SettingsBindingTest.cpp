#include "core/config/SettingsBinding.h"
#include "core/config/SchemeCaptions.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tide {
namespace {

ConfigRecord Defaults() {
    ConfigRecord record;
    std::memset(&record, 0, sizeof(record));
    SetDefaultFixedFields(record);
    return record;
}

constexpr OptionPair kCommit = {OptUniqueCandidateCommit, OptUniqueFullCodeCommit};

TEST(SettingsBinding, ThreeRadiosOverTwoBitsShowTheFirstAndStoreOnlyOne) {
    ConfigRecord record = Defaults();
    record.SetOptions(record.Options() | OptionMask(OptUniqueCandidateCommit) |
                      OptionMask(OptUniqueFullCodeCommit));
    const Binding first = BindPair(BindKind::PairFirst, kCommit);
    const Binding second = BindPair(BindKind::PairSecond, kCommit);
    const Binding neither = BindPair(BindKind::PairNeither, kCommit);
    EXPECT_TRUE(FillState(first, record).checked) << "both set: the first wins";
    EXPECT_FALSE(FillState(second, record).checked);
    EXPECT_FALSE(FillState(neither, record).checked);

    // What the three radios show goes back: then only the first bit is left.
    for (const Binding& row : {first, second, neither}) {
        CollectState(row, FillState(row, record), record);
    }
    EXPECT_TRUE(HasOption(record.Options(), OptUniqueCandidateCommit));
    EXPECT_FALSE(HasOption(record.Options(), OptUniqueFullCodeCommit));

    // "Neither" chosen: both bits cleared by the other two rows.
    ControlState off;
    CollectState(first, off, record);
    CollectState(second, off, record);
    ControlState on;
    on.checked = true;
    CollectState(neither, on, record);
    EXPECT_EQ(ReadPair(record.Options(), kCommit), PairChoice::Neither);
}

TEST(SettingsBinding, ARadioForAClearBitShowsItAndLeavesStoringToItsPartner) {
    ConfigRecord record = Defaults();
    const Binding clear = BindBitClear(OptPureCodeInput);
    EXPECT_TRUE(FillState(clear, record).checked);
    const std::uint64_t before = record.Options();
    CollectState(clear, ControlState{}, record);
    EXPECT_EQ(record.Options(), before);
    ControlState checked;
    checked.checked = true;
    CollectState(BindBit(OptPureCodeInput), checked, record);
    EXPECT_EQ(record.Options(), before | OptionMask(OptPureCodeInput));
}

TEST(SettingsBinding, ListsKeepTheStoredValueWhenTheyHaveNoSelection) {
    ConfigRecord record = Defaults();
    SetFixedText(record.CodeFontName, u"Some Face Elsewhere");
    record.FontSize = 13;
    const Binding face = BindField(BindKind::FaceName, RecordField::CodeFontName);
    const Binding size = BindField(BindKind::NumberText, RecordField::FontSize);
    EXPECT_EQ(FillState(face, record).text, u"Some Face Elsewhere");
    EXPECT_EQ(FillState(size, record).text, u"13");
    CollectState(face, ControlState{}, record); // not in the list: nothing selected
    CollectState(size, ControlState{}, record);
    EXPECT_EQ(FixedText(record.CodeFontName), u"Some Face Elsewhere");
    EXPECT_EQ(record.FontSize, 13);

    ControlState chosen;
    chosen.selection = 2;
    chosen.text = u"16";
    CollectState(size, chosen, record);
    EXPECT_EQ(record.FontSize, 16);
    chosen.text = u"宋体";
    CollectState(face, chosen, record);
    EXPECT_EQ(FixedText(record.CodeFontName), u"宋体");

    const Binding perPage = BindField(BindKind::ListIndex, RecordField::CandidatesPerPage, 3);
    EXPECT_EQ(FillState(perPage, record).selection, 2) << "5 candidates is the third item";
    chosen.selection = 6;
    CollectState(perPage, chosen, record);
    EXPECT_EQ(record.CandidatesPerPage, 9);
}

TEST(SettingsBinding, HotkeyControlsEachKeepTheirOwnPartOfTheField) {
    ConfigRecord record = Defaults(); // Ctrl + "-", enabled, no Alt
    const Binding on = BindField(BindKind::HotkeyOn, RecordField::SettingsHotkey);
    const Binding alt = BindField(BindKind::HotkeyAlt, RecordField::SettingsHotkey);
    const Binding key = BindField(BindKind::HotkeyKey, RecordField::SettingsHotkey);
    EXPECT_TRUE(FillState(on, record).checked);
    EXPECT_FALSE(FillState(alt, record).checked);
    EXPECT_EQ(FillState(key, record).virtualKey, 0xBD);

    CollectState(on, ControlState{}, record); // unchecked: the key and Alt stay
    ControlState altOn;
    altOn.checked = true;
    CollectState(alt, altOn, record);
    EXPECT_EQ(record.SettingsHotkey, 0x2BD);
    ControlState keyA;
    keyA.virtualKey = 0x41;
    CollectState(key, keyA, record);
    EXPECT_EQ(record.SettingsHotkey, 0x241);
    EXPECT_EQ(record.WordMakingHotkey, kDefaultWordMakingHotkey) << "the other hotkey untouched";
}

TEST(SchemeCaptions, SchemeWordAndNumeralsComeFromTheHeader) {
    CodeTableHeader header = {};
    SetFixedText(header.CodeScheme, u"ABC(DEF)");
    header.CodeLength = 4;
    SchemeCaptions captions = CaptionsForHeader(header);
    EXPECT_EQ(captions.schemeWord, u"DEF");
    EXPECT_EQ(FormatCaption(u"%c码顶字上屏", captions.schemeWord, captions.nextNumeral),
              u"五码顶字上屏");
    EXPECT_EQ(FormatCaption(u"%s拼音混输", captions.schemeWord, captions.fullLengthNumeral),
              u"DEF拼音混输");

    SetFixedText(header.CodeScheme, u"形码");
    EXPECT_EQ(CaptionsForHeader(header).schemeWord, u"主码") << "no remark";
    SetFixedText(header.CodeScheme, u"形码(");
    EXPECT_EQ(CaptionsForHeader(header).schemeWord, u"") << "an empty remark";
    header.CodeLength = 0;
    EXPECT_EQ(CaptionsForHeader(header).fullLengthNumeral, u"全") << "no numeral for 0";
    header.CodeLength = 9;
    EXPECT_EQ(CaptionsForHeader(header).nextNumeral, u"十");
}

} // namespace
} // namespace tide
