// The update tool against a web site on 127.0.0.1: a module of a known
// version installed where the input method lives, a descriptor published on
// the site, and an installer that leaves a marker when it runs.
#include "tools/update/OnlineUpdateDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/update/InstallerCheck.h"
#include "support/DrivenDialog.h"
#include "support/LauncherSession.h"
#include "support/LocalWebServer.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "win/ImeModule.h"
#include "win/InstallPaths.h"
#include "win/MakerSite.h"
#include "win/Sha256.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

constexpr int kUpdateButton = 257;
constexpr wchar_t kUpToDate[] = L"当前版本即为最新版本，无需更新。";
constexpr wchar_t kCheckFailed[] = L"无法获取最新版本信息，请检查网络连接。";
constexpr wchar_t kUpdateHint[] = L"点“更新”按钮更新潮汐输入法到最新版本。";
constexpr wchar_t kDownloadFailed[] = L"安装程序下载失败，请稍后重试。";
constexpr wchar_t kVerificationFailed[] = L"安装程序校验失败，已取消更新。";

std::string HexText(const Sha256Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

std::wstring TemporaryFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The five text lines in the order they were made (two share the id 259).
struct Shown {
    std::vector<std::wstring> lines;
    bool updateEnabled = false;
};

Shown ReadShown(HWND dialog) {
    Shown shown;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0) {
            wchar_t text[128] = {};
            ::GetWindowTextW(child, text, 128);
            shown.lines.emplace_back(text);
        }
    }
    shown.updateEnabled = ::IsWindowEnabled(::GetDlgItem(dialog, kUpdateButton)) != FALSE;
    return shown;
}

class OnlineUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CreateDirectoryW((site_ / L"Tide").c_str(), nullptr));
        server_.emplace(site_.path());
        ASSERT_NE(server_->port(), 0) << "python3's http.server did not start";
        webSite_.emplace(kInstallKeyPath, kMakerSiteValueName, server_->address());
        GetImeFilePath(modulePath_);
        ::DeleteFileW(marker_.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(modulePath_);
        ::DeleteFileW(marker_.c_str());
    }

    // Installs the fixture module carrying the version text `version`.
    void Install(const std::wstring& version) {
        const std::wstring module = test::BinDirectory() + L"\\tide_module_" + version + L".dll";
        ASSERT_TRUE(::CopyFileW(module.c_str(), modulePath_, FALSE)) << "fixture " << version;
    }
    void Publish(const std::string& version, const std::string& sha256 = {}) {
        std::string descriptor = "[VERSION]\r\nVersion=" + version + "\r\n";
        if (!sha256.empty()) {
            descriptor += "Sha256=" + sha256 + "\r\n";
        }
        ASSERT_TRUE(test::WriteFileBytes(site_ / L"Tide\\Update.txt", descriptor));
    }
    void PublishInstaller() {
        ASSERT_TRUE(::CopyFileW((test::BinDirectory() + L"\\tide_marker_installer.exe").c_str(),
                                (site_ / L"Tide\\Tide.exe").c_str(), FALSE));
    }
    std::string InstallerDigest() {
        const std::string bytes =
            test::ReadFileBytes(test::BinDirectory() + L"\\tide_marker_installer.exe");
        const std::optional<Sha256Digest> digest = Sha256OfBytes(bytes.data(), bytes.size());
        return digest ? HexText(*digest) : std::string();
    }

    Shown Open(const std::function<void(HWND)>& more = {}) {
        Shown shown;
        test::DrivenDialog<COnlineUpdateDialog> tool([&](HWND dialog) {
            shown = ReadShown(dialog);
            if (more) {
                more(dialog);
            }
        });
        EXPECT_EQ(tool.ShowModal(L"在线更新", 262, 177, 0), kResultOk);
        return shown;
    }
    // Opens the tool, presses 更新 and returns the messages it showed.
    std::vector<test::SeenMessageBox> OpenAndUpdate() {
        test::MessageBoxWatcher watcher;
        const Shown shown =
            Open([](HWND dialog) { ::SendMessageW(dialog, WM_COMMAND, kUpdateButton, 0); });
        EXPECT_TRUE(shown.updateEnabled);
        return watcher.Seen();
    }
    bool InstallerRan(std::chrono::milliseconds timeout) {
        for (auto waited = 0ms; waited < timeout; waited += 50ms) {
            if (test::FileExists(marker_)) {
                return true;
            }
            ::Sleep(50);
        }
        return false;
    }

    test::ScratchFolder site_;
    std::optional<test::LocalWebServer> server_;
    std::optional<test::ScopedUserRegistryValue> webSite_;
    PathBuffer modulePath_ = {};
    const std::wstring marker_ = TemporaryFile(L"TideInstallerRan.txt");
};

TEST(Sha256, ComputesTheStandardDigests) {
    const std::optional<Sha256Digest> abc = Sha256OfBytes("abc", 3);
    ASSERT_TRUE(abc) << "the system's AES provider hashes SHA-256";
    EXPECT_EQ(HexText(*abc), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexText(*Sha256OfBytes("", 0)),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");

    // A file is read to its end in pieces: a million "a"s.
    test::ScratchFolder folder;
    ASSERT_TRUE(test::WriteFileBytes(folder / L"a.bin", std::string(1000000, 'a')));
    FileHandle file(::CreateFileW((folder / L"a.bin").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    const std::optional<Sha256Digest> million = Sha256OfFile(file.get());
    ASSERT_TRUE(million);
    EXPECT_EQ(HexText(*million),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST_F(OnlineUpdate, ComparesTheInstalledVersionWithThePublishedOne) {
    struct Case {
        const wchar_t* installed;
        const char* published;
        bool newer;
    };
    for (const Case& c :
         {Case{L"3.1.4.210315", "3.1.4.210315", false}, Case{L"3.1.4.210315", "3.1.5.1", true},
          Case{L"3.1.5.1", "3.1.4.999999", false}, Case{L"3.2.0.0", "3.1.99.99", false}}) {
        SCOPED_TRACE(c.published);
        Install(c.installed);
        Publish(c.published);
        const Shown shown = Open();
        ASSERT_EQ(shown.lines.size(), 5u);
        EXPECT_EQ(shown.lines[0], std::wstring(L"当前版本：") + c.installed);
        EXPECT_EQ(shown.updateEnabled, c.newer);
        if (c.newer) {
            EXPECT_EQ(shown.lines[2], L"最新版本：3.1.5.1");
            EXPECT_EQ(shown.lines[3], L"更新日期：") << "3.1.5.1 carries no date";
            EXPECT_EQ(shown.lines[4], kUpdateHint);
        } else {
            EXPECT_EQ(shown.lines[2], kUpToDate);
            EXPECT_EQ(shown.lines[3], L"");
            EXPECT_EQ(shown.lines[4], L"");
        }
    }
    // Every opening fetched the descriptor afresh, past the internet cache.
    const std::string requests = server_->requests();
    std::size_t fetched = 0;
    for (std::size_t at = 0; (at = requests.find("GET /Tide/Update.txt", at)) != std::string::npos;
         ++at) {
        ++fetched;
    }
    EXPECT_EQ(fetched, 4u) << requests;
}

TEST_F(OnlineUpdate, ShowsTheReleaseDatesOfBothVersions) {
    Install(L"3.1.4.210315");
    Publish("3.1.4.261208");
    const Shown shown = Open();
    ASSERT_EQ(shown.lines.size(), 5u);
    EXPECT_EQ(shown.lines[0], L"当前版本：3.1.4.210315");
    EXPECT_EQ(shown.lines[1], L"更新日期：2021.03.15");
    EXPECT_EQ(shown.lines[2], L"最新版本：3.1.4.261208");
    EXPECT_EQ(shown.lines[3], L"更新日期：2026.12.08");

    // Without a module: an empty version, no date, and any published version offered.
    ::DeleteFileW(modulePath_);
    const Shown missing = Open();
    EXPECT_EQ(missing.lines[0], L"当前版本：");
    EXPECT_EQ(missing.lines[1], L"更新日期：");
    EXPECT_TRUE(missing.updateEnabled);
}

TEST_F(OnlineUpdate, AFailedCheckSaysSoAndOffersNothing) {
    Install(L"3.1.4.210315");
    const auto expectFailure = [this](const char* what) {
        SCOPED_TRACE(what);
        const Shown shown = Open();
        ASSERT_EQ(shown.lines.size(), 5u);
        EXPECT_EQ(shown.lines[2], kCheckFailed);
        EXPECT_EQ(shown.lines[3], L"");
        EXPECT_EQ(shown.lines[4], L"");
        EXPECT_FALSE(shown.updateEnabled);
    };
    expectFailure("no descriptor on the site");
    // The disabled 更新 looks disabled: grey text, no black left on it.
    std::optional<test::WindowPixels> button;
    Open([&](HWND dialog) {
        ::UpdateWindow(dialog);
        test::PumpMessagesFor(200ms);
        button = test::CaptureWindow(::GetDlgItem(dialog, kUpdateButton));
    });
    ASSERT_TRUE(button);
    int darkest = 255;
    for (const std::uint32_t pixel : button->pixels) {
        darkest = std::min<int>(darkest, (pixel >> 8) & 0xFF);
    }
    EXPECT_GT(darkest, 100) << "text drawn black on a disabled button";

    Publish("");
    expectFailure("an empty version");
    Publish("3.1.5");
    expectFailure("a version of three parts");
    ASSERT_TRUE(test::WriteFileBytes(site_ / L"Tide\\Update.txt", "<html>not found</html>"));
    expectFailure("a page that is no descriptor");
    Publish("3.1.5.1");
    server_.reset();
    expectFailure("no server");
}

TEST_F(OnlineUpdate, AVerifiedInstallerRunsAndAnUnverifiedOneIsRefused) {
    Install(L"3.1.4.210315");
    PublishInstaller();
    const std::wstring downloaded = TemporaryFile(L"Tide.exe");

    Publish("3.1.5.1", InstallerDigest());
    std::vector<test::SeenMessageBox> seen = OpenAndUpdate();
    EXPECT_TRUE(InstallerRan(20s)) << "the installer whose digest matches runs";
    EXPECT_TRUE(seen.empty());
    if (test::FileExists(marker_)) {
        const std::string marker = test::ReadFileBytes(marker_);
        const std::wstring startedFrom(reinterpret_cast<const wchar_t*>(marker.data()),
                                       marker.size() / sizeof(wchar_t));
        EXPECT_EQ(lstrcmpiW(startedFrom.c_str(), downloaded.c_str()), 0);
    }

    std::string wrong = InstallerDigest();
    wrong[10] = wrong[10] == '0' ? '1' : '0';
    for (const std::string& digest : {wrong, std::string(), std::string("not-a-digest")}) {
        SCOPED_TRACE(digest);
        ::DeleteFileW(marker_.c_str());
        Publish("3.1.5.1", digest);
        seen = OpenAndUpdate();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, test::ShownInfoText(kVerificationFailed));
        EXPECT_FALSE(InstallerRan(1s)) << "plain http without the right digest never runs";
        EXPECT_FALSE(test::FileExists(downloaded)) << "the refused file is deleted";
    }
}

TEST_F(OnlineUpdate, AFailedDownloadIsReported) {
    Install(L"3.1.4.210315");
    Publish("3.1.5.1", InstallerDigest());
    const std::vector<test::SeenMessageBox> seen = OpenAndUpdate(); // no installer on the site
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, test::ShownInfoText(kDownloadFailed));
    EXPECT_FALSE(test::FileExists(marker_));
}

TEST_F(OnlineUpdate, ScreenshotsInBothFontSituations) {
    Install(L"3.1.4.210315");
    for (int fallback = 0; fallback < 2; ++fallback) {
        const std::wstring face = fallback ? L"fallback" : L"preferred";
        test::ScopedUserRegistryValue replacement(
            L"Software\\Wine\\Fonts\\Replacements", L"微软雅黑",
            fallback ? std::nullopt : std::optional<std::wstring>(L"WenQuanYi Micro Hei"));
        test::LauncherSession session;
        ASSERT_TRUE(session.Start());
        for (const auto& [state, published] :
             {std::pair{L"available", "3.1.4.261208"}, std::pair{L"latest", "3.1.4.210315"},
              std::pair{L"failed", ""}}) {
            if (*published) {
                Publish(published);
            } else {
                ::DeleteFileW((site_ / L"Tide\\Update.txt").c_str());
            }
            HWND tool = session.OpenTool(261, L"在线更新");
            ASSERT_TRUE(tool);
            ::Sleep(500);
            EXPECT_TRUE(test::SaveWindowScreenshot(tool, test::ScreenshotFolder() + L"\\" + face +
                                                             L"-tool-261-" + state + L".png"));
            ASSERT_TRUE(session.GoHome(tool));
        }
        ::PostMessageW(session.launcher(), WM_COMMAND, IDCANCEL, 0);
        session.process().WaitForExit(20s);
    }
}

} // namespace
} // namespace tide
