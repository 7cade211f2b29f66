// The settings tool run for real: pages are switched and clicked, commands
// pressed, boxes and file dialogs answered, and what reaches Tide.cfg is
// compared with records laid out from the option table's bit numbers.
#include "tools/settings/ConfigureDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/CodeTableImport.h"

namespace tide {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr int kApply = 266;

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The first-run record, laid out by a script from the format's table alone.
Bytes DefaultRecordBytes() {
    return ReadBytes(L"" TIDE_FIXTURES_DIR L"/config/default-first-run.cfg");
}

// Option bit `bit` of a record's bytes (the 64-bit word at offset 16).
bool BitOf(const Bytes& record, unsigned bit) {
    return (record[16 + bit / 8] >> (bit % 8)) & 1;
}
void SetBit(Bytes& record, unsigned bit, bool set) {
    auto& byte = record[16 + bit / 8];
    byte = static_cast<std::uint8_t>(set ? byte | (1u << (bit % 8)) : byte & ~(1u << (bit % 8)));
}
void Put16(Bytes& record, std::size_t offset, std::uint16_t value) {
    std::memcpy(record.data() + offset, &value, 2);
}

HWND PageControl(HWND dialog, int id) {
    for (HWND page = ::GetWindow(dialog, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT)) {
        if (HWND control = ::GetDlgItem(page, id)) {
            return control;
        }
    }
    return nullptr;
}
void Click(HWND dialog, int id) {
    ::SendMessageW(PageControl(dialog, id), BM_CLICK, 0, 0);
}
bool Checked(HWND dialog, int id) {
    return ::SendMessageW(PageControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
std::wstring Text(HWND control) {
    wchar_t text[128] = {};
    ::GetWindowTextW(control, text, 128);
    return text;
}
void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, id, 0);
}
bool ApplyEnabled(HWND dialog) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, kApply)) != FALSE;
}

class DrivenSettings : public test::DrivenDialog<CConfigureDialog> {
public:
    explicit DrivenSettings(Checks checks) : DrivenDialog(std::move(checks), kResultClose) {}
    INT_PTR Run() { return ShowModal(L"输入法配置", 300, 265, 90); }
};

class SettingsTool : public ::testing::Test {
protected:
    void SetUp() override {
        setupLocation_.emplace(kInstallKeyPath, kInstallValueName, folder_.path());
        installDir_ = folder_ / L"Tide";
        ::CreateDirectoryW(installDir_.c_str(), nullptr);
        ::CreateDirectoryW((installDir_ + L"\\Skin").c_str(), nullptr);
        ASSERT_TRUE(CompileCodeTable((L"" TIDE_SOURCE_DIR L"/data/dict/Tide-sample.txt"),
                                     Config(L"Tide.imc").c_str(), FALSE));
        ASSERT_TRUE(test::WriteFileBytes(Config(L"Skin\\Tide.ims"), "skin"));
        ConfigRecord record = {};
        LoadConfig(record); // the first start writes Tide.cfg
        ASSERT_EQ(ReadBytes(Config(L"Tide.cfg")), DefaultRecordBytes());
    }
    void TearDown() override {
        for (const wchar_t* name : {L"Tide.cfg", L"Tide.imc", L"Skin\\Tide.ims"}) {
            ::DeleteFileW(Config(name).c_str());
        }
        ::RemoveDirectoryW((installDir_ + L"\\Skin").c_str());
        ::RemoveDirectoryW(installDir_.c_str());
    }
    std::wstring Config(const wchar_t* name) const { return installDir_ + L"\\" + name; }
    Bytes SavedRecord() const { return ReadBytes(Config(L"Tide.cfg")); }

    test::ScratchFolder folder_;
    std::optional<test::ScopedUserRegistryValue> setupLocation_;
    std::wstring installDir_;
};

TEST_F(SettingsTool, PagesWidenTheWindowAndCaptionsComeFromTheLibrary) {
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        RECT base = {};
        ::GetWindowRect(dialog, &base);
        auto width = [dialog] {
            RECT now = {};
            ::GetWindowRect(dialog, &now);
            return now.right - now.left;
        };
        Press(dialog, 260);
        EXPECT_EQ(width(), base.right - base.left + 185) << "the soft-keyboard page";
        Press(dialog, 261);
        EXPECT_EQ(width(), base.right - base.left + 100) << "the skin page";
        Press(dialog, 257);
        EXPECT_EQ(width(), base.right - base.left);
        // The sample library's scheme is "全拼示例(仅供试用)", its code length 6.
        EXPECT_EQ(Text(PageControl(dialog, 513)), L"仅供试用拼音混输");
        EXPECT_EQ(Text(PageControl(dialog, 514)), L"仅供试用输入");
        EXPECT_EQ(Text(PageControl(dialog, 523)), L"七码顶字上屏");
        EXPECT_EQ(Text(PageControl(dialog, 526)), L"六码唯一上屏");
        EXPECT_EQ(Text(PageControl(dialog, 529)), L"六码自动清空");
        EXPECT_EQ(Text(PageControl(dialog, 1043)), L"-");
        EXPECT_EQ(Text(PageControl(dialog, 1047)), L"=");
        EXPECT_FALSE(ApplyEnabled(dialog)) << "nothing changed yet";
    });
    EXPECT_EQ(settings.Run(), kResultClose);
}

TEST_F(SettingsTool, ApplyStoresEveryPageAsTheOptionTableSays) {
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        Click(dialog, 514); // bit 0 set
        Click(dialog, 527); // 不上屏: bits 8 and 9 clear
        Click(dialog, 531); // word association, bit 10
        HWND delays = PageControl(dialog, 533);
        ::SendMessageW(delays, CB_SETCURSEL, 3, 0);
        ::SendMessageW(::GetParent(delays), WM_COMMAND, MAKEWPARAM(533, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(delays));
        Click(dialog, 772);  // bit 13
        Click(dialog, 782);  // bottom left: bit 41 clear, 42 set
        Click(dialog, 1026); // comma and period: bit 28 clear, 29 set
        Click(dialog, 1032); // CapsLock: bit 32
        Click(dialog, 1543); // 〖〗: bits 18 and 19 clear
        Click(dialog, 1558); // automatic frequency: bit 44
        EXPECT_TRUE(ApplyEnabled(dialog));
        Press(dialog, kApply);
        EXPECT_FALSE(ApplyEnabled(dialog)) << "saved";
    });
    settings.Run();
    Bytes expected = DefaultRecordBytes();
    SetBit(expected, 0, true);
    SetBit(expected, 8, false);
    SetBit(expected, 9, false);
    SetBit(expected, 10, true);
    Put16(expected, 2, 3); // AssociationDelay: the fourth item
    SetBit(expected, 13, true);
    SetBit(expected, 41, false);
    SetBit(expected, 42, true);
    SetBit(expected, 28, false);
    SetBit(expected, 29, true);
    SetBit(expected, 32, true);
    SetBit(expected, 18, false);
    SetBit(expected, 19, false);
    SetBit(expected, 44, true);
    EXPECT_EQ(SavedRecord(), expected);
    EXPECT_EQ(peer->WaitForLines("notice 1", 1, 10s).size(), 1u) << "the input method hears it";
}

TEST_F(SettingsTool, PairsShowTheirFirstBitAndStoreOnlyIt) {
    Bytes both = DefaultRecordBytes();
    SetBit(both, 8, true);  // 候选唯一上屏 ...
    SetBit(both, 9, true);  // ... and 全码唯一上屏
    SetBit(both, 19, true); // 【】 beside ［］
    ASSERT_TRUE(test::WriteFileBytes(Config(L"Tide.cfg"), std::string(both.begin(), both.end())));
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        EXPECT_TRUE(Checked(dialog, 525));
        EXPECT_FALSE(Checked(dialog, 526));
        EXPECT_TRUE(Checked(dialog, 1541));
        // Unchecking 772 keeps 773's mark; Collect writes the mark.
        Click(dialog, 772);
        Click(dialog, 773);
        Click(dialog, 772);
        EXPECT_FALSE(::IsWindowEnabled(PageControl(dialog, 773)));
        EXPECT_TRUE(Checked(dialog, 773));
        tool.SetModified(true);
        Press(dialog, kApply);
    });
    settings.Run();
    const Bytes saved = SavedRecord();
    EXPECT_TRUE(BitOf(saved, 8));
    EXPECT_FALSE(BitOf(saved, 9));
    EXPECT_TRUE(BitOf(saved, 18));
    EXPECT_FALSE(BitOf(saved, 19));
    EXPECT_FALSE(BitOf(saved, 13));
    EXPECT_TRUE(BitOf(saved, 14));
}

TEST_F(SettingsTool, AFaceOrSizeNotInTheListsIsKept) {
    Bytes record = DefaultRecordBytes();
    const char16_t face[] = u"Face From Elsewhere";
    std::memcpy(record.data() + 24, face, sizeof(face));
    Put16(record, 6, 13); // font size 13 is not in the list
    ASSERT_TRUE(
        test::WriteFileBytes(Config(L"Tide.cfg"), std::string(record.begin(), record.end())));
    DrivenSettings settings([](HWND dialog, CConfigureDialog& tool) {
        EXPECT_EQ(::SendMessageW(PageControl(dialog, 774), CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(::SendMessageW(PageControl(dialog, 776), CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_GT(::SendMessageW(PageControl(dialog, 774), CB_GETCOUNT, 0, 0), 0) << "fonts";
        EXPECT_EQ(::SendMessageW(PageControl(dialog, 777), CB_GETCURSEL, 0, 0), 2) << "5 per page";
        tool.SetModified(true);
        Press(dialog, kApply);
    });
    settings.Run();
    EXPECT_EQ(SavedRecord(), record) << "the face and the size survive a save";
}

TEST_F(SettingsTool, AHotkeyOnTheOtherHotkeysKeyIsRefused) {
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        HWND settingsKey = PageControl(dialog, 1043);
        ::SetWindowTextW(settingsKey, L"=");
        EXPECT_EQ(Text(settingsKey), L"-") << "the stored key is back";
        EXPECT_FALSE(ApplyEnabled(dialog)) << "and nothing counts as changed";
        ::SetWindowTextW(PageControl(dialog, 1047), L"-");
        EXPECT_EQ(Text(PageControl(dialog, 1047)), L"=");
    });
    settings.Run();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"不能与在线造词键相同。");
    EXPECT_EQ(seen[0].caption, L"提示");
    EXPECT_TRUE(seen[0].informationIcon);
    EXPECT_EQ(seen[1].text, L"不能与输入法设置键相同。");
}

TEST_F(SettingsTool, ALetterKeyIsStoredAsItsVirtualKeyInEitherCase) {
    for (const wchar_t* letter : {L"A", L"a"}) {
        DrivenSettings settings([letter](HWND dialog, CConfigureDialog&) {
            ::SetWindowTextW(PageControl(dialog, 1047), letter);
            EXPECT_TRUE(ApplyEnabled(dialog));
            Press(dialog, kApply);
        });
        settings.Run();
        const Bytes saved = SavedRecord();
        EXPECT_EQ(saved[8] | saved[9] << 8, 0x1BD) << "Ctrl + \"-\" stays";
        EXPECT_EQ(saved[10] | saved[11] << 8, 0x141) << letter;
    }
}

TEST_F(SettingsTool, BackupHoldsUnappliedEditsAndKeepsALongerFilesTail) {
    const std::wstring backup = folder_ / L"settings.cbk";
    ASSERT_TRUE(test::WriteFileBytes(backup, std::string(600, 'x')));
    std::atomic<bool> answered{false};
    std::thread answer = test::AnswerFileDialog(L"保存设置备份文件为", backup, answered);
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        Click(dialog, 1559); // automatic word making, bit 45, not applied
        Press(dialog, 264);
    });
    settings.Run();
    answer.join();
    ASSERT_TRUE(answered);
    const Bytes written = ReadBytes(backup);
    ASSERT_EQ(written.size(), 600u);
    Bytes expected = DefaultRecordBytes();
    SetBit(expected, 45, true);
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 476), expected);
    EXPECT_EQ(written[476], 'x');
    EXPECT_EQ(SavedRecord(), DefaultRecordBytes()) << "a backup saves nothing";
}

TEST_F(SettingsTool, RestoreKeepsThisInstallationsLibraryAndSkin) {
    Bytes other = DefaultRecordBytes();
    const char16_t library[] = u"Other.imc";
    std::memcpy(other.data() + 152, library, sizeof(library));
    SetBit(other, 47, false);
    Put16(other, 8, 0x0141); // Ctrl + A for the settings
    const std::wstring backup = folder_ / L"other.cbk";
    ASSERT_TRUE(test::WriteFileBytes(backup, std::string(other.begin(), other.end())));
    const std::wstring shortBackup = folder_ / L"short.cbk";
    ASSERT_TRUE(test::WriteFileBytes(shortBackup, std::string(other.begin(), other.begin() + 100)));

    test::MessageBoxWatcher boxes;
    std::atomic<bool> shortAnswered{false};
    std::thread answerShort =
        test::AnswerFileDialog(L"打开设置备份文件", shortBackup, shortAnswered);
    DrivenSettings refused([](HWND dialog, CConfigureDialog&) {
        Press(dialog, 265);
        EXPECT_FALSE(ApplyEnabled(dialog)) << "nothing restored";
    });
    refused.Run();
    answerShort.join();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"输入法配置文件错误，不能恢复。");

    std::atomic<bool> answered{false};
    std::thread answer = test::AnswerFileDialog(L"打开设置备份文件", backup, answered);
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        Press(dialog, 265);
        EXPECT_TRUE(ApplyEnabled(dialog));
        EXPECT_EQ(Text(PageControl(dialog, 1043)), L"A") << "the edits show the restored keys";
        Press(dialog, kApply);
    });
    settings.Run();
    answer.join();
    Bytes expected = other;
    std::memcpy(expected.data() + 152, DefaultRecordBytes().data() + 152, 64);
    EXPECT_EQ(SavedRecord(), expected);
}

TEST_F(SettingsTool, ABackupOrSaveThatCannotBeWrittenIsReported) {
    const std::wstring backup = folder_ / L"held.cbk";
    ASSERT_TRUE(test::WriteFileBytes(backup, "old"));
    // Another program holds both files: the backup not shared at all, Tide.cfg
    // shared for reading only.
    FileHandle heldBackup(::CreateFileW(backup.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    FileHandle heldConfig(::CreateFileW(Config(L"Tide.cfg").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(heldBackup && heldConfig);
    test::MessageBoxWatcher boxes;
    std::atomic<bool> answered{false};
    std::thread answer = test::AnswerFileDialog(L"保存设置备份文件为", backup, answered);
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        Press(dialog, 264);
        Click(dialog, 1560);
        Press(dialog, kApply);
        EXPECT_FALSE(ApplyEnabled(dialog)) << "the input method has the change";
    });
    settings.Run();
    answer.join();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"设置备份失败，文件无法写入！");
    EXPECT_EQ(seen[0].caption, L"提示");
    EXPECT_TRUE(seen[0].informationIcon);
    EXPECT_NE(seen[1].text.find(L"重新启动后"), std::wstring::npos) << seen[1].text;
}

TEST_F(SettingsTool, DefaultsThenCloseLeaveTheSavedRecordAlone) {
    Bytes changed = DefaultRecordBytes();
    SetBit(changed, 4, false);
    ASSERT_TRUE(
        test::WriteFileBytes(Config(L"Tide.cfg"), std::string(changed.begin(), changed.end())));
    test::MessageBoxWatcher boxes(IDYES);
    DrivenSettings settings([](HWND dialog, CConfigureDialog&) {
        Press(dialog, 263);
        EXPECT_TRUE(Checked(dialog, 519)) << "the default shown";
        EXPECT_TRUE(ApplyEnabled(dialog));
    });
    EXPECT_EQ(settings.Run(), kResultClose);
    EXPECT_EQ(SavedRecord(), changed);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"本操作将会使所有选项恢复到初\r\n始状态，是否继续？");
}

} // namespace
} // namespace tide
