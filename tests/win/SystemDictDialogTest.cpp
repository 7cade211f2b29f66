// The system dictionary tool run for real: its commands are pressed, its file
// dialogs and message boxes answered, and the installation checked after.
#include "tools/systemdict/SystemDictDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include "core/base/Utf.h"
#include "core/config/ConfigRecord.h"
#include "core/config/InfoMessageText.h"
#include "core/dict/LibraryView.h"
#include "core/dict/PackagedDictionary.h"
#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/ImePeerProcess.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/CodeTableImport.h"

namespace tide {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr int kImportId = 256;
constexpr int kExportId = 257;
constexpr int kAddId = 258;
constexpr int kRemoveId = 259;
constexpr int kComboId = 278;

// A path as a user would type it: backslashes, no doubled separators.
std::wstring WindowsPath(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    for (std::size_t at; (at = path.find(L"\\\\", 2)) != std::wstring::npos;) {
        path.erase(at, 1);
    }
    return path;
}

const std::wstring kSampleTable = WindowsPath(L"" TIDE_SOURCE_DIR "/data/dict/Tide-sample.txt");
const std::wstring kSmallTable = WindowsPath(L"" TIDE_FIXTURES_DIR "/dict/small.txt");
const std::wstring kSmallLibrary = WindowsPath(L"" TIDE_FIXTURES_DIR "/dict/small.imc");

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// (code, word, weight) of every record, in walk order.
using Entries = std::vector<std::tuple<std::u16string, std::u16string, std::uint32_t>>;
Entries EntriesOf(const std::wstring& libraryPath) {
    const Bytes bytes = ReadBytes(libraryPath);
    Entries entries;
    if (const auto library = LibraryView::Open(bytes)) {
        library->ForEachEntry([&](const LibraryEntry& e) {
            entries.emplace_back(std::u16string(e.code), std::u16string(e.word), e.weight);
        });
    }
    return entries;
}

std::wstring ControlText(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

// The tool with its checks run once it is up; it ends after them.
class SystemDictTool : public ::testing::Test {
protected:
    void SetUp() override {
        setupLocation_.emplace(kInstallKeyPath, kInstallValueName, folder_.path());
        installDir_ = folder_ / L"Tide";
        ::CreateDirectoryW(installDir_.c_str(), nullptr);
    }

    std::wstring InInstallDir(const std::wstring& name) const { return installDir_ + L"\\" + name; }
    void AddSampleLibrary(const std::wstring& name) {
        ASSERT_TRUE(CompileCodeTable(kSampleTable.c_str(), InInstallDir(name).c_str(), FALSE));
    }
    void AddSmallLibrary(const std::wstring& name) {
        ASSERT_TRUE(::CopyFileW(kSmallLibrary.c_str(), InInstallDir(name).c_str(), FALSE));
    }
    std::wstring CurrentLibraryName() {
        ConfigRecord record = {};
        const Bytes bytes = ReadBytes(InInstallDir(L"Tide.cfg"));
        if (bytes.size() < kConfigRecordSize) {
            return {};
        }
        std::memcpy(&record, bytes.data(), kConfigRecordSize);
        return ToWide(FixedText(record.DictionaryFileName));
    }
    std::vector<std::wstring> Libraries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        FindHandle search(::FindFirstFileW(InInstallDir(L"*.imc").c_str(), &found));
        for (bool more = search.valid(); more; more = ::FindNextFileW(search.get(), &found)) {
            names.emplace_back(found.cFileName);
        }
        return names;
    }
    void Run(std::function<void(HWND)> checks) {
        test::DrivenDialog<CSystemDictDialog> dialog(std::move(checks));
        EXPECT_EQ(dialog.ShowModal(L"系统词库管理", 262, 180, 78), kResultOk);
    }
    std::vector<std::wstring> Messages() const {
        std::vector<std::wstring> texts;
        for (const auto& seen : watcher_.Seen()) {
            EXPECT_EQ(seen.caption, L"潮汐输入法\u3000信息");
            EXPECT_TRUE(seen.informationIcon);
            texts.push_back(seen.text);
        }
        return texts;
    }

    test::ScratchFolder folder_;
    std::optional<test::ScopedUserRegistryValue> setupLocation_;
    std::wstring installDir_;
    test::MessageBoxWatcher watcher_;
};

HWND Combo(HWND dialog) {
    return ::GetDlgItem(dialog, kComboId);
}

std::wstring SelectedText(HWND dialog) {
    const LRESULT item = ::SendMessageW(Combo(dialog), CB_GETCURSEL, 0, 0);
    wchar_t text[64] = {};
    if (item >= 0) {
        ::SendMessageW(Combo(dialog), CB_GETLBTEXT, static_cast<WPARAM>(item),
                       reinterpret_cast<LPARAM>(text));
    }
    return text;
}

void Select(HWND dialog, int item) {
    ::SendMessageW(Combo(dialog), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kComboId, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(Combo(dialog)));
}

// Presses a command while a helper thread answers the file dialog it opens.
void PressWithFile(HWND dialog, int command, const wchar_t* fileDialogTitle, std::wstring file) {
    std::atomic<bool> seen = false;
    std::thread answer = test::AnswerFileDialog(fileDialogTitle, std::move(file), seen);
    ::SendMessageW(dialog, WM_COMMAND, command, 0);
    answer.join();
    EXPECT_TRUE(seen) << "the file dialog " << ToUtf8(AsU16(std::wstring_view(fileDialogTitle)));
}

TEST_F(SystemDictTool, ShowsTheCurrentLibrarysStatisticsAndKeepsASingleLibrary) {
    AddSampleLibrary(L"Tide.imc");
    Run([&](HWND dialog) {
        EXPECT_EQ(ControlText(::GetDlgItem(dialog, 263)), L"当前系统词库：");
        const std::vector<std::wstring> expected = {
            L"词库名称：潮汐示例词库", L"词库版本：1.0",   L"词库作者：潮汐输入法开发组",
            L"编码方案：全拼示例",     L"编码总数：476条", L"编码词组：119条",
            L"编码汉字：357个",        L"码长：6",         L"码元：abcdefghijklmnopqrstuvwxyz",
        };
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(ControlText(::GetDlgItem(dialog, 264 + i)), expected[i]);
        }
        EXPECT_EQ(SelectedText(dialog), L"潮汐示例词库");
        ::SendMessageW(dialog, WM_COMMAND, kRemoveId, 0);
    });
    EXPECT_EQ(Messages(), std::vector<std::wstring>{test::ShownInfoText(L"词库唯一，不得移除！")});
    EXPECT_EQ(Libraries(), std::vector<std::wstring>{L"Tide.imc"}) << "nothing deleted";
}

TEST_F(SystemDictTool, SelectingALibraryMakesItCurrentAndRemovingTheLastWrapsToTheFirst) {
    AddSampleLibrary(L"Tide.imc");
    AddSmallLibrary(L"Small.imc");
    ASSERT_TRUE(test::WriteFileBytes(InInstallDir(L"Broken.imc"), "no library at all"));
    std::wstring first;
    std::wstring last;
    Run([&](HWND dialog) {
        const int count = static_cast<int>(::SendMessageW(Combo(dialog), CB_GETCOUNT, 0, 0));
        ASSERT_EQ(count, 3) << "the damaged library is listed too";
        // Items follow the directory order; find out which file each one is.
        auto fileOf = [&](int item) {
            Select(dialog, item);
            return CurrentLibraryName();
        };
        first = fileOf(0);
        std::wstring broken;
        for (int item = 0; item < count; ++item) {
            if (fileOf(item) == L"Broken.imc") {
                broken = L"found";
                wchar_t text[64] = {};
                ::SendMessageW(Combo(dialog), CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
                EXPECT_STREQ(text, L"Broken.imc") << "shown by its file name";
                EXPECT_EQ(ControlText(::GetDlgItem(dialog, 264)), L"词库名称：");
                EXPECT_EQ(ControlText(::GetDlgItem(dialog, 268)), L"编码总数：0条");
            }
        }
        EXPECT_FALSE(broken.empty());
        last = fileOf(count - 1);
        ::SendMessageW(dialog, WM_COMMAND, kRemoveId, 0);
        EXPECT_EQ(::SendMessageW(Combo(dialog), CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(::SendMessageW(Combo(dialog), CB_GETCURSEL, 0, 0), 0);
    });
    EXPECT_EQ(Messages(),
              std::vector<std::wstring>{test::ShownInfoText(L"词库移除成功，祝您使用愉快！")});
    EXPECT_EQ(CurrentLibraryName(), first) << "the first library is current";
    EXPECT_FALSE(test::FileExists(InInstallDir(last)));
    EXPECT_EQ(Libraries().size(), 2u);
}

TEST_F(SystemDictTool, ALibraryThatCannotBeDeletedStaysCurrentAndListed) {
    AddSampleLibrary(L"Tide.imc");
    AddSmallLibrary(L"Small.imc");
    // Held open without leave to delete: neither deleted nor moved away.
    FileHandle held(::CreateFileW(InInstallDir(L"Small.imc").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    Run([&](HWND dialog) {
        for (int item = 0; item < 2; ++item) {
            Select(dialog, item);
            if (CurrentLibraryName() == L"Small.imc") {
                break;
            }
        }
        ASSERT_EQ(CurrentLibraryName(), L"Small.imc");
        ::SendMessageW(dialog, WM_COMMAND, kRemoveId, 0);
        EXPECT_EQ(::SendMessageW(Combo(dialog), CB_GETCOUNT, 0, 0), 2) << "still listed";
    });
    EXPECT_EQ(Messages(),
              std::vector<std::wstring>{test::ShownInfoText(L"词库移除失败，文件无法删除！")});
    EXPECT_EQ(CurrentLibraryName(), L"Small.imc") << "still current";
    EXPECT_TRUE(test::FileExists(InInstallDir(L"Small.imc")));
}

TEST_F(SystemDictTool, ALibraryNamedTooLongForTheRecordIsListedRefusedAsCurrentAndRemovable) {
    AddSampleLibrary(L"Tide.imc");
    const std::wstring longName = std::wstring(kConfigNameUnits, L'长') + L".imc";
    AddSmallLibrary(longName);
    Run([&](HWND dialog) {
        ASSERT_EQ(::SendMessageW(Combo(dialog), CB_GETCOUNT, 0, 0), 2) << "both listed";
        for (int item = 0; item < 2; ++item) {
            Select(dialog, item);
        }
        EXPECT_EQ(CurrentLibraryName(), L"Tide.imc") << "the long name never became current";
        // The long-named one selected again, and removed.
        for (int item = 0; item < 2; ++item) {
            if (SelectedText(dialog) != L"潮汐示例词库") {
                break;
            }
            Select(dialog, 1 - item);
        }
        ASSERT_NE(SelectedText(dialog), L"潮汐示例词库");
        ::SendMessageW(dialog, WM_COMMAND, kRemoveId, 0);
        EXPECT_EQ(::SendMessageW(Combo(dialog), CB_GETCOUNT, 0, 0), 1);
        EXPECT_EQ(SelectedText(dialog), L"潮汐示例词库") << "the current one shown again";
    });
    const std::wstring refused = test::ShownInfoText(L"词库文件名过长，不能设为当前词库！");
    const std::vector<std::wstring> messages = Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(static_cast<std::size_t>(std::count(messages.begin(), messages.end(), refused)),
              messages.size() - 1);
    EXPECT_EQ(messages.back(), test::ShownInfoText(L"词库移除成功，祝您使用愉快！"));
    EXPECT_EQ(CurrentLibraryName(), L"Tide.imc");
    EXPECT_EQ(Libraries(), std::vector<std::wstring>{L"Tide.imc"});
}

TEST_F(SystemDictTool, AWrongHeaderStopsTheImportAndLeavesTheCurrentLibrary) {
    AddSampleLibrary(L"Tide.imc");
    const std::wstring table = folder_ / L"bad.txt";
    std::u16string text = u"\uFEFF[CODETABLEHEADER]\r\nName=x\r\n[CODETABLE]\r\na\t工\r\n";
    text.append(400, u' ');
    ASSERT_TRUE(test::WriteFileBytes(
        table, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    HWND tool = nullptr;
    Run([&](HWND dialog) {
        tool = dialog;
        PressWithFile(dialog, kImportId, L"打开导入文件", table);
    });
    const std::vector<std::wstring> messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    for (const test::SeenMessageBox& box : watcher_.Seen()) {
        EXPECT_EQ(box.owner, tool) << "modal to the tool, so 导入 cannot be pressed again under it";
    }
    EXPECT_EQ(messages[0], test::ShownInfoText(L"词库头不正确，不能生成码表。"))
        << "the compiler's own message";
    EXPECT_EQ(messages[1], test::ShownInfoText(L"导入文件打开失败，不能进行导入操作！！！"));
    EXPECT_EQ(CurrentLibraryName(), L"Tide.imc");
    EXPECT_EQ(Libraries(), std::vector<std::wstring>{L"Tide.imc"}) << "no half-made library";
}

TEST_F(SystemDictTool, AnImportedLibraryBecomesCurrentAndExportsBackToTheSameEntries) {
    AddSmallLibrary(L"Tide.imc"); // holds a user entry that the import carries over
    const std::wstring exported = folder_ / L"exported.txt";
    std::wstring imported;
    Run([&](HWND dialog) {
        PressWithFile(dialog, kImportId, L"打开导入文件", kSampleTable);
        imported = CurrentLibraryName();
        EXPECT_EQ(SelectedText(dialog), L"潮汐示例词库");
        EXPECT_EQ(ControlText(::GetDlgItem(dialog, 268)), L"编码总数：476条");
        PressWithFile(dialog, kExportId, L"导出文件保存为", exported);
    });
    EXPECT_EQ(Messages(),
              (std::vector<std::wstring>{test::ShownInfoText(L"词库导入成功，祝您使用愉快！"),
                                         test::ShownInfoText(L"词库导出成功，祝您使用愉快！")}));
    ASSERT_EQ(imported.size(), 12u) << "TideNNNN.imc";
    EXPECT_EQ(imported.substr(0, 4), L"Tide");
    EXPECT_EQ(Libraries().size(), 2u);
    const std::wstring again = folder_ / L"again.imc";
    ASSERT_TRUE(CompileCodeTable(exported.c_str(), again.c_str(), FALSE));
    Entries table = EntriesOf(InInstallDir(imported));
    const std::size_t before = table.size();
    // Carried entries (weights 252 and 253) stay out of an export.
    std::erase_if(table,
                  [](const auto& e) { return std::get<2>(e) == 252 || std::get<2>(e) == 253; });
    EXPECT_EQ(before, table.size() + 1) << "the user entry was carried";
    EXPECT_EQ(table.size(), 476u);
    EXPECT_EQ(EntriesOf(again), table);
}

TEST_F(SystemDictTool, APackageInstallsAndBecomesCurrentAndAPlainFileIsRefused) {
    AddSampleLibrary(L"Tide.imc");
    const std::wstring package = folder_ / L"small.pkg.imc";
    const Bytes packed = PackDictionary(ReadBytes(kSmallLibrary));
    ASSERT_TRUE(test::WriteFileBytes(package, std::string(packed.begin(), packed.end())));
    Run([&](HWND dialog) {
        PressWithFile(dialog, kAddId, L"打开词库文件", kSmallLibrary); // not a package
        PressWithFile(dialog, kAddId, L"打开词库文件", package);
        EXPECT_EQ(SelectedText(dialog), L"潮汐输入法手工排布的测试小词库");
    });
    EXPECT_EQ(Messages(),
              (std::vector<std::wstring>{test::ShownInfoText(L"码表格式错误，不能添加！"),
                                         test::ShownInfoText(L"词库添加成功，祝您使用愉快！")}));
    const std::wstring added = CurrentLibraryName();
    ASSERT_NE(added, L"Tide.imc");
    EXPECT_EQ(ReadBytes(InInstallDir(added)), ReadBytes(kSmallLibrary));
    EXPECT_EQ(Libraries().size(), 2u);
}

TEST_F(SystemDictTool, TheInputMethodHearsEveryChangeAndMapsTheNewLibrary) {
    AddSampleLibrary(L"Tide.imc");
    AddSmallLibrary(L"Small.imc");
    auto peer = test::ImePeerProcess::Start(folder_);
    ASSERT_TRUE(peer);
    std::wstring chosen;
    std::wstring imported;
    Run([&](HWND dialog) {
        const LRESULT other = ::SendMessageW(Combo(dialog), CB_GETCURSEL, 0, 0) == 0 ? 1 : 0;
        Select(dialog, static_cast<int>(other));
        chosen = CurrentLibraryName();
        PressWithFile(dialog, kImportId, L"打开导入文件", kSmallTable);
        imported = CurrentLibraryName();
    });
    const auto notices = peer->WaitForLines("notice", 4, 10s);
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0].rfind("notice 1 ", 0), 0u);
    EXPECT_EQ(notices[1], "notice 2 library=" + ToUtf8(AsU16(chosen)) + " mapped=1");
    EXPECT_EQ(notices[2].rfind("notice 1 ", 0), 0u);
    EXPECT_EQ(notices[3], "notice 2 library=" + ToUtf8(AsU16(imported)) + " mapped=1");
    peer->Stop();
}

} // namespace
} // namespace tide
