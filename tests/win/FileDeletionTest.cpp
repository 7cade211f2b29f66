#include "win/FileDeletion.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>

#include "support/WinTestSupport.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

TEST(DeleteFileForced, DeletesAFileNobodyUses) {
    test::ScratchFolder folder;
    const std::wstring path = folder / L"free.imc";
    ASSERT_TRUE(test::WriteFileBytes(path, "library"));
    EXPECT_EQ(DeleteFileForced(path.c_str()), 1);
    EXPECT_FALSE(test::FileExists(path));
}

TEST(DeleteFileForced, MissingFileCannotBeDeletedOrMoved) {
    test::ScratchFolder folder;
    EXPECT_EQ(DeleteFileForced((folder / L"absent.imc").c_str()), 0);
}

std::wstring PendingRenames() {
    RegistryKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager",
                        0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return {};
    }
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr, nullptr,
                           &size) != ERROR_SUCCESS) {
        return {};
    }
    std::wstring data(size / sizeof(wchar_t), L'\0');
    ::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(data.data()), &size);
    return data;
}

TEST(DeleteFileForced, FileInUseByAnotherProcessIsMovedAsideAndScheduled) {
    test::ScratchFolder folder;
    const std::wstring name = L"tide-in-use-" + std::to_wstring(::GetCurrentProcessId()) + L".imc";
    const std::wstring path = folder / name;
    // The holder maps it as a module image, so the file must be one.
    ASSERT_TRUE(::CopyFileW((test::BinDirectory() + L"\\tide_unversioned_module.dll").c_str(),
                            path.c_str(), FALSE));

    const std::wstring readyName = L"tide-test-ready-" + std::to_wstring(::GetCurrentProcessId());
    const std::wstring releaseName =
        L"tide-test-release-" + std::to_wstring(::GetCurrentProcessId());
    KernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
    auto holder = test::ChildProcess::Start(test::BinDirectory() + L"\\tide_file_holder.exe",
                                            L"\"" + path + L"\" " + readyName + L" " + releaseName);
    ASSERT_TRUE(holder);
    ASSERT_EQ(::WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0) << "holder mapped the file";
    ASSERT_FALSE(::DeleteFileW(path.c_str())) << "a file in use cannot simply be deleted";

    EXPECT_EQ(DeleteFileForced(path.c_str()), 1);
    EXPECT_FALSE(test::FileExists(path)) << "gone from its folder";

    WIN32_FIND_DATAW found;
    const std::wstring stem = name.substr(0, name.size() - 4);
    FindHandle find(::FindFirstFileW((L"C:\\" + stem + L"*").c_str(), &found));
    ASSERT_TRUE(find) << "moved into the drive's root under a unique name";
    const std::wstring moved = std::wstring(L"C:\\") + found.cFileName;
    EXPECT_TRUE(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
    const std::wstring pending = PendingRenames();
    EXPECT_NE(pending.find(found.cFileName), std::wstring::npos) << "scheduled for deletion";

    ::SetEvent(release.get());
    EXPECT_EQ(holder->WaitForExit(20s), 0u);
    ::SetFileAttributesW(moved.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(moved.c_str());
}

} // namespace
} // namespace tide
