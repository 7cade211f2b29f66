#include "win/skin/SkinFile.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "support/WinTestSupport.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::wstring kDefaultSkin = L"" TIDE_SOURCE_DIR "/data/Skin/Tide.ims";

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(bytes.begin(), bytes.end())));
}

TEST(SkinFile, DefaultSkinLoadsWithDecodableImages) {
    SkinFile skin;
    ASSERT_TRUE(skin.Load(kDefaultSkin.c_str()));
    EXPECT_EQ(skin.record().complete, 1u);
    EXPECT_EQ(SkinText(skin.record().name), u"潮汐默认");
    const SIZE status = ImageSize(skin.image(SlotStatus));
    EXPECT_EQ(status.cx, 122);
    EXPECT_EQ(status.cy, 22);
    EXPECT_EQ(ImageSize(skin.image(SlotPreview)).cx, 320);
    SkinRecord record = {};
    EXPECT_TRUE(ReadSkinRecord(kDefaultSkin.c_str(), record));
    EXPECT_EQ(record.complete, 1u);
}

TEST(SkinFile, SaveLoadSaveGivesTheSameBytesAndGdiplusReadsThePngs) {
    test::ScratchFolder folder;
    const std::wstring first = folder / L"first.ims";
    const std::wstring second = folder / L"second.ims";
    {
        SkinFile skin;
        ASSERT_TRUE(skin.Load(kDefaultSkin.c_str()));
        skin.Save(first.c_str());
    }
    {
        SkinFile skin;
        ASSERT_TRUE(skin.Load(first.c_str()));
        for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
            EXPECT_GT(ImageSize(skin.image(static_cast<SkinSlot>(slot))).cx, 0) << slot;
        }
        skin.Save(second.c_str());
    }
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));
}

TEST(SkinFile, AnImageThatDoesNotDecodeIsKeptAndSavedBackAsItCame) {
    test::ScratchFolder folder;
    const std::wstring odd = folder / L"odd.ims";
    const std::wstring saved = folder / L"saved.ims";
    std::array<Bytes, kSkinSlotCount> blobs;
    const std::string noPicture = "not a picture at all";
    blobs[SlotStatus].assign(noPicture.begin(), noPicture.end());
    blobs[SlotHorzCand] = blobs[SlotStatus];
    SkinRecord record = {};
    record.name.text[0] = u'名';
    WriteBytes(odd, SerializeSkin(record, blobs));
    SkinFile skin;
    ASSERT_TRUE(skin.Load(odd.c_str()));
    EXPECT_FALSE(skin.image(SlotStatus));
    EXPECT_TRUE(skin.holds(SlotStatus)) << "held, though it shows nothing";
    EXPECT_FALSE(skin.holds(SlotVertCand));
    skin.Unmap();
    ASSERT_TRUE(skin.Save(saved.c_str()));
    const Bytes bytes = ReadBytes(saved);
    const auto parsed = ParseSkin(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(Bytes(parsed->blobs[SlotStatus].begin(), parsed->blobs[SlotStatus].end()),
              blobs[SlotStatus]);
    skin.SetImage(SlotStatus, {});
    EXPECT_FALSE(skin.holds(SlotStatus)) << "emptied on purpose";
}

TEST(SkinFile, NewSkinWithStatusBackgroundAndNameLoadsAgain) {
    test::ScratchFolder folder;
    const std::wstring path = folder / L"new.ims";
    SkinFile source;
    ASSERT_TRUE(source.Load(kDefaultSkin.c_str()));
    SkinFile skin;
    skin.record() = NewSkinRecord(::GetSysColor(COLOR_GRAYTEXT), -16);
    ASSERT_TRUE(SetSkinText(skin.record().name, u"新皮肤"));
    skin.SetImage(SlotStatus,
                  ImageFromBytes(ReadBytes(L"" TIDE_SOURCE_DIR "/data/skin/Tide/Status.png")));
    skin.SetImage(SlotHorzCand,
                  ImageFromBytes(ReadBytes(L"" TIDE_SOURCE_DIR "/data/skin/Tide/HorzCand.png")));
    skin.record().complete = 1; // as the editor computes it before saving
    skin.Save(path.c_str());
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        const bool held = slot == SlotStatus || slot == SlotHorzCand;
        EXPECT_EQ(skin.sizes()[slot] > 0, held) << slot;
    }
    const Bytes bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 1068u + skin.sizes()[SlotStatus] + skin.sizes()[SlotHorzCand]);
    SkinFile loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(loaded.record().complete, 1u);
    EXPECT_EQ(SkinText(loaded.record().name), u"新皮肤");
    EXPECT_FALSE(loaded.image(SlotLogo));
}

TEST(SkinFile, SavingOverALongerFileLeavesItsTailAndStillLoads) {
    test::ScratchFolder folder;
    const std::wstring path = folder / L"tail.ims";
    Bytes longer = ReadBytes(kDefaultSkin);
    longer.resize(longer.size() + 40000, 0xCD);
    WriteBytes(path, longer);
    SkinFile skin;
    ASSERT_TRUE(skin.Load(path.c_str()));
    skin.ReleaseImages();
    EXPECT_EQ(SkinText(skin.record().name), u"") << "released";
    EXPECT_FALSE(skin.image(SlotStatus));
    skin.Close(); // the file must not stay mapped while it is written
    skin.SetImage(SlotStatus,
                  ImageFromBytes(ReadBytes(L"" TIDE_SOURCE_DIR "/data/skin/Tide/Status.png")));
    skin.SetImage(SlotVertCand,
                  ImageFromBytes(ReadBytes(L"" TIDE_SOURCE_DIR "/data/skin/Tide/VertCand.png")));
    ASSERT_TRUE(SetSkinText(skin.record().name, u"尾巴"));
    skin.Save(path.c_str());
    EXPECT_EQ(ReadBytes(path).size(), longer.size()) << "not truncated";
    SkinFile again;
    ASSERT_TRUE(again.Load(path.c_str()));
    EXPECT_EQ(SkinText(again.record().name), u"尾巴");
    EXPECT_TRUE(again.image(SlotVertCand));
}

TEST(SkinFile, DamagedFilesDoNotLoad) {
    test::ScratchFolder folder;
    const Bytes good = ReadBytes(kDefaultSkin);
    auto loads = [&](const Bytes& bytes, const wchar_t* name) {
        const std::wstring path = folder / name;
        WriteBytes(path, bytes);
        SkinFile skin;
        return skin.Load(path.c_str());
    };
    EXPECT_FALSE(loads(Bytes(good.begin(), good.begin() + 1000), L"short.ims"));
    EXPECT_FALSE(loads(Bytes(good.begin(), good.end() - 1), L"cut.ims"));
    Bytes noName = good;
    noName[308] = noName[309] = 0;
    EXPECT_FALSE(loads(noName, L"noname.ims"));
    EXPECT_FALSE(loads(Bytes{}, L"empty.ims"));
    SkinFile skin;
    EXPECT_FALSE(skin.Load((folder / L"absent.ims").c_str()));
    SkinRecord record = {};
    record.complete = 7;
    EXPECT_FALSE(ReadSkinRecord((folder / L"absent.ims").c_str(), record));
    EXPECT_EQ(record.complete, 7u) << "left as it was";
}

TEST(SkinFile, SameFileNameInAnotherFolderSharesTheMapping) {
    test::ScratchFolder first;
    test::ScratchFolder second;
    const Bytes original = ReadBytes(kDefaultSkin);
    WriteBytes(first / L"Shared.ims", original);
    Bytes other = original;
    // A different first character of the name in the second file.
    other[308] = static_cast<std::uint8_t>(u'另' & 0xFF);
    other[309] = static_cast<std::uint8_t>(u'另' >> 8);
    WriteBytes(second / L"Shared.ims", other);
    SkinFile held;
    ASSERT_TRUE(held.Load((first / L"Shared.ims").c_str()));
    SkinFile reader;
    ASSERT_TRUE(reader.Load((second / L"Shared.ims").c_str()));
    EXPECT_EQ(SkinText(reader.record().name), u"潮汐默认")
        << "the first file's bytes, through TIDE_SKIN_Shared_ims";
    held.Close();
    reader.Close();
    SkinFile alone;
    ASSERT_TRUE(alone.Load((second / L"Shared.ims").c_str()));
    EXPECT_EQ(SkinText(alone.record().name).front(), u'另');
}

} // namespace
} // namespace tide
