// The soft keyboard page run for real: its defaults, the keyboard's keys
// clicked and defined, the user layout cleared, exported and imported, and
// the hotkey checked against the other two.
#include "tools/settings/ConfigureDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

#include "core/config/ConfigRecord.h"
#include "core/config/SoftKeyboardFile.h"
#include "core/config/SoftKeyboardGeometry.h"
#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/MessageBoxWatcher.h"
#include "support/SampleInstallation.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "ui/Controls.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

constexpr int kImport = 256, kExport = 257, kClear = 258, kHotkeyEdit = 262, kLayouts = 263;
constexpr int kApply = 266;

class DrivenSettings : public test::DrivenDialog<CConfigureDialog> {
public:
    explicit DrivenSettings(std::function<void(HWND, CConfigureDialog&)> checks)
        : DrivenDialog(
              [checks = std::move(checks)](HWND dialog, CConfigureDialog& tool) {
                  ::SendMessageW(dialog, WM_COMMAND, 260, 0); // "软键设置"
                  checks(dialog, tool);
              },
              kResultClose) {}
    INT_PTR Run() { return ShowModal(L"输入法配置", 300, 265, 90); }
};

// The page's controls share ids with the dialog's buttons: look in the page.
HWND Page(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        HWND hotkey = test::FindDescendant(child, 259);
        if (hotkey && WindowText(hotkey) == L"软键盘开关：") {
            return child;
        }
    }
    return nullptr;
}
HWND Control(HWND dialog, int id) {
    return id == kApply ? ::GetDlgItem(dialog, kApply) : test::FindDescendant(Page(dialog), id);
}
void Press(HWND dialog, int id) {
    ::SendMessageW(Control(dialog, id), BM_CLICK, 0, 0);
}
int LayoutCount(HWND dialog) {
    return static_cast<int>(::SendMessageW(Control(dialog, kLayouts), CB_GETCOUNT, 0, 0));
}
bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(Control(dialog, id)) != FALSE;
}

// The keyboard window and where its picture stands in it.
struct Keyboard {
    HWND window = nullptr;
    int originX = 0, originY = 0;
};
Keyboard FindKeyboard(HWND dialog) {
    Keyboard keyboard;
    HWND page = Page(dialog);
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (std::wstring(name) == L"#32770") {
            keyboard.window = child;
        }
    }
    RECT client = {};
    ::GetClientRect(keyboard.window, &client);
    keyboard.originX = std::max<int>(0, (client.right - kKeyboardPictureWidth) / 2);
    keyboard.originY = std::max<int>(0, (client.bottom - kKeyboardPictureHeight) / 2);
    return keyboard;
}
void ClickAt(const Keyboard& keyboard, int x, int y) {
    ::SendMessageW(keyboard.window, WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(keyboard.originX + x, keyboard.originY + y));
}
void ClickKey(const Keyboard& keyboard, char16_t key) {
    for (const KeyCap& cap : kKeyCaps) {
        if (cap.key == key) {
            const PixelRect square = KeyCapSquare(cap, 0, 0);
            ClickAt(keyboard, square.left + 10, square.top + 10);
        }
    }
}

// Answers the next "定义软键字符" with a plain and a shifted character.
std::thread AnswerDefine(std::wstring plain, std::wstring shifted, std::atomic<bool>& seen) {
    return std::thread([plain = std::move(plain), shifted = std::move(shifted), &seen] {
        HWND define = test::WaitForWindow(L"#32770", L"定义软键字符", 5s);
        if (!define) {
            return;
        }
        seen = true;
        ::SetDlgItemTextW(define, 257, plain.c_str());
        ::SetDlgItemTextW(define, 258, shifted.c_str());
        ::PostMessageW(define, WM_COMMAND, IDOK, 0);
    });
}

std::u16string ReadUtf16(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

class SoftKeyboardPage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installation_.ready()); }
    test::SampleInstallation installation_;
};

TEST_F(SoftKeyboardPage, DefaultsExportAndImportBack) {
    const std::wstring file = installation_.folder() / L"keys.txt";
    std::atomic<bool> exported{false}, imported{false};
    test::MessageBoxWatcher boxes;
    std::array<char16_t, kUserSymbolUnits> before{};
    DrivenSettings settings([&](HWND dialog, CConfigureDialog& tool) {
        EXPECT_EQ(LayoutCount(dialog), 14) << "the default user layout is defined";
        EXPECT_EQ(::SendMessageW(Control(dialog, kLayouts), CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"\\");
        EXPECT_TRUE(Enabled(dialog, kExport));
        std::copy(std::begin(tool.record().UserSymbols), std::end(tool.record().UserSymbols),
                  before.begin());
        {
            std::thread answer = test::AnswerFileDialog(L"导出文件保存为", file, exported);
            Press(dialog, kExport);
            answer.join();
        }
        {
            std::fill(std::begin(tool.record().UserSymbols), std::end(tool.record().UserSymbols),
                      u'x');
            std::thread answer = test::AnswerFileDialog(L"打开导入文件", file, imported);
            Press(dialog, kImport);
            answer.join();
        }
        EXPECT_TRUE(Enabled(dialog, kApply)) << "an import is a change to apply";
        const char16_t* units = tool.record().UserSymbols;
        for (std::size_t i = 0; i < kUserSymbolUnits; ++i) {
            const bool space = i == 0 || i == kSymbolKeyCount;
            const char16_t expected = space                            ? kIdeographicSpace
                                      : before[i] == kIdeographicSpace ? u'\0'
                                                                       : before[i];
            EXPECT_EQ(units[i], expected) << i;
        }
    });
    settings.Run();
    EXPECT_TRUE(exported && imported);
    EXPECT_TRUE(boxes.Seen().empty());
    const std::u16string text = ReadUtf16(file);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text[0], u'\uFEFF') << "a new file is Unicode, so ⑩ and ∮ survive";
    EXPECT_NE(text.find(u"Key_0=Ⅹ"), std::u16string::npos);
    // "0" exactly for the keys whose default is U+3000.
    const std::size_t shifted = text.find(u"[SHIFTKEYS]");
    ASSERT_NE(shifted, std::u16string::npos);
    EXPECT_NE(text.find(u"Key_Plus=0"), std::u16string::npos);
    EXPECT_LT(text.find(u"Key_Plus=0"), shifted) << "= plain";
    EXPECT_NE(text.find(u"Key_Plus=0", shifted), std::u16string::npos) << "= shifted";
    EXPECT_NE(text.find(u"Key_F=0", shifted), std::u16string::npos);
    EXPECT_NE(text.find(u"Key_BSlash=0", shifted), std::u16string::npos);
}

TEST_F(SoftKeyboardPage, AFileWithoutKeySectionsIsRefusedAndChangesNothing) {
    const std::wstring file = installation_.folder() / L"notes.txt";
    ASSERT_TRUE(test::WriteFileBytes(file, "[NOTES]\r\nKey_A=x\r\n"));
    std::atomic<bool> answered{false};
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([&](HWND dialog, CConfigureDialog& tool) {
        const std::u16string before(std::begin(tool.record().UserSymbols),
                                    std::end(tool.record().UserSymbols));
        std::thread answer = test::AnswerFileDialog(L"打开导入文件", file, answered);
        Press(dialog, kImport);
        answer.join();
        EXPECT_EQ(std::u16string(std::begin(tool.record().UserSymbols),
                                 std::end(tool.record().UserSymbols)),
                  before);
        EXPECT_FALSE(tool.modified());
        EXPECT_EQ(LayoutCount(dialog), 14) << "用户符号 is still there";
    });
    settings.Run();
    EXPECT_TRUE(answered);
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, test::ShownInfoText(L"导入文件不是软键盘文件，软键盘导入失败！"));
}

TEST_F(SoftKeyboardPage, ClearDropsTheUserLayoutAndDefiningAKeyBringsItBack) {
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        ::SendMessageW(Control(dialog, kLayouts), CB_SETCURSEL, 13, 0);
        ::SendMessageW(::GetParent(Control(dialog, kLayouts)), WM_COMMAND,
                       MAKEWPARAM(kLayouts, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Control(dialog, kLayouts)));
        Press(dialog, kApply);
        ASSERT_EQ(tool.record().SoftKeyboardLayout, 13);
        Press(dialog, kClear);
        EXPECT_EQ(tool.record().SoftKeyboardLayout, 0) << "PC键盘 is the default again";
        EXPECT_EQ(LayoutCount(dialog), 13);
        EXPECT_FALSE(Enabled(dialog, kExport));
        EXPECT_FALSE(Enabled(dialog, kClear));

        const Keyboard keyboard = FindKeyboard(dialog);
        ASSERT_TRUE(keyboard.window);
        // Space, Tab, Enter and Shift have no cap: nothing opens.
        std::atomic<bool> opened{false};
        std::thread none = AnswerDefine(L"甲", L"乙", opened);
        ClickAt(keyboard, 200, 2 + 4 * kKeyRowPitch + 10); // Space
        ClickAt(keyboard, 20, 2 + kKeyRowPitch + 10);      // Tab
        ClickAt(keyboard, 455, 2 + 2 * kKeyRowPitch + 10); // Enter
        ClickAt(keyboard, 30, 2 + 3 * kKeyRowPitch + 10);  // Shift
        none.join();
        EXPECT_FALSE(opened);

        std::atomic<bool> defined{false};
        std::thread answer = AnswerDefine(L"甲", L"乙", defined);
        ClickKey(keyboard, u'q');
        answer.join();
        ASSERT_TRUE(defined);
        const auto index = *SymbolIndexForCap(u'q');

        EXPECT_EQ(tool.record().UserSymbols[index], u'甲');
        EXPECT_EQ(tool.record().UserSymbols[kSymbolKeyCount + index], u'乙');
        EXPECT_EQ(tool.record().UserSymbols[0], kIdeographicSpace) << "the layout is defined";
        EXPECT_EQ(LayoutCount(dialog), 14) << "用户符号 is listed at once";
        EXPECT_TRUE(Enabled(dialog, kExport));
        EXPECT_TRUE(Enabled(dialog, kApply));
        test::PumpMessagesFor(200ms);
        EXPECT_TRUE(test::SaveWindowScreenshot(dialog, test::ScreenshotFolder() +
                                                           L"\\soft-keyboard-defined.png"));
    });
    settings.Run();
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(SoftKeyboardPage, AHotkeyOnTheOtherHotkeysKeyIsRefusedAndTheMarkStays) {
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        EXPECT_FALSE(tool.modified());
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"-"); // the settings hotkey's key
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"\\") << "the stored key is back";
        EXPECT_FALSE(tool.modified()) << "as it was before";
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"=");
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"\\");
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"k");
        EXPECT_TRUE(tool.modified());
        Press(dialog, kApply);
        EXPECT_EQ(tool.record().SoftKeyboardHotkey & 0xFF, 'K');
    });
    settings.Run();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"不能与输入法设置键相同。");
    EXPECT_EQ(seen[1].text, L"不能与在线造词键相同。");
}

// What counts is the other hotkeys as the user sees them: a settings key
// changed on the keys page and not yet applied.
TEST_F(SoftKeyboardPage, AHotkeyIsCheckedAgainstTheKeysAsTheKeysPageShowsThem) {
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        ::SetWindowTextW(test::FindDescendant(dialog, 1043), L"q"); // the settings hotkey
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"q");
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"\\") << "refused: Q is taken";
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"-");
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"-") << "the old settings key is free";
        Press(dialog, kApply);
        EXPECT_EQ(tool.record().SettingsHotkey & 0xFF, 'Q');
        EXPECT_EQ(tool.record().SoftKeyboardHotkey & 0xFF, ::VkKeyScanW(L'-') & 0xFF);
    });
    settings.Run();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"不能与输入法设置键相同。");
}

// Restoring the defaults comes in through Fill: the list, the key and the
// keyboard show the default layout again.
TEST_F(SoftKeyboardPage, RestoredDefaultsShowOnThePage) {
    test::MessageBoxWatcher yes(IDYES);
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        Press(dialog, kClear);
        ::SetWindowTextW(Control(dialog, kHotkeyEdit), L"k");
        ASSERT_EQ(LayoutCount(dialog), 13);
        ::SendMessageW(dialog, WM_COMMAND, 263, 0); // 恢复默认设置
        EXPECT_EQ(LayoutCount(dialog), 14);
        EXPECT_EQ(WindowText(Control(dialog, kHotkeyEdit)), L"\\");
        EXPECT_TRUE(Enabled(dialog, kExport));
        EXPECT_NE(tool.record().UserSymbols[0], u'\0');
    });
    settings.Run();
    ASSERT_EQ(yes.Seen().size(), 1u) << "the question of restoring";
}

} // namespace
} // namespace tide
