#include "ui/FileDialogs.h"

#include <commdlg.h>

#include "win/ProcessGlobals.h"

namespace tide {
namespace {

constexpr DWORD kFileDialogFlags =
    OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
static_assert(kFileDialogFlags == 0x00081824);

struct FileDialogRow {
    bool save;
    const wchar_t* filter; // display and pattern, each NUL-terminated, then a final NUL
    const wchar_t* title;
    const wchar_t* defaultExtension;
};

// clang-format off
constexpr FileDialogRow kFileDialogs[] = {
    {false, L"文本文件(*.TXT)\0*.txt\0",        L"打开导入文件",       nullptr},
    {false, L"词库文件(*.IMC)\0*.imc\0",        L"打开词库文件",       nullptr},
    {false, L"设置备份文件(*.CBK)\0*.cbk\0",    L"打开设置备份文件",   nullptr},
    {false, L"皮肤文件(*.IMS)\0*.ims\0",        L"打开皮肤文件",       nullptr},
    {false, L"PNG文件(*.PNG)\0*.png\0",         L"打开PNG文件",        nullptr},
    {true,  L"文本文件(*.TXT)\0*.txt\0",        L"导出文件保存为",     L"txt"},
    {true,  L"词库文件(*.IMC)\0*.imc\0",        L"词库文件另存为",     L"imc"},
    {true,  L"设置备份文件(*.CBK)\0*.cbk\0",    L"保存设置备份文件为", L"cbk"},
    {true,  L"皮肤文件(*.IMS)\0*.ims\0",        L"保存皮肤文件为",     L"ims"},
    {false, L"文本文件和细胞词库(*.TXT;*.SCEL)\0*.txt;*.scel\0文本文件(*.TXT)\0*.txt\0"
            L"搜狗细胞词库(*.SCEL)\0*.scel\0", L"打开导入文件",       nullptr},
};
// clang-format on

// The explorer-style dialog needs a hook for the flags above; it handles nothing.
UINT_PTR CALLBACK IgnoreHook(HWND, UINT, WPARAM, LPARAM) noexcept {
    return 0;
}

} // namespace

BOOL ShowFileDialog(HWND owner, PathBuffer& path, FileKind kind) {
    path[0] = L'\0';
    const auto index = static_cast<std::size_t>(kind);
    if (index >= std::size(kFileDialogs)) {
        return FALSE;
    }
    const FileDialogRow& row = kFileDialogs[index];
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.hInstance = g_instance;
    dialog.lpstrFilter = row.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathCapacity;
    dialog.lpstrTitle = row.title;
    dialog.lpstrDefExt = row.defaultExtension;
    dialog.Flags = kFileDialogFlags;
    dialog.lpfnHook = IgnoreHook;
    return row.save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
}

} // namespace tide
