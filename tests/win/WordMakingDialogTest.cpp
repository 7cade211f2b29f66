// Word-making run for real: the input method's text waits in "TIDE_SSTRING",
// the dialog's keys are pressed and its edits typed into, its message boxes
// answered, and the current library read back after.
#include "tools/wordmaking/OnlineEudeDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ToolTitles.h"
#include "core/config/InfoMessageText.h"
#include "core/contract/ImeContract.h"
#include "core/dict/WordLibrary.h"
#include "support/DrivenDialog.h"
#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/SampleInstallation.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "tools/wordmaking/WordLength.h"
#include "win/FileMapping.h"
#include "win/WideText.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

constexpr int kWordEdit = 259;
constexpr int kCodeEdit = 260;
constexpr int kStatus = 261;
constexpr int kCancelButton = 8;

constexpr wchar_t kValid[] = L"编码正确，可以添加！";
constexpr wchar_t kEmptyWord[] = L"词条不能为空，请输入词条。";
constexpr wchar_t kEmptyCode[] = L"编码不能为空，请为词条编码。";
constexpr wchar_t kNotEncoded[] = L"自动编码失败，请为词条编码。";
constexpr wchar_t kExists[] = L"词条已经存在，请重新编辑。";

std::wstring Text(HWND dialog, int id) {
    wchar_t text[128] = {};
    ::GetDlgItemTextW(dialog, id, text, 128);
    return text;
}
void Type(HWND dialog, int id, const wchar_t* text) {
    ::SetDlgItemTextW(dialog, id, text);
}
void Key(HWND dialog, WPARAM key) {
    ::SendMessageW(::GetDlgItem(dialog, kWordEdit), WM_KEYDOWN, key, 0);
}
void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, id, 0);
}
bool OkEnabled(HWND dialog) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE;
}
// The text the input method leaves for word-making, held while it lives.
class SharedText {
public:
    explicit SharedText(std::u16string_view units) {
        mapping_ = FileMapping::OpenOrCreate(
            ToWide(kWordMakingMappingName).c_str(), INVALID_HANDLE_VALUE, kWordMakingMappingSize,
            FileMapping::Access::ReadWrite, FileMapping::Fit::Exactly);
        if (mapping_) {
            std::memset(mapping_.data(), 0, kWordMakingMappingSize);
            std::memcpy(mapping_.data(), units.data(),
                        std::min(units.size() * 2, kWordMakingMappingSize));
        }
    }
    explicit operator bool() const { return static_cast<bool>(mapping_); }
    const FileMapping& mapping() const { return mapping_; }

private:
    FileMapping mapping_;
};

bool WordMakingMappingExists() {
    KernelHandle mapping(
        ::OpenFileMappingW(FILE_MAP_READ, FALSE, ToWide(kWordMakingMappingName).c_str()));
    return mapping.valid();
}

class WordMakingDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installation_.ready()); }

    INT_PTR Run(std::function<void(HWND)> checks) {
        test::DrivenDialog<COnlineEudeDialog> dialog(std::move(checks), kResultCancel);
        return dialog.ShowModal(kWordMakingTitle);
    }
    std::vector<std::wstring> Messages() const {
        std::vector<std::wstring> texts;
        for (const auto& seen : watcher_.Seen()) {
            EXPECT_EQ(seen.caption, L"潮汐输入法\u3000信息");
            texts.push_back(seen.text);
        }
        return texts;
    }

    test::SampleInstallation installation_;
    test::MessageBoxWatcher watcher_;
};

TEST_F(WordMakingDialog, ProposesTheLastTwoCharactersAndUpAndDownWalkTheText) {
    SharedText shared(u"我们的祖国");
    ASSERT_TRUE(shared);
    const INT_PTR result = Run([](HWND dialog) {
        EXPECT_EQ(Text(dialog, kWordEdit), L"祖国");
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kWordEdit));
        EXPECT_EQ(Text(dialog, kCodeEdit), L"");
        EXPECT_EQ(Text(dialog, kStatus), kNotEncoded) << "祖 has no code in the sample";
        EXPECT_FALSE(OkEnabled(dialog));
        Key(dialog, VK_DOWN);
        EXPECT_EQ(Text(dialog, kWordEdit), L"祖国") << "two characters are the shortest";
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kWordEdit), L"的祖国");
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kWordEdit), L"们的祖国");
        Key(dialog, VK_UP);
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kWordEdit), L"我们的祖国") << "never past the text";
        Key(dialog, VK_DOWN);
        EXPECT_EQ(Text(dialog, kWordEdit), L"们的祖国");
    });
    EXPECT_EQ(result, kResultCancel);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WordMakingDialog, EveryNewLengthIsEncodedAndDownFromALongerTypedWordGivesTheWholeText) {
    SharedText shared(u"我们的国");
    ASSERT_TRUE(shared);
    Run([](HWND dialog) {
        EXPECT_EQ(Text(dialog, kWordEdit), L"的国");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"degu");
        EXPECT_EQ(Text(dialog, kStatus), kValid);
        EXPECT_TRUE(OkEnabled(dialog));
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kCodeEdit), L"mdgu") << "three characters: m d gu";
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kCodeEdit), L"wmdg") << "four: the first three and the last";

        // Typed by hand, longer than the text: Up is ignored, Down stays
        // within the text.
        Type(dialog, kWordEdit, L"我们的国家好");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"wmdh");
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kWordEdit), L"我们的国家好");
        Key(dialog, VK_DOWN);
        EXPECT_EQ(Text(dialog, kWordEdit), L"我们的国");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"wmdg");
        Type(dialog, kWordEdit, L"啊啊啊啊啊啊啊");
        Key(dialog, VK_DOWN);
        EXPECT_EQ(Text(dialog, kWordEdit), L"我们的国");
        // A short word typed by hand: Up takes the end of the text again.
        Type(dialog, kWordEdit, L"爱");
        EXPECT_EQ(Text(dialog, kStatus), kNotEncoded);
        Key(dialog, VK_UP);
        EXPECT_EQ(Text(dialog, kWordEdit), L"的国");
        EXPECT_TRUE(OkEnabled(dialog));
    });
    EXPECT_TRUE(installation_.UserEntries().empty()) << "cancelled: nothing stored";
}

TEST_F(WordMakingDialog, NoMappingAnEmptyOrAOneCharacterTextLeaveTheWordEmpty) {
    ASSERT_FALSE(WordMakingMappingExists());
    for (const std::optional<std::u16string_view> text :
         {std::optional<std::u16string_view>(), std::optional(std::u16string_view(u"")),
          std::optional(std::u16string_view(u"国"))}) {
        std::optional<SharedText> shared;
        if (text) {
            shared.emplace(*text);
        }
        Run([&](HWND dialog) {
            EXPECT_EQ(Text(dialog, kWordEdit), L"");
            EXPECT_EQ(Text(dialog, kStatus), kEmptyWord);
            EXPECT_FALSE(OkEnabled(dialog));
            EXPECT_EQ(WordMakingMappingExists(), text.has_value())
                << "a mapping it created is closed as soon as it was read";
            Key(dialog, VK_UP);
            Key(dialog, VK_DOWN);
            EXPECT_EQ(Text(dialog, kWordEdit), L"");
            // A word typed by hand is not replaced either.
            Type(dialog, kWordEdit, L"我们的国");
            Key(dialog, VK_DOWN);
            EXPECT_EQ(Text(dialog, kWordEdit), L"我们的国");
        });
    }
}

TEST_F(WordMakingDialog, AnExistingWordKeepsOkDisabledAndEnterStoresNothing) {
    SharedText shared(u"爱我们");
    ASSERT_TRUE(shared);
    const INT_PTR result = Run([](HWND dialog) {
        EXPECT_EQ(Text(dialog, kWordEdit), L"我们");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"wome");
        EXPECT_EQ(Text(dialog, kStatus), kExists);
        EXPECT_FALSE(OkEnabled(dialog));
        Press(dialog, IDOK); // what Enter sends, disabled button or not
        EXPECT_TRUE(::IsWindow(dialog));

        Type(dialog, kCodeEdit, L"");
        EXPECT_EQ(Text(dialog, kStatus), kEmptyCode);
        EXPECT_FALSE(OkEnabled(dialog));
        Type(dialog, kCodeEdit, L"wo");
        EXPECT_EQ(Text(dialog, kStatus), kValid) << "another code is a new entry";
        EXPECT_TRUE(OkEnabled(dialog));
        Type(dialog, kWordEdit, L"");
        EXPECT_EQ(Text(dialog, kStatus), kEmptyWord);
        EXPECT_FALSE(OkEnabled(dialog));
        Press(dialog, kCancelButton);
    });
    EXPECT_EQ(result, kResultCancel);
    EXPECT_TRUE(installation_.UserEntries().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(WordMakingDialog, OkStoresAUserEntryThatTheNextWordMakingFinds) {
    SharedText shared(u"我们的国");
    ASSERT_TRUE(shared);
    EXPECT_EQ(Run([](HWND dialog) { Press(dialog, IDOK); }), kResultOk);
    EXPECT_EQ(installation_.UserEntries(), std::vector<std::wstring>{L"degu=的国"});
    Run([](HWND dialog) {
        EXPECT_EQ(Text(dialog, kStatus), kExists);
        EXPECT_FALSE(OkEnabled(dialog));
    });
    EXPECT_TRUE(Messages().empty());
    std::u16string expected(42, u'\0');
    expected.replace(0, 4, u"我们的国");
    EXPECT_EQ(std::memcmp(shared.mapping().data(), expected.data(), kWordMakingMappingSize), 0)
        << "the input method's text is only read";
}

TEST_F(WordMakingDialog, AStoreThatFailsSaysSoAndKeepsTheEntryOnScreen) {
    SharedText shared(u"我们的国");
    ASSERT_TRUE(shared);
    const std::wstring library = installation_.library();
    const std::wstring aside = installation_.installDir() + L"\\aside.imc";
    const INT_PTR result = Run([&](HWND dialog) {
        ASSERT_TRUE(OkEnabled(dialog));
        {
            // A reader that lets nobody write: the library opens read-only.
            FileHandle reader(::CreateFileW(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(reader);
            Press(dialog, IDOK);
        }
        // The library gone between the check and 确定.
        ASSERT_TRUE(::MoveFileW(library.c_str(), aside.c_str()));
        Press(dialog, IDOK);
        ASSERT_TRUE(::MoveFileW(aside.c_str(), library.c_str()));
        EXPECT_EQ(Text(dialog, kWordEdit), L"的国") << "what the user made is still there";
        EXPECT_EQ(Text(dialog, kCodeEdit), L"degu");

        // A code the library cannot index is refused before the store.
        Type(dialog, kCodeEdit, L"DeGu");
        ASSERT_TRUE(OkEnabled(dialog));
        Press(dialog, IDOK);
        Type(dialog, kCodeEdit, L"degu");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, kResultOk);
    const std::wstring failed =
        test::ShownInfoText(L"词条添加失败：当前词库无法写入或已满，请稍后再试。");
    EXPECT_EQ(Messages(), (std::vector<std::wstring>{
                              failed, failed,
                              test::ShownInfoText(L"编码只能由小写字母a～z组成，请修改编码。")}));
    EXPECT_EQ(installation_.UserEntries(), std::vector<std::wstring>{L"degu=的国"});
}

TEST(WordMakingText, ReadsAtMost41UnitsUpToTheFirstZero) {
    {
        std::u16string full(42, u'字'); // no terminator at all
        SharedText shared(full);
        ASSERT_TRUE(shared);
        EXPECT_EQ(ReadWordMakingText(), std::wstring(41, L'字'));
    }
    SharedText shared(std::u16string(u"潮汐\0输入", 5));
    ASSERT_TRUE(shared);
    EXPECT_EQ(ReadWordMakingText(), L"潮汐");
}

TEST(WordMakingLength, UpAndDownNeverSplitASurrogatePair) {
    const std::u16string_view text = u"我𠀀的字"; // 我 D840 DC00 的 字
    EXPECT_EQ(LastUnits(text, ProposedLength(text)), u"的字");
    ASSERT_EQ(LengthAfterUp(text, 2), 4u);
    EXPECT_EQ(LastUnits(text, 4), u"𠀀的字") << "Up takes the pair whole";
    EXPECT_EQ(LengthAfterDown(text, 4), 2u) << "and Down drops it whole";
    EXPECT_EQ(LengthAfterDown(text, 5), 4u);
    EXPECT_EQ(LengthAfterDown(text, 9), 5u) << "a longer typed word: the whole text";

    const std::u16string_view pairFirst = u"𠀀字"; // D840 DC00 字
    EXPECT_EQ(LastUnits(pairFirst, ProposedLength(pairFirst)), u"𠀀字");
    EXPECT_EQ(LengthAfterDown(pairFirst, 3), std::nullopt) << "only 字 would be left";
    EXPECT_EQ(ProposedLength(u"国𠀀"), 2u) << "the pair alone";
}

// The real program, started by the stand-in input method with its text and
// its own mapping of the library: the new entry reaches the input method.
TEST(WordMakingEndToEnd, TheInputMethodsTextBecomesAnEntryItSeesAtOnce) {
    test::SampleInstallation installation;
    ASSERT_TRUE(installation.ready());
    const std::wstring setup = test::BinDirectory() + L"\\TideSetup.exe";
    auto peer = test::ImePeerProcess::Start(
        installation.folder(), L"--map-library \"" + installation.library() +
                                   L"\" --word 我们的国 --start-setup \"" + setup + L"\"");
    ASSERT_TRUE(peer);
    HWND window = test::WaitForWindow(kDialogClassName, kWordMakingTitle, 30s);
    ASSERT_TRUE(window) << testing::PrintToString(peer->Lines());
    for (int i = 0; i < 250 && Text(window, kStatus).empty(); ++i) {
        ::Sleep(20);
    }
    EXPECT_EQ(Text(window, kWordEdit), L"的国");
    EXPECT_EQ(Text(window, kCodeEdit), L"degu");
    EXPECT_EQ(Text(window, kStatus), kValid);

    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    ASSERT_TRUE(process);
    ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(::WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 1u);

    EXPECT_EQ(peer->LibraryUsers(), "library users degu=的国");
    peer->Stop();
}

// The dialog with a proposed word, with "微软雅黑" mapped onto the CJK font
// and without it (the scaled "宋体" template), for people to look at.
TEST(WordMakingScreenshots, BothFontSituations) {
    test::SampleInstallation installation;
    ASSERT_TRUE(installation.ready());
    SharedText shared(u"我们的国");
    ASSERT_TRUE(shared);
    int heights[2] = {};
    for (int fallback = 0; fallback < 2; ++fallback) {
        test::ScopedUserRegistryValue replacement(
            L"Software\\Wine\\Fonts\\Replacements", L"微软雅黑",
            fallback ? std::nullopt : std::optional<std::wstring>(L"WenQuanYi Micro Hei"));
        auto process = test::ChildProcess::Start(test::BinDirectory() + L"\\TideSetup.exe", L"/e");
        ASSERT_TRUE(process);
        HWND window = test::WaitForWindow(kDialogClassName, kWordMakingTitle, 30s);
        ASSERT_TRUE(window);
        for (int i = 0; i < 250 && Text(window, kStatus).empty(); ++i) {
            ::Sleep(20);
        }
        EXPECT_EQ(Text(window, kStatus), kValid);
        ::Sleep(700);
        RECT bounds = {};
        ::GetWindowRect(window, &bounds);
        heights[fallback] = bounds.bottom - bounds.top;
        const std::wstring face = fallback ? L"fallback" : L"preferred";
        EXPECT_TRUE(test::SaveWindowScreenshot(window, test::ScreenshotFolder() + L"\\" + face +
                                                           L"-wordmaking.png"));
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(process->WaitForExit(20s), static_cast<DWORD>(kResultCancel));
    }
    EXPECT_GT(heights[1], heights[0]) << "without 微软雅黑 the template is scaled for 宋体";
}

} // namespace
} // namespace tide
