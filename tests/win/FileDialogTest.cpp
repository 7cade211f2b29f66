#include "ui/FileDialogs.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <thread>

#include "support/WinTestSupport.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

// Answers the next file dialog with that title by typing `name` and pressing OK.
std::thread AnswerFileDialog(const wchar_t* title, std::wstring name, std::atomic<bool>& seen) {
    return std::thread([title, name = std::move(name), &seen] {
        HWND dialog = test::WaitForWindow(L"#32770", title, 20s);
        if (!dialog) {
            return;
        }
        seen = true;
        ::SendMessageW(dialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name.c_str()));
        ::SendMessageW(dialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(name.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST(ShowFileDialog, OpenAndSaveDialogsReturnTheChosenPath) {
    test::ScratchFolder folder;
    const std::wstring existing = folder / L"词库.imc";
    ASSERT_TRUE(test::WriteFileBytes(existing, "x"));

    std::atomic<bool> seen = false;
    std::thread answer = AnswerFileDialog(L"打开词库文件", existing, seen);
    PathBuffer path;
    const BOOL chosen = ShowFileDialog(nullptr, path, FileKind::OpenLibrary);
    answer.join();
    ASSERT_TRUE(seen) << "the dialog has its title";
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(path, existing.c_str());

    // Saving adds the default extension.
    seen = false;
    answer = AnswerFileDialog(L"导出文件保存为", folder / L"导出", seen);
    const BOOL saved = ShowFileDialog(nullptr, path, FileKind::SaveText);
    answer.join();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(saved);
    EXPECT_EQ(std::wstring(path), folder / L"导出.txt");
}

} // namespace
} // namespace tide
