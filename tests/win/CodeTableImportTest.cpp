#include "win/dict/CodeTableImport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "core/dict/LibraryView.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "win/InstallPaths.h"
#include "win/config/ConfigStorage.h"

namespace tide {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::wstring kSmallTable = L"" TIDE_FIXTURES_DIR "/dict/small.txt";
const std::wstring kSmallLibrary = L"" TIDE_FIXTURES_DIR "/dict/small.imc";

TEST(CompileCodeTableFile, WritesTheLibraryTheTableDescribes) {
    test::ScratchFolder folder;
    const std::wstring target = folder / L"small.imc";
    ASSERT_TRUE(CompileCodeTable(kSmallTable.c_str(), target.c_str(), FALSE));
    EXPECT_EQ(ReadBytes(target), ReadBytes(kSmallLibrary));
    EXPECT_FALSE(test::FileExists(target + L".new")) << "no file left beside it";
}

TEST(CompileCodeTableFile, ExportWritesTextThatCompilesToTheSameEntries) {
    test::ScratchFolder folder;
    const std::wstring text = folder / L"exported.txt";
    ASSERT_TRUE(ExportCodeTable(kSmallLibrary.c_str(), text.c_str()));
    const Bytes exported = ReadBytes(text);
    ASSERT_GE(exported.size(), 2u);
    EXPECT_EQ(exported[0], 0xFF);
    EXPECT_EQ(exported[1], 0xFE);
    // Pad the short export to the minimum table size, then compile it again.
    Bytes padded = exported;
    while (padded.size() < 612) {
        padded.insert(padded.end(), {'\r', 0, '\n', 0});
    }
    ASSERT_TRUE(test::WriteFileBytes(text, std::string(padded.begin(), padded.end())));
    const std::wstring again = folder / L"again.imc";
    ASSERT_TRUE(CompileCodeTable(text.c_str(), again.c_str(), FALSE));
    const Bytes original = ReadBytes(kSmallLibrary);
    const Bytes recompiled = ReadBytes(again);
    const auto a = LibraryView::Open(original);
    const auto b = LibraryView::Open(recompiled);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->header().EntryCount, b->header().EntryCount);
    EXPECT_EQ(a->header().CharCount, b->header().CharCount);

    EXPECT_FALSE(ExportCodeTable(text.c_str(), (folder / L"x.txt").c_str())) << "not a library";
}

TEST(CompileCodeTableFile, ProblemsAreReportedAndTheOldLibraryStays) {
    test::ScratchFolder folder;
    const std::wstring target = folder / L"keep.imc";
    ASSERT_TRUE(test::WriteFileBytes(target, "old library"));
    const std::wstring ansi = folder / L"ansi.txt";
    ASSERT_TRUE(test::WriteFileBytes(ansi, std::string(700, 'a')));
    const std::wstring badHeader = folder / L"bad.txt";
    std::string text = "\xFF\xFE";
    for (char c : std::string("[CODETABLE]\r\n")) {
        text += c;
        text += '\0';
    }
    text.resize(700, '\0');
    ASSERT_TRUE(test::WriteFileBytes(badHeader, text));

    // The compile shows no window itself: it hands its message to the tool.
    test::MessageBoxWatcher watcher;
    std::vector<std::wstring> messages;
    for (const std::wstring& text : {folder / L"missing.txt", ansi, badHeader}) {
        const ImportResult result = ImportCodeTable(text.c_str(), target.c_str(), false);
        EXPECT_EQ(result.outcome, ImportOutcome::TableUnusable);
        messages.push_back(result.message);
    }
    EXPECT_EQ(messages,
              (std::vector<std::wstring>{
                  L"词库文件打开失败，不能读取词库文件。",
                  L"词库文件编码格式错误，请使用 Unicode Little Endian 编码格式的词库文件。",
                  L"词库头缺失，不能生成码表。",
              }));
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(ReadBytes(target), (Bytes{'o', 'l', 'd', ' ', 'l', 'i', 'b', 'r', 'a', 'r', 'y'}));
}

TEST(CompileCodeTableFile, CarriesTheCurrentLibrarysOwnEntries) {
    test::ScratchFolder folder;
    test::ScopedUserRegistryValue setup(kInstallKeyPath, kInstallValueName, folder.path());
    const std::wstring installDir = folder / L"Tide";
    ::CreateDirectoryW(installDir.c_str(), nullptr);
    // The current library holds "zz ㇀" with weight 252.
    const std::wstring current = installDir + L"\\Tide.imc";
    ASSERT_TRUE(::CopyFileW(kSmallLibrary.c_str(), current.c_str(), FALSE));
    ConfigRecord record = {};
    LoadConfig(record);
    ASSERT_EQ(FixedText(record.DictionaryFileName), u"Tide.imc");

    const std::wstring target = installDir + L"\\new.imc";
    ASSERT_TRUE(CompileCodeTable(kSmallTable.c_str(), target.c_str(), TRUE));
    const Bytes bytes = ReadBytes(target);
    const auto library = LibraryView::Open(bytes);
    ASSERT_TRUE(library);
    int carried = 0;
    library->ForEachEntry([&](const LibraryEntry& entry) {
        carried += entry.code == u"zz" && entry.weight == 252 ? 1 : 0;
    });
    EXPECT_EQ(carried, 2) << "the table's own and the carried one";

    // Without a current library to carry from, the compile fails.
    ASSERT_TRUE(::DeleteFileW(current.c_str()));
    EXPECT_FALSE(CompileCodeTable(kSmallTable.c_str(), target.c_str(), TRUE));
    ::DeleteFileW(target.c_str());
    ::DeleteFileW((installDir + L"\\Tide.cfg").c_str());
    ::RemoveDirectoryW(installDir.c_str());
}

} // namespace
} // namespace tide
