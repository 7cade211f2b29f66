// The user dictionary tool run for real on the sample library: imports,
// exports, deletes and clears, with its file dialogs and boxes answered.
#include "tools/userdict/UserDictDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/base/Utf.h"
#include "core/config/InfoMessageText.h"
#include "core/dict/PhraseEncoder.h"
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

// Another input method's list: the counts are asked about before anything is
// written, and Yes merges what the library's rules can code.
TEST_F(UserDictTool, AForeignListIsCountedAskedAboutAndMerged) {
    const std::wstring file = installation_.folder() / L"pinyin.txt";
    ASSERT_TRUE(test::WriteFileBytes(file,
                                     "'zhong'guo'ren 中国人 1\n'wo'men 我们 2\n'hao 好 3\n"
                                     "'ce'shi 测试 1\nzhong'guo'ren 中国人 1\n"));
    constexpr wchar_t kQuestion[] =
        L"检测到拼音词表格式，共5个词，可导入1个（单字1个，无法编码1个，"
        L"已收录2个），是否导入？";
    {
        test::MessageBoxWatcher no(IDNO);
        RunWithFile(L"打开导入文件", file,
                    [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, kImport, 0); });
        ASSERT_EQ(no.Seen().size(), 1u);
        EXPECT_EQ(no.Seen()[0].text, kQuestion);
        EXPECT_EQ(no.Seen()[0].caption, L"潮汐输入法 提示");
        EXPECT_FALSE(Holds(u"zgre", u"中国人")) << "No writes nothing";
    }
    test::MessageBoxWatcher yes(IDYES);
    RunWithFile(L"打开导入文件", file, [](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, kImport, 0);
        ASSERT_EQ(Rows(dialog), 1);
        EXPECT_EQ(Cell(dialog, 0, 2), L"中国人");
    });
    ASSERT_EQ(yes.Seen().size(), 2u);
    EXPECT_EQ(yes.Seen()[0].text, kQuestion);
    EXPECT_EQ(yes.Seen()[1].text,
              L"词条导入完成！\r\n\r\n导入文件共有5条词条，\r\n"
              L"系统或用户词库已收录2条，\r\n实际导入1条。");
    EXPECT_TRUE(Holds(u"zgre", u"中国人")) << "coded by the library's rules, not the pinyin";
}

// A cell dictionary is offered by the file dialog and read by its content; one
// cut short is refused whole.
TEST_F(UserDictTool, ACellDictionaryIsReadAndADamagedOneRefused) {
    const std::string scel =
        test::ReadFileBytes(L"" TIDE_SOURCE_DIR L"/tests/fuzz/corpus/wordlist/small.scel");
    const std::size_t deleted = scel.find(std::string("D\0E\0L\0T\0", 8));
    ASSERT_NE(deleted, std::string::npos);
    const std::wstring whole = installation_.folder() / L"words.scel";
    const std::wstring cut = installation_.folder() / L"cut.scel";
    ASSERT_TRUE(test::WriteFileBytes(whole, scel));
    ASSERT_TRUE(test::WriteFileBytes(cut, scel.substr(0, deleted - 3)));
    test::MessageBoxWatcher yes(IDYES);
    for (const std::wstring& file : {whole, cut}) {
        RunWithFile(L"打开导入文件", file,
                    [](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, kImport, 0); });
    }
    const auto seen = yes.Seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text,
              L"检测到搜狗细胞词库格式，共3个词，可导入0个（单字0个，无法编码1个，"
              L"已收录2个），是否导入？");
    EXPECT_EQ(seen[2].text, test::ShownInfoText(L"导入文件已损坏，不能导入词条！"));
}

// A cell dictionary of the size the large shared ones have goes through the
// dialog whole: 102,000 words, of which 100,000 new ones made of the sample
// library's characters, and the others passed over for each reason.
TEST_F(UserDictTool, ARealSizeCellDictionaryIsCountedAndMergedWhole) {
    constexpr std::size_t kNew = 100000, kRepeated = 1000, kSingle = 500, kUncoded = 500;
    constexpr char16_t kUncodedCharacter = u'\u9F98';
    std::vector<char16_t> characters;
    std::set<std::u16string> held;
    {
        const auto library = OpenLibrary(CurrentLibraryPath().c_str(), true);
        ASSERT_TRUE(library);
        const auto view = library->library().view();
        ASSERT_TRUE(view);
        view->ForEachEntry([&](const LibraryEntry& entry) {
            held.emplace(entry.word);
            if (entry.word.size() == 1 &&
                !library->library().LookupCharCode(entry.word[0]).empty()) {
                characters.push_back(entry.word[0]);
            }
        });
        ASSERT_TRUE(library->library().LookupCharCode(kUncodedCharacter).empty());
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    ASSERT_GT(characters.size(), 300u);

    std::mt19937 random(20261210);
    std::set<std::u16string> made;
    std::vector<std::u16string> words;
    while (made.size() < kNew) {
        std::u16string word(2 + random() % 3, u'\0');
        for (char16_t& unit : word) {
            unit = characters[random() % characters.size()];
        }
        if (!held.contains(word) && made.insert(word).second) {
            words.push_back(word);
        }
    }
    for (std::size_t i = 0; i < kRepeated; ++i) {
        words.push_back(words[i * 37]);
    }
    for (std::size_t i = 0; i < kSingle; ++i) {
        words.emplace_back(1, characters[i % characters.size()]);
    }
    for (std::size_t i = 0; i < kUncoded; ++i) {
        words.push_back(std::u16string(1, characters[i % characters.size()]) + kUncodedCharacter);
    }
    std::shuffle(words.begin() + kNew, words.end(), random);

    // The header and pinyin table of the small sample, then a group a word.
    const std::string sample =
        test::ReadFileBytes(L"" TIDE_SOURCE_DIR L"/tests/fuzz/corpus/wordlist/small.scel");
    constexpr std::size_t kGroups = 0x2628;
    ASSERT_GT(sample.size(), kGroups);
    std::string scel = sample.substr(0, kGroups);
    const auto put = [&scel](std::size_t value) {
        scel += static_cast<char>(value & 0xFF);
        scel += static_cast<char>(value >> 8);
    };
    for (const std::u16string& word : words) {
        put(1); // one word
        put(2); // of one syllable, the table's first
        put(0);
        put(2 * word.size());
        for (const char16_t unit : word) {
            put(unit);
        }
        put(10); // the extension: a frequency and padding
        scel.append(10, '\0');
    }
    const std::wstring file = installation_.folder() / L"large.scel";
    ASSERT_TRUE(test::WriteFileBytes(file, scel));

    test::MessageBoxWatcher yes(IDYES);
    const auto start = std::chrono::steady_clock::now();
    RunWithFile(L"打开导入文件", file, [](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, kImport, 0);
        EXPECT_EQ(Rows(dialog), static_cast<int>(kNew));
    });
    std::printf("a dialog import of %zu words took %.1f s\n", words.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    const auto seen = yes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text,
              L"检测到搜狗细胞词库格式，共102000个词，可导入100000个（单字500个，"
              L"无法编码500个，已收录1000个），是否导入？");
    EXPECT_EQ(seen[1].text,
              L"词条导入完成！\r\n\r\n导入文件共有102000条词条，\r\n"
              L"系统或用户词库已收录1000条，\r\n实际导入100000条。");
    const auto library = OpenLibrary(CurrentLibraryPath().c_str(), true);
    ASSERT_TRUE(library);
    const auto view = library->library().view();
    ASSERT_TRUE(view);
    for (std::size_t i = 0; i < kNew; i += 997) {
        EXPECT_TRUE(library->library().ContainsEntry(EncodePhrase(*view, words[i]), words[i]))
            << "word " << i;
    }
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
