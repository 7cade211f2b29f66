#include "ui/FileDialogs.h"

#include <gtest/gtest.h>

#include <atomic>

#include "support/FileDialogAnswer.h"
#include "support/WinTestSupport.h"

namespace tide {
namespace {

TEST(ShowFileDialog, OpenAndSaveDialogsReturnTheChosenPath) {
    test::ScratchFolder folder;
    const std::wstring existing = folder / L"词库.imc";
    ASSERT_TRUE(test::WriteFileBytes(existing, "x"));

    std::atomic<bool> seen = false;
    std::thread answer = test::AnswerFileDialog(L"打开词库文件", existing, seen);
    PathBuffer path;
    const BOOL chosen = ShowFileDialog(nullptr, path, FileKind::OpenLibrary);
    answer.join();
    ASSERT_TRUE(seen) << "the dialog has its title";
    EXPECT_TRUE(chosen);
    EXPECT_STREQ(path, existing.c_str());

    // Saving adds the default extension.
    seen = false;
    answer = test::AnswerFileDialog(L"导出文件保存为", folder / L"导出", seen);
    const BOOL saved = ShowFileDialog(nullptr, path, FileKind::SaveText);
    answer.join();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(saved);
    EXPECT_EQ(std::wstring(path), folder / L"导出.txt");
}

} // namespace
} // namespace tide
