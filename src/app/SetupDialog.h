// The launcher: a captioned dialog with one option button per tool. A tool
// runs with the launcher hidden; its "主页" brings the launcher back, any
// other way out ends the program.
#pragma once

#include <windows.h>

#include "ui/Dialog.h"

namespace tide {

class CSetupDialog : public CDialog {
public:
    CSetupDialog(HINSTANCE instance, HWND owner);
    ~CSetupDialog() override;

    // The launcher's modal result (the process exit code); -1 when the
    // template memory cannot be had.
    INT_PTR Run();

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(HWND dialog, int id);

    static CSetupDialog* current_;
    WNDPROC optionButtonProc_ = nullptr;
};

// The tool behind an option button: its framed dialog run modally.
struct ToolRow {
    int id;
    const wchar_t* title;
    int width;
    int height;
    int navigationWidth; // 0: three tenths of the width
};

// clang-format off
inline constexpr ToolRow kTools[] = {
    {256, L"输入法配置",   300, 265, 0},
    {257, L"系统词库管理", 262, 180, 0},
    {258, L"用户词库管理", 300, 177, 0},
    {259, L"添加用户词条", 262, 177, 0},
    {260, L"皮肤编辑",     460, 300, 80},
    {261, L"在线更新",     262, 177, 0},
    {262, L"关于...",      262, 152, 0},
};
// clang-format on

// Runs the tool of `row` with `owner` as its owner and returns its result.
INT_PTR RunTool(const ToolRow& row, HINSTANCE instance, HWND owner);

} // namespace tide
