#include "tools/about/AboutDialog.h"

#include <string>

#include "core/contract/VersionText.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/ResourceIds.h"
#include "win/ImeModule.h"
#include "win/WideText.h"

namespace tide {
namespace {

enum ControlId : int { kAboutButtonId = 4097, kSupportButtonId };
constexpr int kPageX = 78;
constexpr int kPageY = 15;
constexpr int kPageWidth = 184;
constexpr int kPageHeight = 137;
constexpr int kTextX = 15;
constexpr int kTextWidth = kPageWidth - 30;    // W
constexpr int kNarrowWidth = kPageWidth - 108; // N
constexpr DWORD kCentreImage = SS_CENTERIMAGE;
constexpr DWORD kPictureStyle = SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZECONTROL;

constexpr ColumnButtonRow kNavigation[] = {
    {kNavigateButtonClass, L"关于", kAboutButtonId, 45, kIconAbout},
    {kNavigateButtonClass, L"支持我们", kSupportButtonId, 59, kIconSupport},
    {kCommandButtonClass, L"确定", IDOK, 115, kIconOk},
};

struct TextRow {
    int id;
    int y;
    int width;
    int height;
    DWORD style;
    const wchar_t* text; // nullptr: filled in when created
    bool heading;
};

// clang-format off
constexpr TextRow kAboutTexts[] = {
    {257, 0,   kTextWidth, 9, kCentreImage, L"潮 汐 输 入 法", true},
    {258, 9,   kTextWidth, 8, kCentreImage, L"Tide Chinese Input Method", false},
    {259, 24,  kTextWidth, 8, kCentreImage, nullptr, false}, // version
    {260, 32,  kTextWidth, 8, kCentreImage, nullptr, false}, // release date
    {261, 40,  kTextWidth, 8, kCentreImage, L"语言：中文（简体，中国）", false},
    {262, 48,  kTextWidth, 8, kCentreImage, L"字集：GB18030", false},
    {263, 56,  kTextWidth, 8, 0,            L"适用：Windows XP/7/10(32bit and 64bit)", false},
    {264, 64,  kTextWidth, 8, kCentreImage, L"支持：桌面应用程序/应用商店应用程序", false},
    {265, 72,  kTextWidth, 8, kCentreImage, L"网站：潮汐输入法官方网站", false},
    {266, 80,  kTextWidth, 8, kCentreImage, L"版权所有 © 潮汐输入法开发组，保留所有权利。", false},
    {267, 95,  kTextWidth, 8, kCentreImage, L"本软件免费提供，按现状提供，不附带任何担保；", false},
    {268, 103, kTextWidth, 8, kCentreImage, L"使用本软件即表示您同意自行承担使用风险。", false},
};

constexpr TextRow kSupportTexts[] = {
    {513, 0,   kTextWidth,   10, kCentreImage, L"潮汐输入法期待您的支持！", true},
    {514, 16,  kTextWidth,   8,  kCentreImage, L"\u3000\u3000潮汐输入法为免费软件，开发工作需要您的支", false},
    {515, 24,  kTextWidth,   8,  kCentreImage, L"持。", false},
    {516, 32,  kTextWidth,   8,  kCentreImage, L"\u3000\u3000如果您是潮汐输入法的用户，且得到了潮汐输", false},
    {517, 40,  kTextWidth,   8,  kCentreImage, L"入法提供的便利，请您在方便的时候，用手机微信", false},
    {518, 48,  kTextWidth,   8,  kCentreImage, L"“扫一扫”右下角的二维码，支持一下潮汐输入法", false},
    {519, 56,  kNarrowWidth, 8,  kCentreImage, L"的开发工作。", false},
    {520, 64,  kNarrowWidth, 8,  kCentreImage, L"\u3000\u3000您的支持，是对我们", false},
    {521, 72,  kNarrowWidth, 8,  kCentreImage, L"的鼓励。我们将一如既往", false},
    {522, 80,  kNarrowWidth, 8,  kCentreImage, L"的做好潮汐输入法的开发", false},
    {523, 88,  kNarrowWidth, 8,  kCentreImage, L"和维护，以更优的质量、", false},
    {524, 96,  kNarrowWidth, 8,  kCentreImage, L"更好的服务回报您的厚爱", false},
    {525, 104, kNarrowWidth, 8,  kCentreImage, L"和支持。谢谢！！！", false},
};
// clang-format on
constexpr int kPictureId = 526;

// The texts of a page; headings take `headingFont`, made on first use.
template <std::size_t N>
void CreateTexts(const CDialog& owner, HWND page, const TextRow (&rows)[N],
                 const std::wstring& version, FontHandle& headingFont) {
    for (const TextRow& row : rows) {
        std::wstring text;
        if (row.text) {
            text = row.text;
        } else if (row.id == 259) {
            text = L"版本：" + version;
        } else {
            text = L"发布：" + ToWide(FormatReleaseDate(AsU16(version)));
        }
        HWND control = CreateControl(owner, L"Static", text.c_str(), row.style, kTextX, row.y,
                                     row.width, row.height, page, row.id);
        if (row.heading) {
            if (!headingFont) {
                headingFont = CreateUiFont(page, L"微软雅黑", 12);
            }
            ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont.get()), FALSE);
        }
    }
}

INT_PTR WhiteBackground(UINT message) {
    if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC) {
        return WhiteBackgroundBrush();
    }
    return FALSE;
}

} // namespace

INT_PTR CAboutDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CreateColumnButtons(*this, navigationWidth(), kNavigation, dialog);
        SelectNavigateButton(dialog, kAboutButtonId, kSupportButtonId, kAboutButtonId);
        aboutPage_ =
            CreatePageDialog(*this, DialogProcFor<CAboutDialog, &CAboutDialog::AboutPageMessage>,
                             true, kPageX, kPageY, kPageWidth, kPageHeight, dialog);
        supportPage_ =
            CreatePageDialog(*this, DialogProcFor<CAboutDialog, &CAboutDialog::SupportPageMessage>,
                             false, kPageX, kPageY, kPageWidth, kPageHeight, dialog);
        return TRUE;
    case WM_COMMAND: {
        static constexpr CommandRow<CAboutDialog> kHandlers[] = {
            {IDOK, &CAboutDialog::EndWithOk},
            {kAboutButtonId, &CAboutDialog::ShowAboutPage},
            {kSupportButtonId, &CAboutDialog::ShowSupportPage},
        };
        return RunCommand(*this, kHandlers, dialog, wParam);
    }
    case WM_DESTROY:
        if (aboutPage_) {
            ::DestroyWindow(aboutPage_);
        }
        if (supportPage_) {
            ::DestroyWindow(supportPage_);
        }
        aboutPage_ = supportPage_ = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CAboutDialog::AboutPageMessage(HWND page, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        CreateTexts(*this, page, kAboutTexts, InstalledImeVersionText(), headingFont_);
        return TRUE;
    }
    return WhiteBackground(message);
}

INT_PTR CAboutDialog::SupportPageMessage(HWND page, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        CreateTexts(*this, page, kSupportTexts, L"", headingFont_);
        HWND picture = CreateControl(*this, L"Static", L"", kPictureStyle, kPageWidth - 90, 57, 70,
                                     62, page, kPictureId);
        images().Show(picture, LoadPngBitmap(page, kPngSupport));
        return TRUE;
    }
    return WhiteBackground(message);
}

void CAboutDialog::ShowAboutPage(HWND) {
    ::ShowWindow(supportPage_, SW_HIDE);
    ::ShowWindow(aboutPage_, SW_SHOW);
}

void CAboutDialog::ShowSupportPage(HWND) {
    ::ShowWindow(aboutPage_, SW_HIDE);
    ::ShowWindow(supportPage_, SW_SHOW);
}

} // namespace tide
