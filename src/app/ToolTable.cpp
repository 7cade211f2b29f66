#include "app/ToolTable.h"

#include "tools/about/AboutDialog.h"
#include "tools/settings/ConfigureDialog.h"
#include "tools/skineditor/SkinEditor.h"
#include "tools/systemdict/SystemDictDialog.h"
#include "tools/update/OnlineUpdateDialog.h"
#include "tools/userdict/UserDictDialog.h"
#include "tools/wordmaking/CustomEntryDialog.h"

namespace tide {
namespace {

template <typename Tool>
INT_PTR RunFramed(const ToolRow& row, HINSTANCE instance, HWND owner) {
    Tool tool(instance, owner);
    return tool.ShowModal(row.title, row.width, row.height, row.navigationWidth);
}

// clang-format off
constexpr ToolRow kTools[] = {
    {256, L"输入法配置",   300, 265, 90, RunFramed<CConfigureDialog>},
    {257, L"系统词库管理", 262, 180, 0,  RunFramed<CSystemDictDialog>},
    {258, L"用户词库管理", 300, 177, 0,  RunFramed<CUserDictDialog>},
    {259, L"添加用户词条", 262, 177, 0,  RunFramed<CCustomEntryDialog>},
    {260, L"皮肤编辑",     460, 300, 80, RunFramed<CSkinEditor>},
    {261, L"在线更新",     262, 177, 0,  RunFramed<COnlineUpdateDialog>},
    {262, L"关于...",      262, 152, 0,  RunFramed<CAboutDialog>},
};
// clang-format on

} // namespace

std::span<const ToolRow> Tools() {
    return kTools;
}

const ToolRow* FindTool(int id) {
    for (const ToolRow& row : kTools) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace tide
