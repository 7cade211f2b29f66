#include "win/ImeModule.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include "support/WinTestSupport.h"

namespace tide {
namespace {

std::wstring SystemX86Folder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemWow64DirectoryW(folder, MAX_PATH);
    return folder;
}

// The fixture modules carry fixed version 3.1.4.15 and the text 3.1.4.261208,
// or no version information at all.
const std::wstring kVersionedModule = L"tide_versioned_module.dll";
const std::wstring kUnversionedModule = L"tide_unversioned_module.dll";

TEST(ImeModule, ReadsFixedVersionAndVersionText) {
    const std::wstring path = test::BinDirectory() + L"\\" + kVersionedModule;
    DWORD high = 0;
    DWORD low = 0;
    std::wstring text;
    ASSERT_EQ(ReadFileVersion(path.c_str(), &high, &low, &text), 1);
    EXPECT_EQ(high, 0x00030001u);
    EXPECT_EQ(low, 0x0004000Fu);
    EXPECT_EQ(text, L"3.1.4.261208");
    // Every out parameter may be left out.
    EXPECT_EQ(ReadFileVersion(path.c_str(), nullptr, nullptr, nullptr), 1);
}

TEST(ImeModule, ModuleWithoutVersionInformationGivesNothing) {
    const std::wstring path = test::BinDirectory() + L"\\" + kUnversionedModule;
    DWORD high = 7;
    std::wstring text = L"unchanged";
    EXPECT_EQ(ReadFileVersion(path.c_str(), &high, nullptr, &text), 0);
    EXPECT_EQ(high, 7u);
    EXPECT_EQ(text, L"unchanged");
    EXPECT_EQ(ReadFileVersion(L"C:\\no\\such\\file.ime", nullptr, nullptr, nullptr), 0);
}

TEST(ImeModule, NameComesFromTheFixedVersion) {
    const std::wstring versioned = test::BinDirectory() + L"\\" + kVersionedModule;
    EXPECT_EQ(ImeFileNameForModule(versioned.c_str()), L"Tide3155.ime");
    // Without version information, the version this program was built as.
    const std::wstring unversioned = test::BinDirectory() + L"\\" + kUnversionedModule;
    EXPECT_EQ(ImeFileNameForModule(unversioned.c_str()), L"Tide3141.ime");
}

TEST(ImeModule, PathIsInThe32BitSystemFolderAndItsVersionIsRead) {
    PathBuffer name;
    MakeImeFileName(name);
    PathBuffer path;
    GetImeFilePath(path);
    EXPECT_EQ(std::wstring(path), SystemX86Folder() + L"\\" + name);

    // Install the fixture module under that name, as the setup would.
    const std::wstring source = test::BinDirectory() + L"\\" + kVersionedModule;
    ASSERT_TRUE(::CopyFileW(source.c_str(), path, FALSE));
    std::wstring text;
    EXPECT_EQ(ReadFileVersion(path, nullptr, nullptr, &text), 1);
    EXPECT_EQ(text, L"3.1.4.261208");
    ::DeleteFileW(path);
}

} // namespace
} // namespace tide
