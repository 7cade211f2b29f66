#include "core/skin/SkinFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "core/skin/SkinRecordText.h"
#include "support/Fixtures.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

using test::ReadSourceFile;

SkinRecord NamedRecord(std::u16string_view name = u"测试") {
    SkinRecord record = NewSkinRecord(0x00808080, -16);
    SetSkinText(record.name, name);
    return record;
}

std::uint32_t U32At(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

TEST(SkinFormat, BlobsFollowTheSizeTableInFileOrder) {
    std::array<Bytes, kSkinSlotCount> blobs;
    blobs[SlotStatus] = Bytes(200, 's');
    blobs[SlotHorzCand] = Bytes(300, 'h');
    blobs[SlotVertCand] = Bytes(100, 'v');
    const Bytes file = SerializeSkin(NamedRecord(), blobs);
    ASSERT_EQ(file.size(), 1668u);
    const std::uint32_t expected[kSkinSlotCount] = {200, 0, 0, 0, 0, 0,   0, 0, 0, 0, 0,
                                                    300, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0};
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        EXPECT_EQ(U32At(file, 980 + 4 * slot), expected[slot]) << slot;
    }
    EXPECT_EQ(file[1068], 's');
    EXPECT_EQ(file[1267], 's');
    EXPECT_EQ(file[1268], 'h');
    EXPECT_EQ(file[1567], 'h');
    EXPECT_EQ(file[1568], 'v');
    const auto skin = ParseSkin(file);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->blobs[SlotVertCand].data(), file.data() + 1568);
    EXPECT_EQ(skin->blobs[SlotLogo].size(), 0u);
}

TEST(SkinFormat, WhatASkinNeedsToLoad) {
    std::array<Bytes, kSkinSlotCount> blobs;
    blobs[SlotStatus] = Bytes(10, 's');
    blobs[SlotVertCand] = Bytes(10, 'v');
    SkinParseError error = SkinParseError::None;
    EXPECT_TRUE(ParseSkin(SerializeSkin(NamedRecord(), blobs), &error))
        << "only the vertical background";

    EXPECT_FALSE(ParseSkin(SerializeSkin(NamedRecord(u""), blobs), &error));
    EXPECT_EQ(error, SkinParseError::NoName);

    auto noStatus = blobs;
    noStatus[SlotStatus].clear();
    EXPECT_FALSE(ParseSkin(SerializeSkin(NamedRecord(), noStatus), &error));
    EXPECT_EQ(error, SkinParseError::NoStatusImage);

    auto noBackground = blobs;
    noBackground[SlotVertCand].clear();
    noBackground[SlotPreview] = Bytes(5, 'p');
    EXPECT_FALSE(ParseSkin(SerializeSkin(NamedRecord(), noBackground), &error));
    EXPECT_EQ(error, SkinParseError::NoCandidateImage);
}

TEST(SkinFormat, NothingIsReadPastTheEnd) {
    std::array<Bytes, kSkinSlotCount> blobs;
    blobs[SlotStatus] = Bytes(10, 's');
    blobs[SlotHorzCand] = Bytes(10, 'h');
    Bytes file = SerializeSkin(NamedRecord(), blobs);
    SkinParseError error = SkinParseError::None;
    EXPECT_FALSE(ParseSkin(std::span(file).first(1067), &error));
    EXPECT_EQ(error, SkinParseError::TooShort);
    EXPECT_FALSE(ParseSkin(std::span(file).first(file.size() - 1), &error));
    EXPECT_EQ(error, SkinParseError::BlobsPastEnd);
    // Sizes whose sum overflows 32 bits (and 64 bits when added to offsets).
    Bytes huge = file;
    for (std::size_t slot = 1; slot < 4; ++slot) {
        std::memset(huge.data() + 980 + 4 * slot, 0xFF, 4);
    }
    EXPECT_FALSE(ParseSkin(huge, &error));
    EXPECT_EQ(error, SkinParseError::BlobsPastEnd);
    // A tail after the last blob is ignored.
    file.resize(file.size() + 50, 0xEE);
    EXPECT_TRUE(ParseSkin(file));
}

TEST(SkinFormat, ImageReferencesStartWithImsColon) {
    EXPECT_TRUE(IsSkinImageRef(u"IMS:\\Status.png"));
    EXPECT_TRUE(IsSkinImageRef(u"IMS:"));
    EXPECT_FALSE(IsSkinImageRef(u"ims:\\Status.png"));
    EXPECT_FALSE(IsSkinImageRef(u" IMS:\\Status.png"));
    EXPECT_FALSE(IsSkinImageRef(u"C:\\IMS:\\x.png"));
    EXPECT_FALSE(IsSkinImageRef(u"IMS"));
    EXPECT_EQ(kSkinSlots[SlotVertCand].displayName, u"IMS:\\VertCand.png");
    EXPECT_EQ(kSkinSlots[16].slot, SlotVertCand) << "after the four horizontal page buttons";
}

TEST(SkinFormat, NewSkinValues) {
    const SkinRecord r = NewSkinRecord(0x00A0A0A0, -16);
    EXPECT_EQ(r.complete, 0u);
    EXPECT_EQ(r.menuButtonBox.x, 101);
    EXPECT_EQ(r.horzSeparatorColor, 0x00A0A0A0u);
    EXPECT_EQ(r.horzItemHeight, 1.5f);
    EXPECT_EQ(r.horzItemSpacing, 1.0f);
    EXPECT_EQ(r.vertPreviewY, 250);
    EXPECT_EQ(r.otherInfo.font.lfHeight, -16);
    EXPECT_EQ(std::u16string_view(r.author.font.lfFaceName), u"微软雅黑");
    EXPECT_EQ(SkinText(r.name), u"");
    EXPECT_EQ(r.version.x, 1);
    EXPECT_EQ(r.version.color, 0u);
    SkinRecord named = r;
    EXPECT_FALSE(SetSkinText(named.name, std::u16string(32, u'字'))) << "31 characters at most";
    EXPECT_TRUE(SetSkinText(named.name, std::u16string(31, u'字')));
}

TEST(SkinRecordText, EveryByteSurvivesTheTextForm) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        SkinRecord record;
        auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
        for (std::size_t i = 0; i < sizeof(record); ++i) {
            bytes[i] = static_cast<std::uint8_t>(random());
        }
        if (round % 2 == 0) {
            record = NewSkinRecord(random(), -static_cast<std::int32_t>(random() % 40));
            SetSkinText(record.name, u"蓝色 skin");
            SetSkinText(record.otherInfo, u" 前后有空格 ");
        }
        SkinRecord zero;
        std::memset(&zero, 0, sizeof(zero));
        std::string error;
        const auto back = SkinRecordFromText(SkinRecordToText(record), zero, &error);
        ASSERT_TRUE(back) << error;
        ASSERT_EQ(std::memcmp(&*back, &record, sizeof(record)), 0) << "round " << round;
    }
}

TEST(SkinRecordText, BadLinesAreNamed) {
    SkinRecord base = NewSkinRecord(0, -16);
    std::string error;
    EXPECT_FALSE(SkinRecordFromText("complete = 1\nbogus = 2\n", base, &error));
    EXPECT_EQ(error, "line 2: unknown field bogus");
    EXPECT_FALSE(SkinRecordFromText("logoBox.x = ten\n", base, &error));
    EXPECT_FALSE(SkinRecordFromText(
        "name.text = 一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二\n", base,
        &error));
    EXPECT_FALSE(SkinRecordFromText("horzCodeColor = 123\n", base, &error)) << "colours are hex";
    const auto partial = SkinRecordFromText("# only this\nlogoBox.x = 7\n", base, &error);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->logoBox.x, 7);
    EXPECT_EQ(partial->logoBox.y, base.logoBox.y) << "unnamed fields keep their values";
}

TEST(DefaultSkin, LoadsCompleteAndMatchesItsSources) {
    const Bytes file = ReadSourceFile("data/Skin/Tide.ims");
    const auto skin = ParseSkin(file);
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->record.complete, 1u);
    EXPECT_EQ(SkinText(skin->record.name), u"潮汐默认");
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        EXPECT_GT(skin->sizes[slot], 0u) << "every image is drawn: " << kSkinSlots[slot].fileName;
        const Bytes source =
            ReadSourceFile("data/skin/Tide/" + std::string(kSkinSlots[slot].fileName));
        EXPECT_EQ(Bytes(skin->blobs[slot].begin(), skin->blobs[slot].end()), source)
            << kSkinSlots[slot].fileName;
    }
    const Bytes text = ReadSourceFile("data/skin/Tide/record.txt");
    SkinRecord zero;
    std::memset(&zero, 0, sizeof(zero));
    const auto record = SkinRecordFromText(std::string(text.begin(), text.end()), zero);
    ASSERT_TRUE(record);
    EXPECT_EQ(std::memcmp(&*record, &skin->record, sizeof(SkinRecord)), 0);
}

} // namespace
} // namespace tide
