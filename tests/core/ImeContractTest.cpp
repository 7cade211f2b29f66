#include "core/contract/ImeContract.h"

#include <gtest/gtest.h>

namespace tide {
namespace {

TEST(MappingNameForFile, ReplacesOnlyTheFirstDotOfTheFileName) {
    EXPECT_EQ(MappingNameForFile(kLibraryMappingPrefix, u"Tide.imc"), u"TIDE_CODETABLE_Tide_imc");
    EXPECT_EQ(MappingNameForFile(kSkinMappingPrefix, u"Tide.ims"), u"TIDE_SKIN_Tide_ims");
    EXPECT_EQ(MappingNameForFile(kSkinMappingPrefix, u"my.blue.ims"), u"TIDE_SKIN_my_blue.ims");
    EXPECT_EQ(MappingNameForFile(kLibraryMappingPrefix, u"noext"), u"TIDE_CODETABLE_noext");
    EXPECT_EQ(MappingNameForFile(kLibraryMappingPrefix, u"词库.imc"), u"TIDE_CODETABLE_词库_imc");
}

TEST(MappingNameForFile, UsesTheFileNameWithoutItsFolder) {
    // Two files of the same name in different folders share one mapping.
    EXPECT_EQ(MappingNameForFile(kSkinMappingPrefix, u"C:\\a.b\\Skin\\Tide.ims"),
              u"TIDE_SKIN_Tide_ims");
    EXPECT_EQ(MappingNameForFile(kSkinMappingPrefix, u"D:/other/Tide.ims"), u"TIDE_SKIN_Tide_ims");
}

TEST(ImeModuleName, NumberIsTheVersionPartsWeightedNotReduced) {
    EXPECT_EQ(ImeModuleNumber(0x00030001, 0x00040001), 3141u);
    EXPECT_EQ(ImeModuleNumber(0x00030001, 0x0004000F), 3155u);
    EXPECT_EQ(ImeFileNameForNumber(ImeModuleNumber(0x00030001, 0x00040001)), u"Tide3141.ime");
    EXPECT_EQ(ImeFileNameForNumber(ImeModuleNumber(0x00030001, 0x0004000F)), u"Tide3155.ime");
    EXPECT_EQ(ImeFileNameForNumber(0), u"Tide0.ime");
    // The largest parts still fit: 1111 * 65535.
    EXPECT_EQ(ImeModuleNumber(0xFFFFFFFF, 0xFFFFFFFF), 72809385u);
}

TEST(CommandLine, OnlyExactLowerCaseSwitchStartsWordMaking) {
    EXPECT_TRUE(IsWordMakingCommandLine(u"/e"));
    for (const char16_t* other : {u"", u"/E", u"/e x", u"/e ", u" /e", u"-e", u"/ex"}) {
        EXPECT_FALSE(IsWordMakingCommandLine(other)) << "command line must open the launcher";
    }
}

TEST(ImeContract, SizesMatchTheSharedLayouts) {
    EXPECT_EQ(kConfigRecordSize, 476u);
    EXPECT_EQ(kWordMakingMappingSize, 84u);
    EXPECT_EQ(static_cast<int>(ChangeCode::ConfigSaved), 1);
    EXPECT_EQ(static_cast<int>(ChangeCode::DictionaryChanged), 2);
    EXPECT_EQ(static_cast<int>(ChangeCode::SkinChanged), 3);
}

} // namespace
} // namespace tide
