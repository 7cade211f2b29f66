// The real TideSetup.exe, started twice: the second copy of the same dialog
// exits with -1 and shows nothing.
#include <gtest/gtest.h>

#include "app/ToolTitles.h"
#include "core/contract/ImeContract.h"
#include "support/ImePeerProcess.h"
#include "support/WinTestSupport.h"
#include "win/WideText.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

constexpr DWORD kRefused = static_cast<DWORD>(-1);

std::wstring SetupProgram() {
    return test::BinDirectory() + L"\\TideSetup.exe";
}

struct Mode {
    const wchar_t* arguments;
    const wchar_t* title;
};

class SingleInstance : public ::testing::Test {
protected:
    // Starts the program and waits for its dialog.
    test::ChildProcess StartShowing(const Mode& mode) {
        auto process = test::ChildProcess::Start(SetupProgram(), mode.arguments);
        EXPECT_TRUE(process);
        EXPECT_TRUE(test::WaitForWindow(kDialogClassName, mode.title, 30s))
            << "dialog did not appear for arguments '" << testing::PrintToString(mode.arguments);
        return std::move(*process);
    }

    static void Close(test::ChildProcess& process, const wchar_t* title) {
        HWND window = ::FindWindowW(kDialogClassName, title);
        ASSERT_TRUE(window);
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(process.WaitForExit(20s), static_cast<DWORD>(IDCANCEL));
    }
};

TEST_F(SingleInstance, SecondCopyOfEitherDialogIsRefused) {
    for (const Mode mode : {Mode{L"", kLauncherTitle}, Mode{L"/e", kWordMakingTitle}}) {
        auto first = StartShowing(mode);
        auto second = test::ChildProcess::Start(SetupProgram(), mode.arguments);
        ASSERT_TRUE(second);
        EXPECT_EQ(second->WaitForExit(30s), kRefused);
        EXPECT_EQ(test::CountWindows(kDialogClassName, mode.title), 1) << "nothing new shown";
        Close(first, mode.title);
    }
}

TEST_F(SingleInstance, OnlyTheExactSwitchStartsWordMaking) {
    // With word-making open, anything but "/e" opens the launcher.
    auto wordMaking = StartShowing({L"/e", kWordMakingTitle});
    for (const wchar_t* arguments : {L"/E", L"/e x"}) {
        auto launcher = StartShowing({arguments, kLauncherTitle});
        EXPECT_EQ(test::CountWindows(kDialogClassName, kWordMakingTitle), 1);
        Close(launcher, kLauncherTitle);
    }
    // And with the launcher open, those same command lines are refused as a
    // second launcher.
    auto launcher = StartShowing({L"", kLauncherTitle});
    for (const wchar_t* arguments : {L"/E", L"/e x"}) {
        auto second = test::ChildProcess::Start(SetupProgram(), arguments);
        ASSERT_TRUE(second);
        EXPECT_EQ(second->WaitForExit(30s), kRefused) << testing::PrintToString(arguments);
    }
    Close(launcher, kLauncherTitle);
    Close(wordMaking, kWordMakingTitle);
}

TEST_F(SingleInstance, InputMethodStartsWordMakingWithItsText) {
    test::ScratchFolder folder;
    auto peer = test::ImePeerProcess::Start(folder, L"--word 潮汐输入法 --start-setup \"" +
                                                        SetupProgram() + L"\"");
    ASSERT_TRUE(peer);
    HWND window = test::WaitForWindow(kDialogClassName, kWordMakingTitle, 30s);
    ASSERT_TRUE(window) << testing::PrintToString(peer->Lines());

    // The text waits in the shared mapping, zero-terminated.
    KernelHandle mapping(
        ::OpenFileMappingW(FILE_MAP_READ, FALSE, ToWide(kWordMakingMappingName).c_str()));
    ASSERT_TRUE(mapping);
    MappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, kWordMakingMappingSize));
    ASSERT_TRUE(view);
    EXPECT_STREQ(static_cast<const wchar_t*>(view.get()), L"潮汐输入法");

    ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 200 && ::IsWindow(window); ++i) {
        ::Sleep(50);
    }
    EXPECT_FALSE(::IsWindow(window)) << "word-making closed";
}

} // namespace
} // namespace tide
