#include "win/InstallPaths.h"

#include <gtest/gtest.h>

#include <string>

#include "support/WinTestSupport.h"

namespace tide {
namespace {

using test::ScopedUserRegistryValue;

TEST(InstallPaths, SetupLocationGivesInstallDirAndConfigFile) {
    ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName, L"D:\\Apps");
    PathBuffer buffer;
    ASSERT_EQ(QueryInstallDir(buffer), 1);
    EXPECT_STREQ(buffer, L"D:\\Apps\\Tide");
    GetConfigFilePath(buffer);
    EXPECT_STREQ(buffer, L"D:\\Apps\\Tide\\Tide.cfg");
}

TEST(InstallPaths, TrailingBackslashIsNotDoubled) {
    ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName, L"C:\\Program Files\\");
    PathBuffer buffer;
    ASSERT_EQ(QueryInstallDir(buffer), 1);
    EXPECT_STREQ(buffer, L"C:\\Program Files\\Tide");
}

TEST(InstallPaths, MissingValueFallsBackForTheConfigFileOnly) {
    ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName, std::nullopt);
    PathBuffer buffer;
    EXPECT_EQ(QueryInstallDir(buffer), 0);
    GetConfigFilePath(buffer);
    EXPECT_STREQ(buffer, L"C:\\Program Files\\Tide\\Tide.cfg");
}

TEST(InstallPaths, ValueOf130CharactersOrMoreIsRefused) {
    const std::wstring longest(129, L'x');
    {
        ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName,
                                      L"C:\\" + longest.substr(3));
        PathBuffer buffer;
        ASSERT_EQ(QueryInstallDir(buffer), 1) << "129 characters still fit";
        EXPECT_EQ(std::wstring(buffer), L"C:\\" + longest.substr(3) + L"\\Tide");
    }
    for (std::size_t length : {130u, 200u, 259u}) {
        ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName,
                                      L"C:\\" + std::wstring(length - 3, L'y'));
        PathBuffer buffer;
        EXPECT_EQ(QueryInstallDir(buffer), 0) << length;
        GetConfigFilePath(buffer);
        EXPECT_STREQ(buffer, L"C:\\Program Files\\Tide\\Tide.cfg") << length;
    }
}

TEST(InstallPaths, ValueOfAnotherTypeIsNotAPath) {
    ScopedUserRegistryValue value(kInstallKeyPath, kInstallValueName, std::nullopt);
    RegistryKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kInstallKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD number = 42;
    ::RegSetValueExW(key.get(), kInstallValueName, 0, REG_DWORD,
                     reinterpret_cast<const BYTE*>(&number), sizeof(number));
    PathBuffer buffer;
    EXPECT_EQ(QueryInstallDir(buffer), 0);
    GetConfigFilePath(buffer);
    EXPECT_STREQ(buffer, L"C:\\Program Files\\Tide\\Tide.cfg");
}

} // namespace
} // namespace tide
