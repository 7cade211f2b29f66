#include "app/SetupDialog.h"

#include <string>

#include "app/ToolTable.h"
#include "app/ToolTitles.h"
#include "ui/Buttons.h"
#include "ui/Controls.h"
#include "ui/ResourceIds.h"

namespace tide {
namespace {

constexpr DWORD kLauncherStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
constexpr int kLauncherWidth = 342;
constexpr int kLauncherHeight = 240;
constexpr int kOptionWidth = 132;
constexpr int kOptionHeight = 35;

struct OptionRow {
    const wchar_t* caption;
    const wchar_t* description;
    int id;
    int x;
    int y;
    int image;
};

// clang-format off
constexpr OptionRow kOptions[] = {
    {L"输入法配置",   L"输入状态、输入模式、检索范围、按键定义", 256, 30,  20,  kPngOptionConfig},
    {L"系统词库管理", L"导入、导出、添加、移除、选择系统词库",   257, 180, 20,  kPngOptionSystemDict},
    {L"用户词库管理", L"导入、导出、删除、清除用户词条",         258, 30,  70,  kPngOptionUserDict},
    {L"添加用户词条", L"用户自定义词条",                         259, 180, 70,  kPngOptionCustomEntry},
    {L"皮肤编辑",     L"个性化皮肤制作",                         260, 30,  120, kPngOptionSkin},
    {L"在线更新",     L"新版检测、在线更新",                     261, 180, 120, kPngOptionUpdate},
    {L"关于",         L"版本、版权、资助、致谢等信息",           262, 30,  170, kPngOptionAbout},
};
// clang-format on

HWND CreateOptionButton(CDialog& owner, HWND parent, const OptionRow& row) {
    const std::wstring text = std::wstring(row.caption) + L"/" + row.description;
    HWND button = CreateControl(owner, kOptionButtonClass, text.c_str(), WS_TABSTOP, row.x, row.y,
                                kOptionWidth, kOptionHeight, parent, row.id);
    owner.images().Show(button, LoadPngBitmapForScreen(parent, row.image));
    return button;
}

} // namespace

CSetupDialog::CSetupDialog(HINSTANCE instance, HWND owner) : CDialog(instance, owner) {
    width_ = kLauncherWidth;
    height_ = kLauncherHeight;
}

INT_PTR CSetupDialog::Run() {
    return CreateChildDialog(
        *this, kLauncherStyle, 0, kLauncherTitle, 0, 0, kLauncherWidth, kLauncherHeight,
        DialogProcFor<CSetupDialog, &CSetupDialog::HandleMessage>, owner_, true);
}

INT_PTR CSetupDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ::SetClassLongPtrW(
            dialog, GCLP_HICON,
            reinterpret_cast<LONG_PTR>(::LoadIconW(instance_, MAKEINTRESOURCEW(kIconApplication))));
        RegisterButtonClass(instance_, kOptionButtonClass, OptionButtonProc);
        for (const OptionRow& row : kOptions) {
            CreateOptionButton(*this, dialog, row);
        }
        return TRUE;
    case WM_CTLCOLORDLG:
        return WhiteBackgroundBrush();
    case WM_DESTROY:
        images_.TakeBack();
        return FALSE;
    case WM_NCDESTROY:
        ::UnregisterClassW(kOptionButtonClass, instance_); // its buttons are gone now
        return FALSE;
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}

INT_PTR CSetupDialog::OnCommand(HWND dialog, int id) {
    ::ShowWindow(dialog, SW_HIDE);
    if (id == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    if (const ToolRow* tool = FindTool(id)) {
        if (RunTool(*tool, instance_, dialog) == kResultHome) {
            ::ShowWindow(dialog, SW_SHOW);
            ::UpdateWindow(dialog);
        } else {
            ::EndDialog(dialog, IDCANCEL);
        }
        return TRUE;
    }
    ::ShowWindow(dialog, SW_SHOW);
    ::UpdateWindow(dialog);
    return 0;
}

} // namespace tide
