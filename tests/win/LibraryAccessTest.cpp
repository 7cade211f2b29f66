#include "win/dict/LibraryAccess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/dict/PackagedDictionary.h"
#include "support/ImePeerProcess.h"
#include "support/WinTestSupport.h"
#include "win/InstallPaths.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/PackageInstall.h"

namespace tide {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const std::wstring kSmallLibrary = L"" TIDE_FIXTURES_DIR "/dict/small.imc";

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An installation whose current library is a copy of small.imc.
class CurrentLibrary : public ::testing::Test {
protected:
    CurrentLibrary()
        : setup_(kInstallKeyPath, kInstallValueName, folder_.path()),
          installDir_(folder_ / L"Tide"), library_(installDir_ + L"\\Tide.imc") {
        ::CreateDirectoryW(installDir_.c_str(), nullptr);
        ::CopyFileW(kSmallLibrary.c_str(), library_.c_str(), FALSE);
        ConfigRecord record = {};
        LoadConfig(record); // first run: Tide.imc becomes the current library
    }
    ~CurrentLibrary() override {
        for (const wchar_t* name : {L"\\Tide.imc", L"\\Tide.cfg", L"\\new.imc"}) {
            ::SetFileAttributesW((installDir_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW((installDir_ + name).c_str());
        }
        ::RemoveDirectoryW(installDir_.c_str());
    }

    test::ScratchFolder folder_;
    test::ScopedUserRegistryValue setup_;
    std::wstring installDir_;
    std::wstring library_;
};

TEST_F(CurrentLibrary, OpenForWritingGivesGrowthRoomAndCapacity) {
    {
        auto handle = OpenLibrary(library_.c_str());
        ASSERT_TRUE(handle);
        EXPECT_FALSE(handle->readOnly());
        EXPECT_EQ(handle->library().header().Capacity, 2800u + 65536u);
        EXPECT_EQ(handle->library().LookupCharCode(U'〇'), u"abcd");
    }
    const Bytes bytes = ReadBytes(library_);
    EXPECT_EQ(bytes.size(), 2800u + 65536u) << "the file grows to the mapping";
    EXPECT_EQ(GetCurrentCodeLength(), 4);
}

TEST_F(CurrentLibrary, ReadOnlyFileOpensReadOnlyAndRefusesChanges) {
    // Held by a reader that lets nobody else write.
    FileHandle reader(::CreateFileW(library_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    auto handle = OpenLibrary(library_.c_str());
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->readOnly());
    EXPECT_EQ(handle->library().AddUserEntry(u"ab", u"新"), WordLibrary::AddResult::Refused);
    EXPECT_FALSE(handle->library().RemoveEntry(u"a", u"〇"));
    EXPECT_FALSE(AddEntryToCurrentLibrary(L"ab", L"新"));
}

TEST_F(CurrentLibrary, DamagedOrMissingLibrariesDoNotOpen) {
    EXPECT_FALSE(OpenLibrary((installDir_ + L"\\absent.imc").c_str()));
    const std::wstring damaged = installDir_ + L"\\new.imc";
    Bytes bytes = ReadBytes(kSmallLibrary);
    bytes[192] = 0xFF; // UsedLength far past the end of the file
    bytes[193] = 0xFF;
    ASSERT_TRUE(test::WriteFileBytes(damaged, std::string(bytes.begin(), bytes.end())));
    EXPECT_FALSE(OpenLibrary(damaged.c_str()));
    EXPECT_EQ(ReadBytes(damaged).size(), bytes.size()) << "not extended";
}

TEST_F(CurrentLibrary, EntryChecksAgainstTheCurrentLibrary) {
    std::wstring code;
    EXPECT_EQ(AutoEncodeEntry(L"〇⺀", code), EntryCheckStatus::Valid);
    EXPECT_EQ(code, L"abab");
    EXPECT_EQ(AutoEncodeEntry(L"〇", code), EntryCheckStatus::EncodingFailed);
    EXPECT_EQ(AutoEncodeEntry(L"", code), EntryCheckStatus::EmptyWord);
    EXPECT_EQ(CheckEntry(L"〇〇", L"ab"), EntryCheckStatus::AlreadyExists);
    EXPECT_EQ(CheckEntry(L"〇〇", L"abx"), EntryCheckStatus::Valid);
    ASSERT_TRUE(AddEntryToCurrentLibrary(L"abab", L"〇⺀"));
    EXPECT_EQ(AutoEncodeEntry(L"〇⺀", code), EntryCheckStatus::AlreadyExists);
}

TEST_F(CurrentLibrary, TheInputMethodSeesEachChangeAtOnce) {
    auto peer = test::ImePeerProcess::Start(folder_, L"--map-library \"" + library_ + L"\"");
    ASSERT_TRUE(peer);
    ASSERT_EQ(peer->WaitForLines("mapped library", 1, 10s).size(), 1u)
        << testing::PrintToString(peer->Lines());
    HWND window = test::FindProcessWindow(peer->processId(), L"TideImePeer");
    ASSERT_TRUE(window);
    auto libraryLine = [&](std::size_t count) {
        ::PostMessageW(window, WM_APP + 1, 0, 0);
        const auto lines = peer->WaitForLines("library", count, 10s);
        return lines.size() == count ? lines.back() : std::string("(none)");
    };
    EXPECT_EQ(libraryLine(1), "library users");
    ASSERT_TRUE(AddEntryToCurrentLibrary(L"xyzw", L"用户词"));
    EXPECT_EQ(libraryLine(2), "library users xyzw=用户词");
    ASSERT_TRUE(AddEntryToCurrentLibrary(L"ab", L"又"));
    EXPECT_EQ(libraryLine(3), "library users ab=又 xyzw=用户词");
    {
        auto handle = OpenLibrary(library_.c_str());
        ASSERT_TRUE(handle);
        ASSERT_TRUE(handle->library().RemoveEntry(u"xyzw", u"用户词"));
    }
    EXPECT_EQ(libraryLine(4), "library users ab=又");
}

TEST(PackageInstall, InstallsAPackageAndRefusesEverythingElse) {
    test::ScratchFolder folder;
    const Bytes library = ReadBytes(kSmallLibrary);
    const Bytes package = PackDictionary(library);
    const std::wstring source = folder / L"package.imc";
    ASSERT_TRUE(test::WriteFileBytes(source, std::string(package.begin(), package.end())));
    const std::wstring target = folder / L"installed.imc";
    EXPECT_EQ(InstallPackagedDictionary(target.c_str(), source.c_str()), 2800);
    EXPECT_EQ(ReadBytes(target), library);

    const std::wstring other = folder / L"other.imc";
    EXPECT_EQ(InstallPackagedDictionary(other.c_str(), kSmallLibrary.c_str()), -1)
        << "a plain library";
    Bytes damaged = package;
    damaged[8] = 230;
    ASSERT_TRUE(test::WriteFileBytes(source, std::string(damaged.begin(), damaged.end())));
    EXPECT_EQ(InstallPackagedDictionary(other.c_str(), source.c_str()), 0);
    // A package of something that is no word library is not installed either.
    const Bytes junk = PackDictionary(Bytes(100, 'x'));
    ASSERT_TRUE(test::WriteFileBytes(source, std::string(junk.begin(), junk.end())));
    EXPECT_EQ(InstallPackagedDictionary(other.c_str(), source.c_str()), 0);
    EXPECT_EQ(InstallPackagedDictionary(other.c_str(), (folder / L"absent.imc").c_str()), 0);
    EXPECT_FALSE(test::FileExists(other)) << "no file left behind";
    EXPECT_FALSE(test::FileExists(other + L".new"));
}

} // namespace
} // namespace tide
