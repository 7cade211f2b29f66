// The entry tool run for real on the sample library: words and codes typed,
// its buttons pressed, its boxes answered and the library read back after.
#include "tools/wordmaking/CustomEntryDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/config/InfoMessageText.h"
#include "support/DrivenDialog.h"
#include "support/MessageBoxWatcher.h"
#include "support/SampleInstallation.h"
#include "ui/Controls.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr int kReset = 257, kNext = 258, kWordEdit = 259, kCodeEdit = 260, kHint = 261;

constexpr wchar_t kDefined[] =
    L"词条定义成功，可重新编辑，或者：\r\n点‘下一条’按钮定义下一条，\r\n"
    L"点‘确定’按钮保存并退出，\r\n点‘退出’按钮放弃并退出。";
constexpr wchar_t kEmptyWord[] = L"词条不能为空，请输入词条。";
constexpr wchar_t kEmptyCode[] = L"编码不能为空，请为词条编码。";
constexpr wchar_t kNotEncoded[] = L"自动编码失败，请为词条编码。";
constexpr wchar_t kExists[] = L"词条已经存在，请重新编辑。";
constexpr wchar_t kStoreFailed[] = L"词条添加失败：当前词库无法写入或已满，请稍后再试。";

class DrivenEntryTool : public test::DrivenDialog<CCustomEntryDialog> {
public:
    explicit DrivenEntryTool(std::function<void(HWND)> checks)
        : DrivenDialog(std::move(checks), kResultCancel) {}
    INT_PTR Run() { return ShowModal(L"添加用户词条", 262, 177, 0); }
};

std::wstring Text(HWND dialog, int id) {
    return WindowText(::GetDlgItem(dialog, id));
}
void Type(HWND dialog, int id, const wchar_t* text) {
    ::SetDlgItemTextW(dialog, id, text);
}
void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, id, 0);
}
bool Shows(HWND dialog, const std::wstring& text) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowText(child) == text) {
            return true;
        }
    }
    return false;
}
// 确定, 下一条 and 重置 as they stand, "1" for enabled.
std::string Buttons(HWND dialog) {
    std::string states;
    for (int id : {IDOK, kNext, kReset}) {
        states += ::IsWindowEnabled(::GetDlgItem(dialog, id)) ? '1' : '0';
    }
    return states;
}

class EntryTool : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installation_.ready()); }

    INT_PTR Run(std::function<void(HWND)> checks) {
        DrivenEntryTool tool(std::move(checks));
        return tool.Run();
    }
    std::vector<std::wstring> Messages() const {
        std::vector<std::wstring> texts;
        for (const auto& seen : watcher_.Seen()) {
            texts.push_back(seen.text);
        }
        return texts;
    }

    test::SampleInstallation installation_;
    test::MessageBoxWatcher watcher_;
};

TEST_F(EntryTool, TheHintAndButtonsFollowWhatIsTyped) {
    Run([](HWND dialog) {
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kWordEdit));
        EXPECT_EQ(Text(dialog, kHint), kEmptyWord);
        EXPECT_EQ(Buttons(dialog), "000") << "nothing to reset yet";

        Type(dialog, kWordEdit, L"的国");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"degu") << "the phrase code";
        EXPECT_EQ(Text(dialog, kHint), kDefined);
        EXPECT_EQ(Buttons(dialog), "111");

        Type(dialog, kWordEdit, L"我们");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"wome");
        EXPECT_EQ(Text(dialog, kHint), kExists);
        EXPECT_EQ(Buttons(dialog), "001");

        // A lone character has no phrase code: the empty code is what shows.
        Type(dialog, kWordEdit, L"国");
        EXPECT_EQ(Text(dialog, kCodeEdit), L"");
        EXPECT_EQ(Text(dialog, kHint), kEmptyCode);
        EXPECT_EQ(Buttons(dialog), "001") << "the word can be reset";
        Type(dialog, kCodeEdit, L"gggg");
        EXPECT_EQ(Text(dialog, kHint), kDefined);
        EXPECT_EQ(Buttons(dialog), "111");

        Type(dialog, kWordEdit, L"祖国"); // 祖 has no code in the sample
        EXPECT_EQ(Text(dialog, kCodeEdit), L"");
        EXPECT_EQ(Text(dialog, kHint), kEmptyCode);

        Type(dialog, kWordEdit, L"");
        Type(dialog, kCodeEdit, L"abc");
        EXPECT_EQ(Text(dialog, kHint), kEmptyWord);
        EXPECT_EQ(Buttons(dialog), "001") << "the code can be reset";
        Press(dialog, kReset);
        EXPECT_EQ(Text(dialog, kCodeEdit), L"");
        EXPECT_EQ(Buttons(dialog), "000");
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kWordEdit));
    });
    EXPECT_TRUE(installation_.UserEntries().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EntryTool, TheCodeEditTakesSmallLettersOnlyAndOnlyAfterAWord) {
    Run([](HWND dialog) {
        HWND code = ::GetDlgItem(dialog, kCodeEdit);
        EXPECT_TRUE(Shows(dialog, L"编码长度不能超过6个码元。"));
        EXPECT_EQ(::SendMessageW(code, EM_GETLIMITTEXT, 0, 0), 6) << "the sample's code length";
        EXPECT_EQ(::SendDlgItemMessageW(dialog, kWordEdit, EM_GETLIMITTEXT, 0, 0), 30);

        ::SetFocus(code);
        ::SendMessageW(code, WM_CHAR, L'a', 0);
        EXPECT_EQ(Text(dialog, kCodeEdit), L"") << "dropped: there is no word yet";
        EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kWordEdit));

        Type(dialog, kWordEdit, L"国");
        ::SetFocus(code);
        for (wchar_t typed : {L'g', L'A', L'1', L' ', L'\x7F', L'国', L'u', L'x'}) {
            ::SendMessageW(code, WM_CHAR, typed, 0);
        }
        EXPECT_EQ(Text(dialog, kCodeEdit), L"gux");
        ::SendMessageW(code, WM_CHAR, VK_BACK, 0);
        EXPECT_EQ(Text(dialog, kCodeEdit), L"gu") << "Backspace passes";
        EXPECT_EQ(Text(dialog, kHint), kDefined);
    });
}

TEST_F(EntryTool, NextStoresAndStartsAgainExitDiscardsOkStoresAndEnds) {
    EXPECT_EQ(Run([](HWND dialog) {
                  Type(dialog, kWordEdit, L"的国");
                  Press(dialog, kNext);
                  EXPECT_EQ(Text(dialog, kWordEdit), L"");
                  EXPECT_EQ(Text(dialog, kCodeEdit), L"");
                  EXPECT_EQ(Text(dialog, kHint), kEmptyWord);
                  EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, kWordEdit));
                  Type(dialog, kWordEdit, L"的国");
                  EXPECT_EQ(Text(dialog, kHint), kExists) << "stored a moment ago";
                  Type(dialog, kWordEdit, L"国");
                  Type(dialog, kCodeEdit, L"gggg");
                  Press(dialog, IDCANCEL); // 退出
              }),
              kResultCancel);
    EXPECT_EQ(installation_.UserEntries(), std::vector<std::wstring>{L"degu=的国"});

    EXPECT_EQ(Run([](HWND dialog) {
                  Type(dialog, kWordEdit, L"我们");
                  Press(dialog, IDOK); // Enter while 确定 is disabled
                  EXPECT_TRUE(::IsWindowVisible(dialog));
                  Type(dialog, kCodeEdit, L"wm");
                  Press(dialog, IDOK);
              }),
              kResultOk);
    EXPECT_EQ(installation_.UserEntries(), (std::vector<std::wstring>{L"degu=的国", L"wm=我们"}));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(EntryTool, HomeStoresAValidEntryOnly) {
    EXPECT_EQ(Run([](HWND dialog) {
                  Type(dialog, kWordEdit, L"我们"); // exists
                  Press(dialog, kHomeButtonId);
              }),
              kResultHome);
    EXPECT_TRUE(installation_.UserEntries().empty());
    EXPECT_EQ(Run([](HWND dialog) {
                  Type(dialog, kWordEdit, L"的国");
                  Press(dialog, kHomeButtonId);
              }),
              kResultHome);
    EXPECT_EQ(installation_.UserEntries(), std::vector<std::wstring>{L"degu=的国"});
}

TEST_F(EntryTool, AStoreThatFailsSaysSoAndKeepsTheEntryOnScreen) {
    const std::wstring library = installation_.library();
    const std::wstring aside = installation_.installDir() + L"\\aside.imc";
    EXPECT_EQ(Run([&](HWND dialog) {
                  Type(dialog, kWordEdit, L"的国");
                  ASSERT_TRUE(::MoveFileW(library.c_str(), aside.c_str()));
                  for (int id : {kNext, static_cast<int>(IDOK), kHomeButtonId}) {
                      Press(dialog, id);
                      EXPECT_TRUE(::IsWindowVisible(dialog)) << id;
                      EXPECT_EQ(Text(dialog, kWordEdit), L"的国") << id;
                      EXPECT_EQ(Text(dialog, kCodeEdit), L"degu") << id;
                  }
                  ASSERT_TRUE(::MoveFileW(aside.c_str(), library.c_str()));
                  Press(dialog, IDOK);
              }),
              kResultOk);
    const std::wstring failed = test::ShownInfoText(kStoreFailed);
    EXPECT_EQ(Messages(), (std::vector<std::wstring>{failed, failed, failed}));
    EXPECT_EQ(installation_.UserEntries(), std::vector<std::wstring>{L"degu=的国"});
}

} // namespace
} // namespace tide
