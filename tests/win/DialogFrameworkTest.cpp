// The framed dialog and its buttons, run for real in the test process.
#include <gtest/gtest.h>

#include <vector>

#include "app/AppGlobals.h"
#include "app/ResourceIds.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "ui/Buttons.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/UiFont.h"

namespace tide {
namespace {

constexpr UINT kRunChecks = WM_APP + 10;

// Records what reaches it; each test's checks run once the dialog is up.
class ProbeDialog : public CDialogBox {
public:
    ProbeDialog() : CDialogBox(::GetModuleHandleW(nullptr), nullptr) {}

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            window = dialog;
            ::PostMessageW(dialog, kRunChecks, 0, 0);
        } else if (message == WM_LBUTTONDOWN) {
            clicksSeen.push_back(static_cast<short>(HIWORD(lParam)));
        } else if (message == kRunChecks && checks) {
            checks(*this);
        }
        return FALSE;
    }
    void OnHome(HWND) override { ++homeCalls; }

    HWND window = nullptr;
    int homeCalls = 0;
    std::vector<int> clicksSeen;
    void (*checks)(ProbeDialog&) = nullptr;
};

// Layout units to pixels, corrected like the frame when the fallback face is in use.
int UnitsToPixelsY(HWND dialog, int units) {
    RECT r = {0, UsingFallbackFace() ? ScaleTemplateForFallbackFace({0, units, 0, 0}).y : units, 0,
              0};
    ::MapDialogRect(dialog, &r);
    return r.top;
}

TEST(FramedDialog, HomeCallsOnHomeFirstAndEscDoesNot) {
    ProbeDialog home;
    home.checks = [](ProbeDialog& d) { ::PostMessageW(d.window, WM_COMMAND, kHomeButtonId, 0); };
    EXPECT_EQ(home.ShowModal(L"测试", 262, 152, 0), kResultHome);
    EXPECT_EQ(home.homeCalls, 1);
    EXPECT_EQ(home.navigationWidth(), 78);

    ProbeDialog esc;
    esc.checks = [](ProbeDialog& d) { ::PostMessageW(d.window, WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(esc.ShowModal(L"测试", 300, 152, 0), kResultCancel);
    EXPECT_EQ(esc.homeCalls, 0);
    EXPECT_EQ(esc.navigationWidth(), 90);

    ProbeDialog close;
    close.checks = [](ProbeDialog& d) { ::PostMessageW(d.window, WM_COMMAND, kCloseButtonId, 0); };
    EXPECT_EQ(close.ShowModal(L"测试", 262, 152, 80), kResultClose);
    EXPECT_EQ(close.navigationWidth(), 80);
}

// Swallows the caption drag the frame starts, so no move loop runs in a test.
WNDPROC g_dialogProc = nullptr;
int g_dragsStarted = 0;
LRESULT CALLBACK RecordDrag(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
        ++g_dragsStarted;
        return 0;
    }
    return ::CallWindowProcW(g_dialogProc, window, message, wParam, lParam);
}

TEST(FramedDialog, TheTopBandDragsAndBelowItTheClassSeesTheClick) {
    ProbeDialog probe;
    g_dragsStarted = 0;
    probe.checks = [](ProbeDialog& d) {
        g_dialogProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(d.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordDrag)));
        const int at10 = UnitsToPixelsY(d.window, 10);
        const int at20 = UnitsToPixelsY(d.window, 20);
        ::SendMessageW(d.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, at10));
        ::SendMessageW(d.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, at20));
        ::SetWindowLongPtrW(d.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dialogProc));
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
    EXPECT_EQ(g_dragsStarted, 1) << "10 units down drags the window";
    ASSERT_EQ(probe.clicksSeen.size(), 1u) << "20 units down reaches the dialog's own handler";
}

TEST(FramedDialog, ClickingANavigateButtonMarksItAndClearsItsSiblings) {
    ProbeDialog probe;
    probe.checks = [](ProbeDialog& d) {
        for (int id : {100, 101, 102}) {
            CreateColumnButton(d, kNavigateButtonClass, d.navigationWidth(), L"页",
                               40 + 14 * (id - 100), d.window, id, 0);
        }
        SelectNavigateButton(d.window, 100, 101, 100);
        HWND first = ::GetDlgItem(d.window, 100);
        HWND second = ::GetDlgItem(d.window, 101);
        HWND outside = ::GetDlgItem(d.window, 102);
        EXPECT_EQ(::GetWindowLongPtrW(first, GWLP_USERDATA), 1);
        EXPECT_EQ(::GetWindowLongPtrW(second, GWLP_USERDATA), 0);
        ::SetWindowLongPtrW(outside, GWLP_USERDATA, 1);
        ::SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        ::SendMessageW(second, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(::GetWindowLongPtrW(first, GWLP_USERDATA), 0);
        EXPECT_EQ(::GetWindowLongPtrW(second, GWLP_USERDATA), 1);
        EXPECT_EQ(::GetWindowLongPtrW(outside, GWLP_USERDATA), 0)
            << "siblings outside the range too";
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
}

// The first column from the left that holds a dark (text) pixel; the icons
// are coloured, the background light.
int FirstTextColumn(const test::WindowPixels& shot) {
    for (int x = 0; x < shot.width; ++x) {
        for (int y = 0; y < shot.height; ++y) {
            const std::uint32_t pixel = shot.At(x, y);
            if ((pixel & 0xFF) < 0x60 && ((pixel >> 8) & 0xFF) < 0x60 &&
                ((pixel >> 16) & 0xFF) < 0x60) {
                return x;
            }
        }
    }
    return -1;
}

bool HasColouredPixelIn(const test::WindowPixels& shot, int left, int right) {
    for (int x = left; x < right && x < shot.width; ++x) {
        for (int y = 0; y < shot.height; ++y) {
            if ((shot.At(x, y) & 0xFF) > 0xA0 && ((shot.At(x, y) >> 16) & 0xFF) < 0x40) {
                return true;
            }
        }
    }
    return false;
}

TEST(CommandButton, TextStartsAfterTheMarginAndTheIconIfAny) {
    ProbeDialog probe;
    probe.checks = [](ProbeDialog& d) {
        HWND plain = CreateCommandButton(d, d.navigationWidth(), L"导入", 40, d.window, 100, 0);
        HWND withIcon = CreateCommandButton(d, d.navigationWidth(), L"导入", 60, d.window, 101, 0);
        LoadedLibrary resources(
            ::LoadLibraryExW((test::BinDirectory() + L"\\TideSetup.exe").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(resources);
        ::SendMessageW(withIcon, BM_SETIMAGE, IMAGE_ICON,
                       reinterpret_cast<LPARAM>(::LoadImageW(
                           resources.get(), MAKEINTRESOURCEW(kIconImport), IMAGE_ICON, 16, 16, 0)));
        ::RedrawWindow(d.window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::PumpMessagesFor(std::chrono::milliseconds(300));
        RECT margin = {15, 0, 0, 0};
        ::MapDialogRect(d.window, &margin);
        const int half = MeasureHalfCharWidth(d.window).cx;
        const auto plainShot = test::CaptureWindow(plain, true);
        const auto iconShot = test::CaptureWindow(withIcon, true);
        ASSERT_TRUE(plainShot && iconShot);
        const int plainStart = FirstTextColumn(*plainShot);
        const int iconStart = FirstTextColumn(*iconShot);
        // The glyph's own side bearing comes on top of where its box starts.
        EXPECT_GE(plainStart, margin.left + half);
        EXPECT_LE(plainStart, margin.left + half + 5);
        EXPECT_EQ(iconStart - plainStart, half + 16) << "the icon and another h before the text";
        EXPECT_TRUE(HasColouredPixelIn(*iconShot, margin.left, margin.left + 16)) << "the icon";
        EXPECT_FALSE(HasColouredPixelIn(*plainShot, 0, plainShot->width)) << "no icon";
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
}

TEST(OptionButton, TextSplitsAtTheFirstSlash) {
    EXPECT_EQ(SplitOptionText(L"皮肤编辑/个性化皮肤制作").first, L"皮肤编辑");
    EXPECT_EQ(SplitOptionText(L"皮肤编辑/个性化皮肤制作").second, L"个性化皮肤制作");
    EXPECT_EQ(SplitOptionText(L"a/b/c").second, L"b/c");
    EXPECT_EQ(SplitOptionText(L"关于").first, L"关于");
    EXPECT_TRUE(SplitOptionText(L"关于").second.empty()) << "no description";
}

} // namespace
} // namespace tide
