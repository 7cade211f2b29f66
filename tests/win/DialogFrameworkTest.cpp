// The framed dialog and its buttons, run for real in the test process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ui/DialogTemplate.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "ui/Buttons.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"
#include "ui/ResourceIds.h"
#include "ui/UiFont.h"
#include "win/ProcessGlobals.h"

namespace tide {
namespace {

constexpr UINT kRunChecks = WM_APP + 10;

// Records what reaches it; each test's checks run once the dialog is up.
constexpr UINT kCount = WM_APP + 11;
constexpr UINT kThrow = WM_APP + 12;

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
        } else if (message == kCount) {
            ++counted;
            return TRUE;
        } else if (message == kThrow) {
            throw std::runtime_error("handler failed");
        }
        return FALSE;
    }
    bool OnHome(HWND) override {
        ++homeCalls;
        return homeLeaves;
    }
    void PaintContent(HWND, HDC dc) override {
        if (paintMark) {
            BrushHandle red(::CreateSolidBrush(RGB(255, 0, 0)));
            ::FillRect(dc, &*paintMark, red.get());
        }
    }

    HWND window = nullptr;
    int homeCalls = 0;
    bool homeLeaves = true;
    int counted = 0;
    std::optional<RECT> paintMark;
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

    ProbeDialog stays;
    stays.homeLeaves = false;
    stays.checks = [](ProbeDialog& d) {
        ::SendMessageW(d.window, WM_COMMAND, kHomeButtonId, 0);
        EXPECT_TRUE(::IsWindowVisible(d.window)) << "OnHome kept the dialog";
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(stays.ShowModal(L"测试", 262, 152, 0), kResultOk);
    EXPECT_EQ(stays.homeCalls, 1);

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

TEST(FramedDialog, EachDialogKeepsItsOwnMessagesWhateverOtherDialogObjectsDo) {
    ProbeDialog probe;
    probe.checks = [](ProbeDialog& d) {
        { ProbeDialog bystander; } // made and gone while the first is shown
        ProbeDialog nested;
        nested.checks = [](ProbeDialog& inner) {
            ::SendMessageW(inner.window, kCount, 0, 0);
            ::EndDialog(inner.window, kResultOk);
        };
        EXPECT_EQ(nested.ShowModal(L"第二", 200, 120, 0), kResultOk);
        ::SendMessageW(d.window, kCount, 0, 0);
        EXPECT_EQ(nested.counted, 1);
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
    EXPECT_EQ(probe.counted, 1) << "the first dialog still answers after another came and went";
}

// What OutputDebugString said while it is alive. Each call raises
// DBG_PRINTEXCEPTION_C (newer systems raise a wide twin first, with the ANSI
// text as well), which a vectored handler sees before anyone else.
class DebugOutputRecorder {
public:
    DebugOutputRecorder() : handler_(::AddVectoredExceptionHandler(1, &Record)) { current_ = this; }
    ~DebugOutputRecorder() {
        ::RemoveVectoredExceptionHandler(handler_);
        current_ = nullptr;
    }
    DebugOutputRecorder(const DebugOutputRecorder&) = delete;
    DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

    std::string text;

private:
    static LONG CALLBACK Record(EXCEPTION_POINTERS* pointers) {
        constexpr DWORD kPrint = 0x40010006;     // DBG_PRINTEXCEPTION_C
        constexpr DWORD kWidePrint = 0x4001000A; // DBG_PRINTEXCEPTION_WIDE_C
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        if (current_ && record.ExceptionCode == kPrint && record.NumberParameters >= 2) {
            current_->text += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        } else if (current_ && record.ExceptionCode == kWidePrint && record.NumberParameters >= 4) {
            current_->text += reinterpret_cast<const char*>(record.ExceptionInformation[3]);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline DebugOutputRecorder* current_ = nullptr;
    void* handler_;
};

TEST(FramedDialog, AnExceptionInAHandlerStopsAtTheDialogProcedureAndLeavesATrace) {
    ProbeDialog probe;
    DebugOutputRecorder output;
    probe.checks = [](ProbeDialog& d) {
        ::SendMessageW(d.window, kThrow, 0, 0);
        ::SendMessageW(d.window, kCount, 0, 0);
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
    EXPECT_EQ(probe.counted, 1) << "the dialog goes on after the exception";
    EXPECT_NE(output.text.find("a message handler threw"), std::string::npos) << output.text;
    EXPECT_NE(output.text.find("handler failed"), std::string::npos)
        << "the exception's own words are in the trace: " << output.text;
}

TEST(FramedDialog, TheToolPaintsAfterTheFrame) {
    ProbeDialog probe;
    probe.paintMark = RECT{200, 100, 220, 120};
    probe.checks = [](ProbeDialog& d) {
        ::RedrawWindow(d.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        test::PumpMessagesFor(std::chrono::milliseconds(200));
        const auto shot = test::CaptureWindow(d.window, true);
        ASSERT_TRUE(shot);
        EXPECT_EQ(shot->At(210, 110) & 0xFFFFFF, 0xFF0000u) << "the tool's own painting";
        EXPECT_NE(shot->At(2, 110) & 0xFFFFFF, 0xFFFFFFu) << "the navigation column";
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
}

TEST(ToolButtons, EachButtonKeepsItsOwnHoverState) {
    ProbeDialog probe;
    probe.checks = [](ProbeDialog& d) {
        HWND first = CreateCommandButton(d, d.navigationWidth(), L"导入", 40, d.window, 100, 0);
        HWND second = CreateCommandButton(d, d.navigationWidth(), L"导出", 54, d.window, 101, 0);
        HWND page = CreateColumnButton(d, kNavigateButtonClass, d.navigationWidth(), L"页", 68,
                                       d.window, 102, 0);
        ::SendMessageW(first, WM_MOUSEHOVER, 0, MAKELPARAM(2, 2));
        ::SendMessageW(page, WM_MOUSEHOVER, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(IsButtonHovered(first));
        EXPECT_FALSE(IsButtonHovered(second)) << "a sibling of the same class";
        EXPECT_TRUE(IsButtonHovered(page));
        ::SendMessageW(first, WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(IsButtonHovered(first));
        EXPECT_TRUE(IsButtonHovered(page)) << "leaving one button leaves the others as they are";
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
}

// A 32-bpp bitmap with alpha, as LoadPngBitmap makes them.
BitmapHandle AlphaBitmap(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bits) {
        auto* pixels = static_cast<std::uint32_t*>(bits);
        std::fill(pixels, pixels + width * height, 0xFF336699u);
    }
    return bitmap;
}

TEST(ControlImages, ImagesAreTakenBackFromTheControlsAndFreedOnce) {
    ProbeDialog probe;
    probe.checks = [](ProbeDialog& d) {
        HWND picture = CreateControl(d, L"Static", L"", SS_BITMAP, 100, 40, 40, 40, d.window, 100);
        HWND button = CreateControl(d, L"Button", L"", BS_BITMAP, 150, 40, 40, 20, d.window, 101);
        HBITMAP shown = nullptr;
        HBITMAP replaced = nullptr;
        {
            ControlImages images;
            BitmapHandle first = AlphaBitmap(8, 8);
            replaced = first.get();
            images.Show(picture, std::move(first));
            BitmapHandle second = AlphaBitmap(16, 16);
            shown = second.get();
            images.Show(picture, std::move(second));
            images.Show(button, AlphaBitmap(4, 4));
            HBITMAP inControl =
                reinterpret_cast<HBITMAP>(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
            ASSERT_NE(inControl, nullptr);
            EXPECT_NE(::GetObjectType(replaced), 0u) << "a replaced image lives on with its owner";
            images.TakeBack();
            EXPECT_EQ(::SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
            EXPECT_EQ(::SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
            if (inControl != shown) {
                EXPECT_EQ(::GetObjectType(inControl), 0u) << "the control's own copy is freed";
            }
            EXPECT_NE(::GetObjectType(shown), 0u) << "ours until the owner goes";
        }
        EXPECT_EQ(::GetObjectType(shown), 0u);
        EXPECT_EQ(::GetObjectType(replaced), 0u);
        ::EndDialog(d.window, kResultOk);
    };
    EXPECT_EQ(probe.ShowModal(L"测试", 262, 152, 0), kResultOk);
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
        d.images().Show(
            withIcon, IconHandle(static_cast<HICON>(::LoadImageW(
                          resources.get(), MAKEINTRESOURCEW(kIconImport), IMAGE_ICON, 16, 16, 0))));
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

// A tool that makes part of itself after it shows: three steps, the second
// taking the focus to a field as a page made then would.
class DeferringDialog : public CDialogBox {
public:
    DeferringDialog() : CDialogBox(::GetModuleHandleW(nullptr), nullptr) {}

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) {
            CreateControl(*this, L"Button", L"甲", WS_TABSTOP, 100, 20, 40, 14, dialog, 501);
            DeferCreationSteps(dialog, 3);
            ::PostMessageW(dialog, kRunChecks, 0, 0); // after the steps, as input comes
            return TRUE;                              // the frame focuses the first control
        } else if (message == kRunChecks) {
            focusAtChecks = ::GetFocus();
            ::EndDialog(dialog, kResultOk);
        }
        return FALSE;
    }
    void CreateStep(HWND dialog, int step) override {
        steps.push_back(step);
        if (step == 0) {
            shownAtFirstStep = ::IsWindowVisible(dialog) != FALSE;
            paintedAtFirstStep = !::GetUpdateRect(dialog, nullptr, FALSE);
            focusBeforeSteps = ::GetFocus();
            focusIdBeforeSteps = ::GetDlgCtrlID(focusBeforeSteps);
        } else if (step == 1) {
            ::SetFocus(CreateControl(*this, L"Edit", L"", WS_BORDER | WS_TABSTOP, 100, 40, 40, 10,
                                     dialog, 502));
        }
    }

    std::vector<int> steps;
    bool shownAtFirstStep = false;
    bool paintedAtFirstStep = false;
    HWND focusBeforeSteps = nullptr;
    int focusIdBeforeSteps = 0;
    HWND focusAtChecks = nullptr;
};

TEST(FramedDialog, DeferredStepsRunInOrderAfterTheFirstPaintAndKeepTheFocus) {
    DeferringDialog dialog;
    ASSERT_EQ(dialog.ShowModal(L"测试", 262, 152, 0), kResultOk);
    EXPECT_EQ(dialog.steps, (std::vector<int>{0, 1, 2})) << "all of them, before what came later";
    EXPECT_TRUE(dialog.shownAtFirstStep);
    EXPECT_TRUE(dialog.paintedAtFirstStep);
    ASSERT_TRUE(dialog.focusBeforeSteps);
    EXPECT_EQ(dialog.focusIdBeforeSteps, 501) << "the tool's first control";
    EXPECT_EQ(dialog.focusAtChecks, dialog.focusBeforeSteps);
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
