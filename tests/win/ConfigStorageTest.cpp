#include "win/config/ConfigStorage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "ui/InfoMessage.h"
#include "win/InstallPaths.h"

namespace tide {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes ToBytes(const ConfigRecord& record) {
    const auto bytes = RecordBytes(record);
    return {bytes.begin(), bytes.end()};
}

Bytes WithRecordSize476(Bytes bytes) {
    bytes[0] = 0xDC;
    bytes[1] = 0x01;
    return bytes;
}

// An installation of its own for every test: SetupLocation points at a
// scratch folder whose "Tide" folder holds the libraries and skins.
class ConfigStorage : public ::testing::Test {
protected:
    ConfigStorage()
        : setupLocation_(kInstallKeyPath, kInstallValueName, folder_.path()),
          installDir_(folder_ / L"Tide") {
        ::CreateDirectoryW(installDir_.c_str(), nullptr);
        ::CreateDirectoryW((installDir_ + L"\\Skin").c_str(), nullptr);
    }
    ~ConfigStorage() override {
        // The scratch folder removes flat folders only.
        for (const auto& file : created_) {
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(file.c_str());
            ::RemoveDirectoryW(file.c_str());
        }
        ::RemoveDirectoryW((installDir_ + L"\\Skin").c_str());
        ::RemoveDirectoryW(installDir_.c_str());
    }

    void Install(const std::wstring& relativePath) {
        const std::wstring path = installDir_ + L"\\" + relativePath;
        ASSERT_TRUE(test::WriteFileBytes(path, "x"));
        created_.insert(created_.begin(), path);
    }
    void InstallFolder(const std::wstring& relativePath) {
        const std::wstring path = installDir_ + L"\\" + relativePath;
        ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr));
        created_.insert(created_.begin(), path);
    }
    std::wstring ConfigFile() {
        created_.push_back(installDir_ + L"\\Tide.cfg");
        return installDir_ + L"\\Tide.cfg";
    }

    static ConfigRecord Loaded() {
        ConfigRecord record = {};
        LoadConfig(record);
        return record;
    }

    // A record unlike the defaults in every field the manager edits, with
    // the bits and bytes it must never touch set too.
    static ConfigRecord Edited() {
        ConfigRecord record = {};
        SetDefaultFixedFields(record);
        record.CandidatesPerPage = 9;
        record.FontSize = 20;
        record.SettingsHotkey = Hotkey{0x51, true, true}.Encode();
        record.SetOptions(~kDefaultOptions);
        SetFixedText(record.CodeFontName, u"宋体");
        SetFixedText(record.DictionaryFileName, u"Tide.imc");
        SetFixedText(record.SkinFileName, u"Tide.ims");
        record.UserSymbols[0] = u'★';
        std::memcpy(record.Reserved, "\x11\x22\x33\x44", 4);
        return record;
    }

    test::ScratchFolder folder_;
    test::ScopedUserRegistryValue setupLocation_;
    std::wstring installDir_;
    std::vector<std::wstring> created_;
};

TEST_F(ConfigStorage, FirstRunWritesTheDefaultRecordWithTheInstalledFiles) {
    Install(L"a.imc");
    Install(L"Tide.imc");
    Install(L"Skin\\a.ims");
    Install(L"Skin\\Tide.ims");
    const std::wstring file = ConfigFile();
    const ConfigRecord record = Loaded();

    std::ifstream fixture(TIDE_FIXTURES_DIR "/config/default-first-run.cfg", std::ios::binary);
    const Bytes expected{std::istreambuf_iterator<char>(fixture), std::istreambuf_iterator<char>()};
    ASSERT_EQ(expected.size(), kConfigRecordSize);
    EXPECT_EQ(ReadBytes(file), expected) << "Tide.cfg as laid out by hand from the format";
    EXPECT_EQ(ToBytes(record), expected) << "and the record handed back";
}

TEST_F(ConfigStorage, FirstRunTakesAnotherInstalledFileWhenTheDefaultOneIsMissing) {
    InstallFolder(L"folder.imc");
    Install(L"a-name-that-is-far-too-long-for-the-record.imc");
    Install(L"other.imc");
    Install(L"notes.imcx");
    Install(L"Skin\\blue.ims");
    ConfigFile();
    const ConfigRecord record = Loaded();
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"other.imc")
        << "not a folder, not a name the record cannot hold";
    EXPECT_EQ(FixedText(record.SkinFileName), u"blue.ims");
}

TEST_F(ConfigStorage, FirstRunWithNothingInstalledLeavesTheNamesEmpty) {
    ConfigFile();
    const ConfigRecord record = Loaded();
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"");
    EXPECT_EQ(FixedText(record.SkinFileName), u"");
    EXPECT_EQ(record.Options(), kDefaultOptions);
}

TEST_F(ConfigStorage, SaveWritesFileThenNotifiesAndThePeerReadsTheNewRecord) {
    const std::wstring file = ConfigFile();
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    const ConfigRecord edited = Edited();
    for (int round = 0; round < 3; ++round) {
        ConfigRecord record = edited;
        record.CandidatesPerPage = static_cast<std::uint16_t>(3 + round);
        ASSERT_EQ(SaveConfig(record), kSaved);
        const auto notices = peer->WaitForLines("notice", round + 1, 20s);
        ASSERT_EQ(notices.size(), static_cast<std::size_t>(round + 1));
        const std::string& notice = notices.back();
        EXPECT_EQ(notice.rfind("notice 1 ", 0), 0u) << notice.substr(0, 20);
        EXPECT_EQ(test::HexField(notice, "record"), ToBytes(record)) << "the peer's own mapping";
        EXPECT_EQ(test::HexField(notice, "file"), ToBytes(record))
            << "the file already held the new record when the notice arrived";
    }
    // While the peer holds the mapping, a load still takes the file's bytes.
    EXPECT_EQ(ToBytes(Loaded()).at(4), 5);
}

TEST_F(ConfigStorage, RecordSizeIsWrittenToTheFileOnly) {
    const std::wstring file = ConfigFile();
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    ConfigRecord record = Edited();
    record.RecordSize = 0;
    ASSERT_EQ(SaveConfig(record), kSaved);
    const auto notices = peer->WaitForLines("notice 1", 1, 20s);
    ASSERT_EQ(notices.size(), 1u) << ::testing::PrintToString(peer->Lines());
    EXPECT_EQ(test::HexField(notices[0], "record"), ToBytes(record)) << "the mapping: unchanged";
    EXPECT_EQ(ReadBytes(file), WithRecordSize476(ToBytes(record))) << "the file: 476";
}

TEST_F(ConfigStorage, ShortFileReplacesOnlyTheBeginningOfTheMapping) {
    const std::wstring file = ConfigFile();
    {
        // A fresh mapping: the rest of the record is zeros.
        ASSERT_TRUE(test::WriteFileBytes(file, std::string("\xDC\x01\x07\x00\x09\x00", 6)));
        const Bytes loaded = ToBytes(Loaded());
        EXPECT_EQ(Bytes(loaded.begin(), loaded.begin() + 6),
                  (Bytes{0xDC, 0x01, 0x07, 0x00, 0x09, 0x00}));
        EXPECT_EQ(Bytes(loaded.begin() + 6, loaded.end()), Bytes(kConfigRecordSize - 6, 0));
    }
    {
        // A mapping the input method keeps: the rest is what it held.
        auto peer = test::ImePeerProcess::Start(folder_);
        ASSERT_TRUE(peer);
        const ConfigRecord edited = Edited();
        ASSERT_EQ(SaveConfig(edited), kSaved);
        // The peer reads the file when the notice comes; let it finish first.
        peer->WaitForLines("notice 1", 1, 10s);
        ASSERT_TRUE(test::WriteFileBytes(file, std::string("\xDC\x01\x02\x00", 4)));
        const Bytes loaded = ToBytes(Loaded());
        Bytes expected = ToBytes(edited);
        expected[2] = 0x02;
        expected[3] = 0x00;
        EXPECT_EQ(loaded, expected);
    }
}

TEST_F(ConfigStorage, BitsAndBytesTheManagerDoesNotEditSurviveLoadAndSave) {
    ConfigFile();
    const ConfigRecord edited = Edited();
    ASSERT_EQ(SaveConfig(edited), kSaved);
    ConfigRecord loaded = Loaded();
    EXPECT_EQ(loaded.Options(), edited.Options());
    EXPECT_EQ(std::memcmp(loaded.Reserved, "\x11\x22\x33\x44", 4), 0);
    ASSERT_EQ(SaveConfig(loaded), kSaved);
    EXPECT_EQ(ToBytes(Loaded()), ToBytes(edited));
}

TEST_F(ConfigStorage, RestoringDefaultsKeepsFileNamesAndReservedTail) {
    ConfigRecord record = Edited();
    SetDefaultConfig(record, 0);
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"Tide.imc");
    EXPECT_EQ(FixedText(record.SkinFileName), u"Tide.ims");
    EXPECT_EQ(std::memcmp(record.Reserved, "\x11\x22\x33\x44", 4), 0);
    ConfigRecord defaults = Edited();
    SetDefaultFixedFields(defaults);
    EXPECT_EQ(ToBytes(record), ToBytes(defaults));
    EXPECT_EQ(record.Options(), kDefaultOptions);
}

TEST_F(ConfigStorage, UnwritableFileStillUpdatesTheInputMethodAndSaysSo) {
    const std::wstring file = ConfigFile();
    const Bytes before = ToBytes(Loaded()); // creates the file
    // Read-only, and held by a reader that lets nobody write (Wine, run as
    // root, would otherwise write a read-only file anyway).
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    FileHandle reader(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    const ConfigRecord edited = Edited();
    EXPECT_EQ(SaveConfig(edited), kSavedToMappingOnly);
    const auto notices = peer->WaitForLines("notice 1", 1, 20s);
    ASSERT_EQ(notices.size(), 1u) << "the notice is still posted";
    EXPECT_EQ(test::HexField(notices[0], "record"), ToBytes(edited));
    reader.reset();
    EXPECT_EQ(ReadBytes(file), WithRecordSize476(before)) << "the file keeps the old record";
}

TEST_F(ConfigStorage, UnreadableFileGivesDefaultsWithoutFileNamesAndSaveWritesNothing) {
    const std::wstring file = ConfigFile();
    ASSERT_EQ(SaveConfig(Edited()), kSaved);
    // Another program holds the file open without sharing it.
    FileHandle locked(::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    const ConfigRecord record = Loaded();
    EXPECT_EQ(record.Options(), kDefaultOptions);
    EXPECT_EQ(FixedText(record.DictionaryFileName), u"");
    EXPECT_EQ(SaveConfig(Edited()), kSaveFailed);
}

TEST_F(ConfigStorage, CurrentDictionaryPathIsInInstallDirOrBare) {
    Install(L"Tide.imc");
    ConfigFile();
    PathBuffer path;
    GetCurrentDictionaryPath(path);
    EXPECT_EQ(std::wstring(path), installDir_ + L"\\Tide.imc");
}

TEST(ConfigMessages, InfoMessageBreaksLinesWithItsCaptionAndIcon) {
    test::MessageBoxWatcher watcher;
    ShowInfoMessage(nullptr, L"导入文件打开失败，不能进行导入操作！！！");
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"潮汐输入法\u3000信息");
    EXPECT_EQ(seen[0].text, L"导入文件打开失败，不能进行导入\r\n操作！！！");
    EXPECT_TRUE(seen[0].informationIcon);
}

} // namespace
} // namespace tide
