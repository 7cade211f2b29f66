// The user dictionary tool run for real on the sample library: imports,
// exports, deletes and clears, with its file dialogs and boxes answered.
#include "tools/userdict/UserDictDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "core/base/Utf.h"
#include "core/config/InfoMessageText.h"
#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/SampleInstallation.h"
#include "support/WinTestSupport.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

// The tool as the launcher shows it.
class DrivenUserDict : public test::DrivenDialog<CUserDictDialog> {
public:
    using DrivenDialog::DrivenDialog;
    void Run() { ShowModal(L"用户词库管理", 300, 177, 0); }
};

constexpr int kImport = 272, kDelete = 273, kExport = 274, kClear = 275, kList = 256;

bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}
int Rows(HWND dialog) {
    return static_cast<int>(::SendDlgItemMessageW(dialog, kList, LVM_GETITEMCOUNT, 0, 0));
}
std::wstring Cell(HWND dialog, int row, int column) {
    wchar_t text[64] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendDlgItemMessageW(dialog, kList, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&item));
    return text;
}
class UserDictTool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installation_.ready()); }
    // A UTF-16 text file with its byte-order mark.
    std::wstring TextFile(const wchar_t* name, std::string_view utf8, bool mark = true) {
        const std::u16string units = (mark ? u"\uFEFF" : u"") + FromUtf8(utf8);
        const std::wstring path = installation_.folder() / name;
        EXPECT_TRUE(test::WriteFileBytes(
            path, std::string(reinterpret_cast<const char*>(units.data()), units.size() * 2)));
        return path;
    }
    // Runs the tool, answering the file dialog titled `title` with `file`.
    void RunWithFile(const wchar_t* title, const std::wstring& file,
                     std::function<void(HWND)> checks) {
        std::atomic<bool> answered{false};
        std::thread answer = test::AnswerFileDialog(title, file, answered);
        DrivenUserDict tool(std::move(checks));
        tool.Run();
        answer.join();
        EXPECT_TRUE(answered) << "the file dialog was answered";
    }
    bool Holds(const std::u16string& code, const std::u16string& word) {
        const auto library = OpenLibrary(CurrentLibraryPath().c_str(), true);
        return library && library->library().ContainsEntry(code, word);
    }

    test::SampleInstallation installation_;
};

TEST_F(UserDictTool, AnImportEncodesWordsAloneAndListsWhatItAdded) {
    const std::wstring file = TextFile(L"words.txt", "中国人\r\nzzzz\t测试\t7\r\n我们\r\n");
    test::MessageBoxWatcher boxes;
    DrivenUserDict empty([](HWND dialog) {
        EXPECT_EQ(Rows(dialog), 0);
        EXPECT_FALSE(Enabled(dialog, kExport));
        EXPECT_FALSE(Enabled(dialog, kDelete));
        EXPECT_FALSE(Enabled(dialog, kClear));
    });
    empty.Run();
    RunWithFile(L"打开导入文件", file, [](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, kImport, 0);
        ASSERT_EQ(Rows(dialog), 2);
        EXPECT_EQ(Cell(dialog, 0, 0), L"0") << "rows count from 0";
        EXPECT_EQ(Cell(dialog, 1, 1), L"zzzz");
        EXPECT_EQ(Cell(dialog, 1, 2), L"测试");
        EXPECT_TRUE(Enabled(dialog, kExport));
        EXPECT_TRUE(Enabled(dialog, kClear));
    });
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text,
              L"词条导入完成！\r\n\r\n导入文件共有3条词条，\r\n"
              L"系统或用户词库已收录1条，\r\n实际导入2条。");
    EXPECT_EQ(boxes.Seen()[0].caption, L"潮汐输入法\u3000信息");
    EXPECT_TRUE(Holds(u"zgre", u"中国人")) << "the phrase rules gave its code";
}

TEST_F(UserDictTool, AnImportStopsAtALineItCannotTakeAndKeepsTheLinesBefore) {
    const std::wstring lone = TextFile(L"lone.txt", "xxyy\t一号\r\n好\r\nxxzz\t二号\r\n");
    const std::wstring capital = TextFile(L"capital.txt", "xxqq\t三号\r\nxQ\t四号\r\n");
    const std::wstring noMark = TextFile(L"plain.txt", "xxww\t五号\r\n", false);
    test::MessageBoxWatcher boxes;
    for (const std::wstring& file : {lone, capital, noMark}) {
        RunWithFile(L"打开导入文件", file,
                    [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, kImport, 0); });
    }
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, test::ShownInfoText(L"导入文件第2行词条自动编码失败，失败词条为：好"));
    EXPECT_EQ(seen[1].text,
              test::ShownInfoText(L"导入文件第2行词条编码中含有非法字符，错误编码为：xQ"));
    EXPECT_EQ(seen[2].text, test::ShownInfoText(L"导入文件不是UNICODE文本格式，不能导入词条！"));
    EXPECT_TRUE(Holds(u"xxyy", u"一号"));
    EXPECT_FALSE(Holds(u"xxzz", u"二号"));
    EXPECT_TRUE(Holds(u"xxqq", u"三号"));
    EXPECT_FALSE(Holds(u"xxww", u"五号"));
}

TEST_F(UserDictTool, ExportedEntriesImportAgainAsPresentAndClearAsksFirst) {
    ASSERT_TRUE(AddEntryToCurrentLibrary(L"xxaa", L"甲号"));
    ASSERT_TRUE(AddEntryToCurrentLibrary(L"xxbb", L"乙号"));
    const std::wstring exported = installation_.folder() / L"out.txt";
    {
        test::MessageBoxWatcher boxes;
        RunWithFile(L"导出文件保存为", exported,
                    [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, kExport, 0); });
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_EQ(boxes.Seen()[0].text, test::ShownInfoText(L"词条导出成功！"));
    }
    {
        test::MessageBoxWatcher boxes;
        RunWithFile(L"打开导入文件", exported, [](HWND dialog) {
            ::SendMessageW(dialog, WM_COMMAND, kImport, 0);
            EXPECT_EQ(Rows(dialog), 2);
        });
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_NE(boxes.Seen()[0].text.find(L"已收录2条，\r\n实际导入0条。"), std::wstring::npos);
    }
    {
        test::MessageBoxWatcher no(IDNO);
        DrivenUserDict tool([](HWND dialog) {
            ::SendMessageW(dialog, WM_COMMAND, kDelete, 0); // nothing chosen
            ::SendMessageW(dialog, WM_COMMAND, kClear, 0);
            EXPECT_EQ(Rows(dialog), 2) << "No keeps everything";
        });
        tool.Run();
        ASSERT_EQ(no.Seen().size(), 2u);
        EXPECT_EQ(no.Seen()[0].text, test::ShownInfoText(L"请选择欲删除的词条！"));
        EXPECT_EQ(no.Seen()[1].caption, L"潮汐输入法 提示");
    }
    DrivenUserDict tool([](HWND dialog) {
        LVITEMW select = {};
        select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendDlgItemMessageW(dialog, kList, LVM_SETITEMSTATE, 0,
                              reinterpret_cast<LPARAM>(&select));
        EXPECT_TRUE(Enabled(dialog, kDelete));
        ::SendMessageW(dialog, WM_COMMAND, kDelete, 0);
        EXPECT_EQ(Rows(dialog), 1);
    });
    tool.Run();
    EXPECT_FALSE(Holds(u"xxaa", u"甲号"));
    EXPECT_TRUE(Holds(u"xxbb", u"乙号"));
    test::MessageBoxWatcher yes(IDYES);
    DrivenUserDict clear([](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, kClear, 0);
        EXPECT_EQ(Rows(dialog), 0);
        EXPECT_FALSE(Enabled(dialog, kClear));
    });
    clear.Run();
    EXPECT_FALSE(Holds(u"xxbb", u"乙号"));
}

// The input method, holding the library mapped, sees every change at once.
TEST_F(UserDictTool, TheInputMethodSeesImportsDeletesAndClearingThroughItsMapping) {
    auto peer = test::ImePeerProcess::Start(installation_.folder(),
                                            L"--map-library \"" + installation_.library() + L"\"");
    ASSERT_TRUE(peer);
    ASSERT_EQ(peer->LibraryUsers(), "library users");
    const std::wstring file = TextFile(L"two.txt", "xxaa\t甲号\r\nxxbb\t乙号\r\n");
    test::MessageBoxWatcher boxes(IDYES);
    RunWithFile(L"打开导入文件", file, [&](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, kImport, 0);
        EXPECT_EQ(peer->LibraryUsers(), "library users xxaa=甲号 xxbb=乙号");
        LVITEMW select = {};
        select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendDlgItemMessageW(dialog, kList, LVM_SETITEMSTATE, 0,
                              reinterpret_cast<LPARAM>(&select));
        ::SendMessageW(dialog, WM_COMMAND, kDelete, 0);
        EXPECT_EQ(peer->LibraryUsers(), "library users xxbb=乙号");
        ::SendMessageW(dialog, WM_COMMAND, kClear, 0);
        EXPECT_EQ(peer->LibraryUsers(), "library users");
    });
    peer->Stop();
}

} // namespace
} // namespace tide
