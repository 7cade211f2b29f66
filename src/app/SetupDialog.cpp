#include "app/SetupDialog.h"

#include <string>

#include "app/AboutDialog.h"
#include "dict/SystemDictDialog.h"
#include "app/ResourceIds.h"
#include "app/ToolTitles.h"
#include "ui/Buttons.h"
#include "ui/Controls.h"
#include "ui/DialogMemory.h"

namespace tide {
namespace {

constexpr DWORD kLauncherStyle =
    0x80C80880; // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME
constexpr int kLauncherWidth = 342;
constexpr int kLauncherHeight = 240;
constexpr int kOptionWidth = 132;
constexpr int kOptionHeight = 35;
constexpr int kSystemDictToolId = 257;
constexpr int kAboutToolId = 262;

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

HWND CreateOptionButton(const CDialog& owner, HWND parent, const OptionRow& row) {
    const std::wstring text = std::wstring(row.caption) + L"/" + row.description;
    HWND button = CreateControl(owner, kOptionButtonClass, text.c_str(), 0, row.x, row.y,
                                kOptionWidth, kOptionHeight, parent, row.id);
    if (HBITMAP image = LoadPngBitmap(parent, row.image)) {
        ::SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
    }
    return button;
}

// Until a tool is built it opens as a framed dialog with only "主页" and the
// close button.
class CPlaceholderToolDialog : public CDialogBox {
public:
    using CDialogBox::CDialogBox;
};

} // namespace

CSetupDialog* CSetupDialog::current_ = nullptr;

CSetupDialog::CSetupDialog(HINSTANCE instance, HWND owner) : CDialog(instance, owner) {
    width_ = kLauncherWidth;
    height_ = kLauncherHeight;
    current_ = this;
}

CSetupDialog::~CSetupDialog() {
    if (current_ == this) {
        current_ = nullptr;
    }
}

INT_PTR CSetupDialog::Run() {
    DialogTemplateFields fields;
    fields.style = kLauncherStyle;
    fields.title = std::u16string_view(reinterpret_cast<const char16_t*>(kLauncherTitle));
    fields.width = kLauncherWidth;
    fields.height = kLauncherHeight;
    return ShowDialogTemplate(instance_, fields, owner_, DialogProc, 0, true);
}

INT_PTR CALLBACK CSetupDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    CSetupDialog* self = current_;
    if (!self) {
        return FALSE;
    }
    switch (message) {
    case WM_INITDIALOG:
        ::SetClassLongPtrW(dialog, GCLP_HICON,
                           reinterpret_cast<LONG_PTR>(
                               ::LoadIconW(self->instance_, MAKEINTRESOURCEW(kIconApplication))));
        self->optionButtonProc_ =
            RegisterButtonClass(self->instance_, kOptionButtonClass, OptionButtonProc);
        for (const OptionRow& row : kOptions) {
            CreateOptionButton(*self, dialog, row);
        }
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
        ::UnregisterClassW(kOptionButtonClass, self->instance_);
        return FALSE;
    case WM_COMMAND:
        return self->OnCommand(dialog, LOWORD(wParam));
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
    for (const ToolRow& row : kTools) {
        if (row.id != id) {
            continue;
        }
        if (RunTool(row, instance_, dialog) == kResultHome) {
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

INT_PTR RunTool(const ToolRow& row, HINSTANCE instance, HWND owner) {
    if (row.id == kAboutToolId) {
        CAboutDialog about(instance, owner);
        return about.ShowModal(row.title, row.width, row.height, row.navigationWidth);
    }
    if (row.id == kSystemDictToolId) {
        CSystemDictDialog systemDict(instance, owner);
        return systemDict.ShowModal(row.title, row.width, row.height, row.navigationWidth);
    }
    CPlaceholderToolDialog tool(instance, owner);
    return tool.ShowModal(row.title, row.width, row.height, row.navigationWidth);
}

} // namespace tide
