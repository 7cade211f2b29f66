// The skin page of the settings run for real on an installation with real
// skins: listing, switching, importing, exporting and removing, with their
// file dialogs and boxes answered, the record read back after, and the
// stand-in input method hearing every change.
#include "tools/settings/ConfigureDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include "core/base/FixedText.h"
#include "core/config/InfoMessageText.h"
#include "core/contract/ImeContract.h"
#include "core/skin/SkinFormat.h"
#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "ui/Controls.h"
#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/InstalledFiles.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/skin/SkinFile.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

constexpr int kSkinPageButton = 261;
constexpr int kList = 1281, kImport = 1282, kExport = 1283, kRemove = 1284;
const std::wstring kDefaultSkin = L"" TIDE_SOURCE_DIR "/data/Skin/Tide.ims";

class DrivenSettings : public test::DrivenDialog<CConfigureDialog> {
public:
    explicit DrivenSettings(std::function<void(HWND)> checks)
        : DrivenDialog(
              [checks = std::move(checks)](HWND dialog) {
                  ::SendMessageW(dialog, WM_COMMAND, kSkinPageButton, 0);
                  checks(dialog);
              },
              kResultClose) {}
    INT_PTR Run() { return ShowModal(L"输入法配置", 300, 265, 90); }
};

HWND Control(HWND dialog, int id) {
    return test::FindDescendant(dialog, id);
}
void Press(HWND dialog, int id) {
    ::SendMessageW(Control(dialog, id), BM_CLICK, 0, 0);
}
std::vector<std::wstring> Entries(HWND dialog) {
    std::vector<std::wstring> entries;
    HWND list = Control(dialog, kList);
    const auto count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}
int Selected(HWND dialog) {
    return static_cast<int>(::SendMessageW(Control(dialog, kList), CB_GETCURSEL, 0, 0));
}
void Choose(HWND dialog, int index) {
    HWND list = Control(dialog, kList);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(kList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}
// An installation whose Skin folder holds the default skin as Tide.ims and a
// copy of it renamed "蓝色" as Blue.ims.
class SkinPage : public ::testing::Test {
protected:
    void SetUp() override {
        setupLocation_.emplace(kInstallKeyPath, kInstallValueName, folder_.path());
        ::CreateDirectoryW(installDir().c_str(), nullptr);
        ::CreateDirectoryW(skinDir().c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW(kDefaultSkin.c_str(), Skin(L"Tide.ims").c_str(), FALSE));
        SkinFile blue;
        ASSERT_TRUE(blue.Load(kDefaultSkin.c_str()));
        blue.Unmap();
        ASSERT_TRUE(SetSkinText(blue.record().name, u"蓝色"));
        ASSERT_TRUE(blue.Save(Skin(L"Blue.ims").c_str()));
        blue.Close();
        ConfigRecord record = {};
        LoadConfig(record);
        SetFixedText(record.SkinFileName, u"Tide.ims");
        ASSERT_NE(SaveConfig(record), kSaveFailed);
    }
    std::wstring installDir() const { return folder_ / L"Tide"; }
    std::wstring skinDir() const { return installDir() + L"\\Skin"; }
    std::wstring Skin(const wchar_t* name) const { return skinDir() + L"\\" + name; }
    std::u16string CurrentSkin() const {
        ConfigRecord record = {};
        LoadConfig(record);
        return std::u16string(FixedText(record.SkinFileName));
    }
    std::vector<std::wstring> SkinFiles() const {
        return ListInstalledFiles(L"Skin\\*.ims", L".ims");
    }

    test::ScratchFolder folder_;
    std::optional<test::ScopedUserRegistryValue> setupLocation_;
};

TEST_F(SkinPage, ListsSkinsByNameAndSwitchingIsSavedAndAnnouncedAtOnce) {
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    DrivenSettings settings([&](HWND dialog) {
        const auto entries = Entries(dialog);
        ASSERT_EQ(entries.size(), 2u);
        const int blue = entries[0] == L"蓝色" ? 0 : 1;
        EXPECT_EQ(entries[1 - blue], L"潮汐默认");
        EXPECT_EQ(Selected(dialog), 1 - blue) << "the record's skin is selected";
        Choose(dialog, blue);
        EXPECT_EQ(CurrentSkin(), u"Blue.ims") << "saved without 应用";
        EXPECT_FALSE(::IsWindowEnabled(Control(dialog, 266))) << "nothing left to apply";
    });
    settings.Run();
    const auto notices = peer->WaitForLines("notice", 2, 10s);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].rfind("notice 1 ", 0), 0u) << notices[0];
    EXPECT_EQ(notices[1], "notice 3 skin=Blue.ims mapped=1 name=蓝色")
        << "the input method maps the new skin by its name";
    peer->Stop();
}

TEST_F(SkinPage, ImportingTheSameSkinTwiceGivesTwoFilesUnderOneName) {
    test::MessageBoxWatcher boxes;
    for (int round = 0; round < 2; ++round) {
        std::atomic<bool> answered{false};
        std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", Skin(L"Blue.ims"), answered);
        DrivenSettings settings([](HWND dialog) { Press(dialog, kImport); });
        settings.Run();
        answer.join();
        EXPECT_TRUE(answered);
    }
    const auto files = SkinFiles();
    ASSERT_EQ(files.size(), 4u);
    const std::u16string current = CurrentSkin();
    EXPECT_EQ(current.substr(0, 4), u"Tide") << "Tide and four digits";
    EXPECT_EQ(current.size(), 12u);
    DrivenSettings check([](HWND dialog) {
        const auto entries = Entries(dialog);
        EXPECT_EQ(std::count(entries.begin(), entries.end(), L"蓝色"), 3);
    });
    check.Run();
    EXPECT_TRUE(boxes.Seen().empty());

    // A skin that is not complete is refused and nothing changes.
    const std::wstring incomplete = folder_ / L"incomplete.ims";
    ASSERT_TRUE(test::WriteFileBytes(incomplete, std::string(1068, '\0')));
    std::atomic<bool> answered{false};
    std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", incomplete, answered);
    DrivenSettings refused([](HWND dialog) { Press(dialog, kImport); });
    refused.Run();
    answer.join();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"该皮肤文件资源不完整，不能导入！");
    EXPECT_EQ(SkinFiles().size(), 4u);
    EXPECT_EQ(CurrentSkin(), current);
}

TEST_F(SkinPage, RemovingWrapsToTheFirstAndTheLastSkinStays) {
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog) {
        Choose(dialog, 1); // the last entry
        const std::wstring last = Entries(dialog)[1];
        Press(dialog, kRemove);
        ASSERT_EQ(Entries(dialog).size(), 1u);
        EXPECT_NE(Entries(dialog)[0], last);
        EXPECT_EQ(Selected(dialog), 0) << "the first entry became current";
        Press(dialog, kRemove);
        EXPECT_EQ(Entries(dialog).size(), 1u);
    });
    settings.Run();
    EXPECT_EQ(SkinFiles().size(), 1u);
    EXPECT_EQ(std::u16string(AsU16(SkinFiles()[0])), CurrentSkin());
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, test::ShownInfoText(L"皮肤移除成功，祝您使用愉快！"));
    EXPECT_EQ(seen[1].text, test::ShownInfoText(L"皮肤唯一，不得移除！"));
}

// The chosen file is what is checked, not the installed skin of its name
// (which the page's preview keeps mapped).
TEST_F(SkinPage, AnIncompleteSkinNamedLikeTheCurrentOneIsRefused) {
    const std::wstring elsewhere = folder_ / L"elsewhere";
    ::CreateDirectoryW(elsewhere.c_str(), nullptr);
    const std::wstring incomplete = elsewhere + L"\\Tide.ims";
    ASSERT_TRUE(test::WriteFileBytes(incomplete, std::string(1068, '\0')));
    test::MessageBoxWatcher boxes;
    std::atomic<bool> answered{false};
    std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", incomplete, answered);
    DrivenSettings settings([](HWND dialog) { Press(dialog, kImport); });
    settings.Run();
    answer.join();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, L"该皮肤文件资源不完整，不能导入！");
    EXPECT_EQ(SkinFiles().size(), 2u);
    EXPECT_EQ(CurrentSkin(), u"Tide.ims");
}

// A record that cannot reach the input method (its mapping's name is taken by
// another kind of object) leaves the skin as it was: no file is deleted,
// nothing is announced.
TEST_F(SkinPage, ASwitchOrRemovalThatCannotBeSavedChangesNothing) {
    KernelHandle taken(::CreateEventW(nullptr, TRUE, FALSE, ToWide(kConfigMappingName).c_str()));
    ASSERT_TRUE(taken);
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog) {
        const int before = Selected(dialog);
        Choose(dialog, 1 - before);
        EXPECT_EQ(Selected(dialog), before) << "the list shows what is current";
        Press(dialog, kRemove);
        EXPECT_EQ(Entries(dialog).size(), 2u);
    });
    settings.Run();
    EXPECT_EQ(SkinFiles().size(), 2u) << "nothing deleted";
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"设置保存失败，输入法未能读取新的设置。");
    EXPECT_EQ(seen[1].text, L"设置保存失败，输入法未能读取新的设置。");
}

// Written to the mapping but not to the file: said so, and the switch holds.
TEST_F(SkinPage, ASwitchSavedForThisSessionOnlyIsSaidSo) {
    FileHandle heldConfig(::CreateFileW((installDir() + L"\\Tide.cfg").c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(heldConfig);
    test::MessageBoxWatcher boxes;
    DrivenSettings settings([](HWND dialog) {
        const int before = Selected(dialog);
        Choose(dialog, 1 - before);
        EXPECT_EQ(Selected(dialog), 1 - before);
    });
    settings.Run();
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"重新启动后"), std::wstring::npos) << seen[0].text;
}

TEST_F(SkinPage, ExportAsksBeforeOverwritingAndSaysWhenItCannotWrite) {
    const std::wstring target = folder_ / L"out.ims";
    ASSERT_TRUE(test::WriteFileBytes(target, "old"));
    test::MessageBoxWatcher boxes(IDYES);
    {
        std::atomic<bool> answered{false};
        std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", target, answered);
        DrivenSettings settings([](HWND dialog) { Press(dialog, kExport); });
        settings.Run();
        answer.join();
    }
    SkinRecord record = {};
    ASSERT_TRUE(ReadSkinRecord(target.c_str(), record)) << "the current skin was copied";
    {
        FileHandle holder(::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        std::atomic<bool> answered{false};
        std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", target, answered);
        DrivenSettings settings([](HWND dialog) { Press(dialog, kExport); });
        settings.Run();
        answer.join();
    }
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].text, L"存在同名文件，是否覆盖？");
    EXPECT_EQ(seen[1].text, test::ShownInfoText(L"皮肤导出成功，祝您使用愉快！"));
    EXPECT_EQ(seen[3].text, test::ShownInfoText(L"皮肤导出失败，文件无法写入！"));
}

TEST_F(SkinPage, ASkinWhoseRecordCannotBeReadIsListedByItsFileName) {
    ASSERT_TRUE(test::WriteFileBytes(Skin(L"Broken.ims"), "not a skin"));
    DrivenSettings settings([](HWND dialog) {
        const auto entries = Entries(dialog);
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(std::count(entries.begin(), entries.end(), L"Broken.ims"), 1);
    });
    settings.Run();
}

} // namespace
} // namespace tide
