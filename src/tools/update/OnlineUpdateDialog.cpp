#include "tools/update/OnlineUpdateDialog.h"

#include <string>

#include "core/contract/VersionText.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/ResourceIds.h"
#include "ui/InfoMessage.h"
#include "win/ImeModule.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"

namespace tide {
namespace {

enum ControlId : int {
    kUpdateButtonId = 257,
    kInstalledLineId = 259,
    kLatestLineId,
    kLatestDateLineId,
    kHintLineId,
};

constexpr wchar_t kVersionLabel[] = L"当前版本：";
constexpr wchar_t kLatestLabel[] = L"最新版本：";
constexpr wchar_t kDateLabel[] = L"更新日期：";
constexpr wchar_t kMsgUpToDate[] = L"当前版本即为最新版本，无需更新。";
constexpr wchar_t kMsgCheckFailed[] = L"无法获取最新版本信息，请检查网络连接。";
constexpr wchar_t kMsgUpdateHint[] = L"点“更新”按钮更新潮汐输入法到最新版本。";
constexpr wchar_t kMsgDownloadFailed[] = L"安装程序下载失败，请稍后重试。";
constexpr wchar_t kMsgVerificationFailed[] = L"安装程序校验失败，已取消更新。";
constexpr wchar_t kMsgLaunchFailed[] = L"安装程序无法启动，请稍后重试。";

constexpr ColumnButtonRow kCommands[] = {
    {kCommandButtonClass, L"更新", kUpdateButtonId, 50, kIconUpdate},
    {kCommandButtonClass, L"确定", IDOK, 140, kIconOk},
};

// The text lines, in the content area inset by 15 units on each side.
constexpr int kLineX = 103;
constexpr int kLineWidth = 154;
constexpr int kLineHeight = 8;

struct LineRow {
    int id;
    int y;
};

constexpr LineRow kLines[] = {
    {kInstalledLineId, 30}, // version
    {kInstalledLineId, 43}, // release date
    {kLatestLineId, 68},    {kLatestDateLineId, 81}, {kHintLineId, 94},
};

std::wstring DateLine(const std::wstring& version) {
    return kDateLabel + ToWide(FormatReleaseDate(AsU16(version)));
}

const wchar_t* InstallerMessage(InstallerOutcome outcome) {
    switch (outcome) {
    case InstallerOutcome::DownloadFailed:
        return kMsgDownloadFailed;
    case InstallerOutcome::VerificationFailed:
        return kMsgVerificationFailed;
    case InstallerOutcome::LaunchFailed:
        return kMsgLaunchFailed;
    case InstallerOutcome::Started:
        break;
    }
    return nullptr;
}

} // namespace

INT_PTR COnlineUpdateDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        CreateColumnButtons(*this, navigationWidth(), kCommands, dialog);
        const std::wstring installed = InstalledImeVersionText();
        for (std::size_t i = 0; i < std::size(kLines); ++i) {
            const std::wstring text = i == 0   ? kVersionLabel + installed
                                      : i == 1 ? DateLine(installed)
                                               : std::wstring();
            CreateControl(*this, L"Static", text.c_str(), SS_CENTERIMAGE, kLineX, kLines[i].y,
                          kLineWidth, kLineHeight, dialog, kLines[i].id);
        }
        ShowLatestVersion(dialog, installed);
        return TRUE;
    }
    case WM_COMMAND: {
        static constexpr CommandRow<COnlineUpdateDialog> kHandlers[] = {
            {IDOK, &COnlineUpdateDialog::EndWithOk},
            {kUpdateButtonId, &COnlineUpdateDialog::OnUpdate},
        };
        return RunCommand(*this, kHandlers, dialog, wParam);
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return WhiteBackgroundBrush();
    default:
        return FALSE;
    }
}

void COnlineUpdateDialog::ShowLatestVersion(HWND dialog, const std::wstring& installed) {
    latest_ = FetchLatestVersion();
    std::wstring lines[3];
    bool offer = false;
    if (!latest_ || !ParseVersion(AsU16(latest_->version))) {
        // Nothing fetched, or nothing that names a version: the check failed.
        lines[0] = kMsgCheckFailed;
    } else if (IsUpdateAvailable(AsU16(installed), AsU16(latest_->version))) {
        lines[0] = kLatestLabel + latest_->version;
        lines[1] = DateLine(latest_->version);
        lines[2] = kMsgUpdateHint;
        offer = true;
    } else {
        lines[0] = kMsgUpToDate;
    }
    ::SetDlgItemTextW(dialog, kLatestLineId, lines[0].c_str());
    ::SetDlgItemTextW(dialog, kLatestDateLineId, lines[1].c_str());
    ::SetDlgItemTextW(dialog, kHintLineId, lines[2].c_str());
    ::EnableWindow(::GetDlgItem(dialog, kUpdateButtonId), offer);
}

void COnlineUpdateDialog::OnUpdate(HWND dialog) {
    if (!latest_) {
        return;
    }
    if (const wchar_t* message = InstallerMessage(DownloadAndRunInstaller(*latest_))) {
        ShowInfoMessage(dialog, message);
    }
}

} // namespace tide
