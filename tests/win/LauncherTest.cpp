// The real TideSetup.exe: the launcher opens each tool with the launcher
// hidden; "主页" brings it back, any other way out ends the program.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <string_view>
#include <vector>
#include <thread>
#include <utility>

#include "app/SetupDialog.h"
#include "app/ToolTable.h"
#include "app/ToolTitles.h"
#include "core/base/FixedText.h"
#include "core/config/ConfigRecord.h"
#include "support/FileDialogAnswer.h"
#include "support/LauncherSession.h"
#include "support/LayoutProbe.h"
#include "support/SampleInstallation.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "ui/Buttons.h"
#include "ui/Dialog.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

using namespace std::chrono_literals;

// The sample installation with a few user entries, for the user dictionary
// tool to list.
bool AddSampleUserEntries() {
    for (const auto& [code, word] : {std::pair{L"cxsr", L"潮汐输入"}, std::pair{L"yhci", L"用户词"},
                                     std::pair{L"zdyi", L"自定义"}}) {
        if (!AddEntryToCurrentLibrary(code, word)) {
            return false;
        }
    }
    return true;
}

using test::LauncherSession;

class Launcher : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(session_.Start());
        launcher_ = session_.launcher();
    }
    HWND OpenTool(int id, const wchar_t* title) { return session_.OpenTool(id, title); }

    LauncherSession session_;
    HWND launcher_ = nullptr;
};

TEST_F(Launcher, HomeReturnsAndEveryOtherWayOutEndsTheProgram) {
    for (const ToolRow& row : Tools()) {
        HWND tool = OpenTool(row.id, row.title);
        ASSERT_TRUE(tool) << row.id;
        EXPECT_FALSE(::IsWindowVisible(launcher_)) << "hidden while a tool runs";
        HWND home = ::GetDlgItem(tool, kHomeButtonId);
        ASSERT_TRUE(home);
        wchar_t className[32] = {};
        ::GetClassNameW(home, className, 32);
        EXPECT_STREQ(className, L"Tide_CommandButton");
        EXPECT_TRUE(::GetDlgItem(tool, kCloseButtonId));
        EXPECT_TRUE(session_.GoHome(tool)) << "back after 主页 from " << row.id;
    }
    HWND tool = OpenTool(257, L"系统词库管理");
    ASSERT_TRUE(tool);
    ::PostMessageW(tool, WM_COMMAND, kCloseButtonId, 0);
    EXPECT_EQ(session_.process().WaitForExit(20s), static_cast<DWORD>(IDCANCEL))
        << "the close button ends it";
}

// The controls a user works with in `parent` and the panes within it, shown
// and enabled: edits, lists, check boxes, push buttons and the program's own
// buttons, and each group of radio buttons (by its first). The frame's close
// button is the title bar's: Esc does its work.
void CollectWorkingControls(HWND parent, std::vector<HWND>& found) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || !::IsWindowEnabled(child)) {
            continue;
        }
        wchar_t name[64] = {};
        ::GetClassNameW(child, name, 64);
        const std::wstring_view className(name);
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
        const DWORD type = style & BS_TYPEMASK;
        const bool button = _wcsicmp(name, L"Button") == 0;
        if (className == L"#32770") {
            CollectWorkingControls(child, found);
        } else if (_wcsicmp(name, L"Edit") == 0 || _wcsicmp(name, L"ComboBox") == 0 ||
                   className.starts_with(L"Tide_") || _wcsicmp(name, kOptionButtonClass) == 0) {
            found.push_back(child);
        } else if (button && type == BS_AUTORADIOBUTTON) {
            if (style & WS_GROUP) {
                found.push_back(child);
            }
        } else if (button && type != BS_GROUPBOX && ::GetDlgCtrlID(child) != kCloseButtonId) {
            found.push_back(child);
        }
    }
}

// Each window Tab reaches from the first, once round.
std::set<HWND> TabCycle(HWND dialog) {
    std::set<HWND> cycle;
    for (HWND control = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
         control && cycle.insert(control).second;
         control = ::GetNextDlgTabItem(dialog, control, FALSE)) {
    }
    return cycle;
}

bool IsRadio(HWND window) {
    return window && (::GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Whether Tab reaches `control`; a radio group is reached through any of its
// radios (Tab stops at the checked one).
bool Reached(const std::set<HWND>& cycle, HWND control) {
    if (cycle.contains(control)) {
        return true;
    }
    for (HWND radio = IsRadio(control) ? ::GetWindow(control, GW_HWNDNEXT) : nullptr;
         IsRadio(radio) && !(::GetWindowLongPtrW(radio, GWL_STYLE) & WS_GROUP);
         radio = ::GetWindow(radio, GW_HWNDNEXT)) {
        if (cycle.contains(radio)) {
            return true;
        }
    }
    return false;
}

// How many working controls `dialog` has, and those Tab does not reach.
std::pair<std::size_t, std::wstring> UnreachedByTab(HWND dialog) {
    std::vector<HWND> controls;
    CollectWorkingControls(dialog, controls);
    const std::set<HWND> cycle = TabCycle(dialog);
    std::wstring missing;
    for (HWND control : controls) {
        if (!Reached(cycle, control)) {
            wchar_t text[64] = {};
            ::GetWindowTextW(control, text, 64);
            missing += L"[" + std::to_wstring(::GetDlgCtrlID(control)) + L" " + text + L"]";
        }
    }
    return {controls.size(), missing};
}

void WaitUntilShown(HWND dialog) {
    for (int i = 0; i < 250 && !::IsWindowVisible(dialog); ++i) {
        ::Sleep(20); // shown once its controls are made
    }
}

TEST_F(Launcher, TabReachesEveryControlOfTheLauncherAndOfEachTool) {
    WaitUntilShown(launcher_);
    const auto [options, launcherMissing] = UnreachedByTab(launcher_);
    EXPECT_EQ(options, Tools().size());
    EXPECT_EQ(launcherMissing, L"");
    for (const ToolRow& row : Tools()) {
        HWND tool = OpenTool(row.id, row.title);
        ASSERT_TRUE(tool) << row.id;
        WaitUntilShown(tool);
        const auto [count, missing] = UnreachedByTab(tool);
        EXPECT_GE(count, 2u) << row.id; // 主页 and 确定 at the least
        EXPECT_EQ(missing, L"") << "not reached by Tab in " << row.id;
        // Screen readers read the buttons' captions.
        wchar_t caption[16] = {};
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(::GetDlgItem(tool, kCloseButtonId), WM_GETTEXT, 16,
                              reinterpret_cast<LPARAM>(caption), SMTO_BLOCK, 5000, &length);
        EXPECT_STREQ(caption, L"关闭");
        ASSERT_TRUE(session_.GoHome(tool));
    }
}

TEST(LauncherWithLibrary, StaysHiddenWhileAToolShowsAMessage) {
    test::SampleInstallation installation;
    ASSERT_TRUE(installation.ready());
    ASSERT_TRUE(AddSampleUserEntries());
    LauncherSession session;
    ASSERT_TRUE(session.Start());
    HWND tool = session.OpenTool(257, L"系统词库管理");
    ASSERT_TRUE(tool);
    // 移除 with a single library answers with a message box.
    ::PostMessageW(tool, WM_COMMAND, 259, 0);
    HWND box = nullptr;
    for (int i = 0; i < 250 && !box; ++i) {
        ::Sleep(20);
        box = test::FindProcessWindow(session.process().id(), L"#32770", [](HWND window) {
            return ::IsWindowVisible(window) && ::GetDlgItem(window, 0xFFFF) != nullptr;
        });
    }
    ASSERT_TRUE(box) << "the message box";
    EXPECT_FALSE(::IsWindowVisible(session.launcher())) << "the launcher stays hidden";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 250 && ::IsWindow(box); ++i) {
        ::Sleep(20);
    }
    EXPECT_FALSE(::IsWindowVisible(session.launcher()));
    EXPECT_TRUE(session.GoHome(tool));
}

TEST_F(Launcher, EscInAToolEndsTheProgram) {
    HWND tool = OpenTool(261, L"在线更新");
    ASSERT_TRUE(tool);
    ::PostMessageW(tool, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(session_.process().WaitForExit(20s), static_cast<DWORD>(IDCANCEL));
}

TEST_F(Launcher, AboutShowsItsPagesAndOkEndsTheProgram) {
    HWND about = OpenTool(262, L"关于...");
    ASSERT_TRUE(about);
    HWND aboutPage = nullptr;
    HWND supportPage = nullptr;
    // The window exists before its pages are made: wait for them.
    for (int i = 0; i < 200 && !(aboutPage && supportPage); ++i) {
        for (HWND child = ::GetWindow(about, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetDlgItem(child, 257)) {
                aboutPage = child;
            } else if (::GetDlgItem(child, 513)) {
                supportPage = child;
            }
        }
        ::Sleep(20);
    }
    ASSERT_TRUE(aboutPage && supportPage);
    // Shown or hidden by the page's own style (the dialog may not be on screen yet).
    auto shown = [](HWND page) { return (::GetWindowLongPtrW(page, GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_TRUE(shown(aboutPage));
    EXPECT_FALSE(shown(supportPage));
    wchar_t text[64] = {};
    ::GetDlgItemTextW(aboutPage, 259, text, 64);
    EXPECT_STREQ(text, L"版本：") << "no input method installed: the version is empty";
    ::SendMessageW(about, WM_COMMAND, 4098, 0);
    EXPECT_FALSE(shown(aboutPage));
    EXPECT_TRUE(shown(supportPage));
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(session_.process().WaitForExit(20s), static_cast<DWORD>(IDCANCEL))
        << "确定 ends the program";
}

TEST_F(Launcher, EscInTheLauncherEndsIt) {
    ::PostMessageW(launcher_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(session_.process().WaitForExit(20s), static_cast<DWORD>(IDCANCEL));
}

// Photographs the launcher and every tool with "微软雅黑" mapped onto the CJK
// font and without it (the "宋体" path, whose dialogs are scaled up), into
// build/<preset>/screenshots for people to look at.
TEST(LauncherScreenshots, EveryWindowInBothFontSituations) {
    test::SampleInstallation installation;
    ASSERT_TRUE(installation.ready());
    ASSERT_TRUE(AddSampleUserEntries());
    // The default skin installed and current, for the skin page to show.
    const std::wstring skins = installation.installDir() + L"\\Skin";
    ::CreateDirectoryW(skins.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(L"" TIDE_SOURCE_DIR L"/data/Skin/Tide.ims",
                            (skins + L"\\Tide.ims").c_str(), FALSE));
    ConfigRecord record = {};
    LoadConfig(record);
    ASSERT_TRUE(SetFixedText(record.SkinFileName, u"Tide.ims"));
    ASSERT_NE(SaveConfig(record), kSaveFailed);
    int launcherHeights[2] = {};
    for (int fallback = 0; fallback < 2; ++fallback) {
        const std::wstring face = fallback ? L"fallback" : L"preferred";
        test::ScopedUserRegistryValue replacement(
            L"Software\\Wine\\Fonts\\Replacements", L"微软雅黑",
            fallback ? std::nullopt : std::optional<std::wstring>(L"WenQuanYi Micro Hei"));
        LauncherSession session;
        ASSERT_TRUE(session.Start());
        ::Sleep(700);
        RECT bounds = {};
        ::GetWindowRect(session.launcher(), &bounds);
        launcherHeights[fallback] = bounds.bottom - bounds.top;
        const std::wstring folder = test::ScreenshotFolder() + L"\\" + face + L"-";
        EXPECT_TRUE(test::SaveWindowScreenshot(session.launcher(), folder + L"launcher.png"));
        for (const ToolRow& row : Tools()) {
            HWND tool = session.OpenTool(row.id, row.title);
            ASSERT_TRUE(tool) << row.id;
            ::Sleep(700);
            const std::wstring name = folder + L"tool-" + std::to_wstring(row.id);
            EXPECT_TRUE(test::SaveWindowScreenshot(tool, name + L".png"));
            if (row.id == 256) { // every page of the settings
                for (int page = 258; page <= 262; ++page) {
                    ::SendMessageW(::GetDlgItem(tool, page), BM_CLICK, 0, 0);
                    ::Sleep(300);
                    EXPECT_TRUE(test::SaveWindowScreenshot(
                        tool, name + L"-" + std::to_wstring(page) + L".png"));
                }
            }
            if (row.id == 259) { // the entry tool at each status typing gives
                for (const auto& [status, word] :
                     {std::pair{1, L"的国"}, std::pair{3, L"国"}, std::pair{5, L"我们"}}) {
                    ::SetDlgItemTextW(tool, 259, word);
                    ::Sleep(300);
                    EXPECT_TRUE(test::SaveWindowScreenshot(
                        tool, name + L"-status" + std::to_wstring(status) + L".png"));
                }
            }
            if (row.id == 260) { // every page of the skin editor, new and with the default skin
                const std::wstring skin = installation.folder() / L"Tide.ims";
                ASSERT_TRUE(
                    ::CopyFileW(L"" TIDE_SOURCE_DIR L"/data/Skin/Tide.ims", skin.c_str(), FALSE));
                // A skin being built: its status bar and horizontal bar chosen.
                const std::wstring images = L"" TIDE_SOURCE_DIR L"/data/skin/Tide/";
                ::SetWindowTextW(test::FindDescendant(tool, 4353),
                                 (images + L"Status.png").c_str());
                ::SetWindowTextW(test::FindDescendant(tool, 4609),
                                 (images + L"HorzCand.png").c_str());
                for (const wchar_t* state : {L"-new-", L"-default-"}) {
                    for (int page = 257; page <= 260; ++page) {
                        ::SendMessageW(::GetDlgItem(tool, page), BM_CLICK, 0, 0);
                        ::Sleep(300);
                        EXPECT_TRUE(test::SaveWindowScreenshot(
                            tool, name + state + std::to_wstring(page) + L".png"));
                    }
                    if (state[1] == L'n') {
                        std::atomic<bool> answered{false};
                        std::thread answer =
                            test::AnswerFileDialog(L"打开皮肤文件", skin, answered);
                        ::PostMessageW(tool, WM_COMMAND, 261, 0);
                        // Yes to dropping the skin being built.
                        HWND discard = test::WaitForWindow(L"#32770", L"提示", 20s);
                        ASSERT_TRUE(discard);
                        ::PostMessageW(discard, WM_COMMAND, IDYES, 0);
                        answer.join();
                        EXPECT_TRUE(answered);
                        ::Sleep(500);
                    }
                }
            }
            if (row.id == 262) { // the About tool's second page
                ::SendMessageW(tool, WM_COMMAND, 4098, 0);
                ::Sleep(300);
                EXPECT_TRUE(test::SaveWindowScreenshot(tool, name + L"-support.png"));
            }
            ASSERT_TRUE(session.GoHome(tool));
        }
        ::PostMessageW(session.launcher(), WM_COMMAND, IDCANCEL, 0);
        session.process().WaitForExit(20s);
    }
    EXPECT_GT(launcherHeights[1], launcherHeights[0])
        << "without 微软雅黑 the dialogs are scaled for 宋体";
}

// The accent colour of the tiles and icons, with the edges the filter blends.
bool IsAccent(std::uint32_t pixel) {
    const int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
    return r < 0x50 && g > 0x50 && g < 0xA8 && b > 0xB0;
}
bool IsDark(std::uint32_t pixel) {
    return (pixel >> 16 & 0xFF) < 0x60 && (pixel >> 8 & 0xFF) < 0x60 && (pixel & 0xFF) < 0x60;
}
int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// What one DPI showed: the launcher tile and the "主页" icon against the
// height of the text beside them.
struct DpiMeasure {
    int tile = 0;
    int tileText = 0;
    int icon = 0;
    int iconText = 0;
};

// At 96, 144 and 192 DPI (Wine's LogPixels, read when the program starts)
// the launcher's tiles and the columns' icons grow with the text: drawn
// for the screen, not left at their 96-DPI size. No label of the skin
// editor is covered by a field or its arrows at any of them. Screenshots of
// the launcher, every tool and every page of the settings and the skin
// editor go to build/<preset>/screenshots/dpi-N-*.png.
TEST(LauncherScreenshots, ImagesAndLayoutFollowTheScreensDpi) {
    test::SampleInstallation installation;
    ASSERT_TRUE(installation.ready());
    test::ScopedUserRegistryValue face(L"Software\\Wine\\Fonts\\Replacements", L"微软雅黑",
                                       std::wstring(L"WenQuanYi Micro Hei"));
    std::vector<std::pair<int, DpiMeasure>> measures;
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        test::ScopedUserRegistryValue logPixels(L"Control Panel\\Desktop", L"LogPixels",
                                                static_cast<DWORD>(dpi));
        LauncherSession session;
        ASSERT_TRUE(session.Start());
        ::Sleep(700);
        const std::wstring folder =
            test::ScreenshotFolder() + L"\\dpi-" + std::to_wstring(dpi) + L"-";
        EXPECT_TRUE(test::SaveWindowScreenshot(session.launcher(), folder + L"launcher.png"));
        DpiMeasure measure;
        {
            // 系统词库管理: the first option has the focus cue in the accent colour.
            const auto shot = test::CaptureWindow(::GetDlgItem(session.launcher(), 257), true);
            ASSERT_TRUE(shot);
            const auto tile = test::BoundsOfPixels(*shot, IsAccent);
            ASSERT_TRUE(tile);
            // The caption and description right of the tile.
            test::WindowPixels text = *shot;
            for (int y = 0; y < text.height; ++y) {
                for (int x = 0; x < std::min<int>(tile->right, text.width); ++x) {
                    text.pixels[static_cast<std::size_t>(y) * text.width + x] = 0xFFFFFF;
                }
            }
            const auto words = test::BoundsOfPixels(text, IsDark);
            ASSERT_TRUE(words);
            measure.tile = Width(*tile);
            measure.tileText = Height(*words);
        }
        for (const ToolRow& row : Tools()) {
            HWND tool = session.OpenTool(row.id, row.title);
            ASSERT_TRUE(tool) << row.id;
            ::Sleep(500);
            const std::wstring name = folder + L"tool-" + std::to_wstring(row.id);
            EXPECT_TRUE(test::SaveWindowScreenshot(tool, name + L".png"));
            if (row.id == 256) {
                const auto shot = test::CaptureWindow(::GetDlgItem(tool, kHomeButtonId), true);
                ASSERT_TRUE(shot);
                const auto icon = test::BoundsOfPixels(*shot, IsAccent);
                const auto words = test::BoundsOfPixels(*shot, IsDark);
                ASSERT_TRUE(icon && words);
                measure.icon = Width(*icon);
                measure.iconText = Height(*words);
            }
            // The pages of the settings (257-262) and of the skin editor (257-260).
            const int lastPage = row.id == 256 ? 262 : row.id == 260 ? 260 : 0;
            for (int page = 258; page <= lastPage; ++page) {
                ::SendMessageW(::GetDlgItem(tool, page), BM_CLICK, 0, 0);
                ::Sleep(300);
                EXPECT_TRUE(test::SaveWindowScreenshot(tool, name + L"-" + std::to_wstring(page) +
                                                                 L".png"));
            }
            if (row.id == 260) {
                std::size_t labels = 0;
                EXPECT_EQ(test::LabelsCoveredByFields(tool, labels), L"");
                EXPECT_GT(labels, 100u);
            }
            ASSERT_TRUE(session.GoHome(tool));
        }
        ::PostMessageW(session.launcher(), WM_COMMAND, IDCANCEL, 0);
        session.process().WaitForExit(20s);
        // The tile is 48 pixels at 96 DPI and the house of "主页" 15 of its 16.
        EXPECT_NEAR(measure.tile, ::MulDiv(48, dpi, 96), 2);
        EXPECT_NEAR(measure.icon, ::MulDiv(15, dpi, 96), 2);
        measures.emplace_back(dpi, measure);
    }
    ASSERT_EQ(measures.size(), 3u);
    const DpiMeasure& base = measures.front().second;
    for (const auto& [dpi, measure] : measures) {
        SCOPED_TRACE(dpi);
        // Beside the text they keep the size they have at 96 DPI.
        EXPECT_NEAR(double(measure.tile) / measure.tileText, double(base.tile) / base.tileText,
                    0.15 * base.tile / base.tileText);
        EXPECT_NEAR(double(measure.icon) / measure.iconText, double(base.icon) / base.iconText,
                    0.15 * base.icon / base.iconText);
    }
}

} // namespace
} // namespace tide
