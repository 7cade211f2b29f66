// The skin page: the skins installed in InstallDir\Skin listed by name, the
// current one switched, imported, exported or removed at once (each change
// saved and announced to the input method), and the current skin's preview
// picture in a scrolling window.
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/base/FixedText.h"
#include "core/skin/SkinFormat.h"
#include "tools/settings/ConfigureDialog.h"
#include "tools/settings/SettingsPages.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/Scrolling.h"
#include "ui/InfoMessage.h"
#include "win/FileDeletion.h"
#include "win/InstallPaths.h"
#include "win/InstalledFiles.h"
#include "win/PathBuffer.h"
#include "win/ProcessGlobals.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/skin/PreviewCanvas.h"
#include "win/skin/SkinFile.h"

namespace tide {
namespace {

enum ControlId : int { kListId = 1281, kImportId, kExportId, kRemoveId };
constexpr int kPreviewX = 18;
constexpr int kPreviewY = 60;
constexpr int kPreviewWidth = 230;
constexpr int kPreviewBottomGap = 83;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;

// clang-format off
constexpr PageRow kRows[] = {
    {RowKind::Heading, L"皮肤管理",   kHeadingId, 18, 0,  57,  8,  {}},
    {RowKind::Button,  L"导入",       kImportId,  18, 13, 50,  12, {}},
    {RowKind::Button,  L"导出",       kExportId,  78, 13, 50,  12, {}},
    {RowKind::Button,  L"移去",       kRemoveId,  138, 13, 50, 12, {}},
    {RowKind::Heading, L"皮肤切换",   kHeadingId, 18, 29, 57,  8,  {}},
    {RowKind::Label,   L"当前皮肤：", 0,          18, 43, 35,  8,  {}},
    {RowKind::List,    nullptr,       kListId,    54, 42, 139, 48, {}, 0, WS_HSCROLL},
};
// clang-format on

constexpr wchar_t kCaption[] = L"提示";
constexpr wchar_t kMsgIncomplete[] = L"该皮肤文件资源不完整，不能导入！";
constexpr wchar_t kAskOverwrite[] = L"存在同名文件，是否覆盖？";
constexpr wchar_t kMsgExported[] = L"皮肤导出成功，祝您使用愉快！";
constexpr wchar_t kMsgOnlySkin[] = L"皮肤唯一，不得移除！";
constexpr wchar_t kMsgRemoved[] = L"皮肤移除成功，祝您使用愉快！";
// What the page says instead of a success that did not happen.
constexpr wchar_t kMsgImportFailed[] = L"皮肤导入失败，文件无法复制到皮肤目录！";
constexpr wchar_t kMsgExportFailed[] = L"皮肤导出失败，文件无法写入！";
constexpr wchar_t kMsgRemoveFailed[] = L"皮肤移除失败，文件无法删除！";
constexpr wchar_t kMsgNameTooLong[] = L"皮肤文件名过长，不能设为当前皮肤！";

// InstallDir\Skin, or empty when the installation is not recorded.
std::wstring SkinFolder() {
    PathBuffer folder;
    if (!QueryInstallDir(folder) || !::PathAppendW(folder, L"Skin")) {
        return {};
    }
    return static_cast<const wchar_t*>(folder);
}

std::wstring SkinPath(const std::wstring& fileName) {
    const std::wstring folder = SkinFolder();
    return folder.empty() ? std::wstring() : folder + L"\\" + fileName;
}

class CSkinPage : public CSettingsPage {
public:
    explicit CSkinPage(CConfigureDialog& shell) : CSettingsPage(shell, kRows) {}

protected:
    void OnCreated() override {
        preview_ = CreateChildPane(*this, kPreviewStyle, kPreviewX, kPreviewY, kPreviewWidth,
                                   CConfigureDialog::kPageHeight - kPreviewBottomGap,
                                   DialogProcFor<CSkinPage, &CSkinPage::PreviewMessage>, window());
        LoadPreview();
        FillList();
    }

    void OnDestroyed() override { skin_.Close(); }

    bool OnPageCommand(int id, int code) override {
        switch (id) {
        case kListId:
            if (code == CBN_SELCHANGE) {
                OnSwitch();
            }
            return true;
        case kImportId:
        case kExportId:
        case kRemoveId:
            if (code == BN_CLICKED) {
                id == kImportId ? OnImport() : id == kExportId ? OnExport() : OnRemove();
            }
            return true;
        default:
            return false;
        }
    }

private:
    // The list rebuilt from the Skin folder; the current index follows the
    // record's skin (and stays where it was when no file is the record's).
    void FillList() {
        HWND list = Control(kListId);
        ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
        files_ = ListInstalledFiles(L"Skin\\*.ims", L".ims");
        const std::u16string_view current = FixedText(shell().record().SkinFileName);
        for (std::size_t i = 0; i < files_.size(); ++i) {
            SkinRecord record = {};
            // A skin whose record cannot be read is shown by its file name.
            std::wstring name = files_[i];
            if (ReadSkinRecord(SkinPath(files_[i]).c_str(), record) &&
                !SkinText(record.name).empty()) {
                name = ToWide(SkinText(record.name));
            }
            const auto index =
                ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index),
                           static_cast<LPARAM>(i));
            if (::lstrcmpiW(files_[i].c_str(), ToWide(current).c_str()) == 0) {
                current_ = static_cast<int>(i);
            }
        }
        ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(current_), 0);
    }

    // Makes file `index` the current skin: saved for the input method and
    // announced. False (and the user told) when it cannot be made current.
    bool MakeCurrent(int index) {
        if (index < 0 || index >= static_cast<int>(files_.size())) {
            return false;
        }
        if (!SaveSkinChoice(files_[index])) {
            return false;
        }
        current_ = index;
        return true;
    }

    // Names `fileName` as the skin in the record and saves it for the input
    // method, then shows and announces it. When the record cannot reach the
    // input method the record keeps the skin it had, nothing is announced,
    // and false is returned (the user told either way).
    bool SaveSkinChoice(const std::wstring& fileName) {
        char16_t(&field)[kConfigNameUnits] = shell().record().SkinFileName;
        const std::u16string previous(FixedText(field));
        if (!SetFixedText(field, AsU16(fileName))) {
            ShowInfoMessage(window(), kMsgNameTooLong);
            return false;
        }
        if (!CConfigureDialog::ReportSave(window(), SaveConfig(shell().record()))) {
            SetFixedText(field, previous);
            return false;
        }
        LoadPreview();
        PostChangeNotice(ChangeCode::SkinChanged);
        return true;
    }

    void OnSwitch() {
        const auto selected = ::SendMessageW(Control(kListId), CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR || !MakeCurrent(static_cast<int>(selected))) {
            ::SendMessageW(Control(kListId), CB_SETCURSEL, static_cast<WPARAM>(current_), 0);
        }
    }

    void OnImport() {
        PathBuffer source;
        if (!ShowFileDialog(window(), source, FileKind::OpenSkin)) {
            return;
        }
        SkinRecord record = {};
        if (!ReadSkinRecord(source, record) || record.complete == 0) {
            ::MessageBoxW(window(), kMsgIncomplete, kCaption, MB_ICONERROR);
            return;
        }
        // The file is in the Skin folder before the record names it: the
        // input method never looks for a skin that is not there.
        const std::wstring name = NewInstalledFileName(SkinFolder(), L".ims");
        const std::wstring target = name.empty() ? std::wstring() : SkinPath(name);
        if (target.empty() || !::CopyFileW(source, target.c_str(), TRUE)) {
            ShowInfoMessage(window(), kMsgImportFailed);
            return;
        }
        // A skin that cannot be made current stays installed, not chosen.
        SaveSkinChoice(name);
        FillList();
    }

    void OnExport() {
        PathBuffer target;
        if (!ShowFileDialog(window(), target, FileKind::SaveSkin)) {
            return;
        }
        if (IsExistingFile(target) &&
            ::MessageBoxW(window(), kAskOverwrite, kCaption, MB_ICONQUESTION | MB_YESNO) != IDYES) {
            return;
        }
        const bool copied = current_ < static_cast<int>(files_.size()) &&
                            ::CopyFileW(SkinPath(files_[current_]).c_str(), target, FALSE);
        ShowInfoMessage(window(), copied ? kMsgExported : kMsgExportFailed);
    }

    void OnRemove() {
        const int count = static_cast<int>(files_.size());
        if (count < 2) {
            ShowInfoMessage(window(), kMsgOnlySkin);
            return;
        }
        // The current skin's file may have gone meanwhile: the list says
        // what is there now.
        if (current_ < 0 || current_ >= count) {
            FillList();
            return;
        }
        const std::wstring removed = SkinPath(files_[current_]);
        if (!MakeCurrent((current_ + 1) % count)) {
            return;
        }
        const bool deleted = DeleteFileForced(removed.c_str()) != 0;
        FillList();
        ShowInfoMessage(window(), deleted ? kMsgRemoved : kMsgRemoveFailed);
    }

    void LoadPreview() {
        skin_.Close();
        const std::u16string_view current = FixedText(shell().record().SkinFileName);
        if (!current.empty()) {
            skin_.Load(SkinPath(ToWide(current)).c_str()); // one that does not load shows nothing
        }
        if (preview_) {
            UpdatePreviewScroll();
            ::InvalidateRect(preview_, nullptr, TRUE);
            ::UpdateWindow(preview_);
        }
    }

    void UpdatePreviewScroll() {
        RECT client = {};
        ::GetClientRect(preview_, &client);
        const SIZE picture = ImageSize(skin_.image(SlotPreview));
        SetScrollExtent(preview_, SB_HORZ, picture.cx, client.right, SIF_POS);
        SetScrollExtent(preview_, SB_VERT, picture.cy, client.bottom, SIF_POS);
    }

    void Scroll(int bar, int request, int thumb) {
        const ScrollMove move = MoveScrollBar(preview_, bar, request, thumb);
        const int change = move.before - move.after;
        ::ScrollWindowEx(preview_, bar == SB_HORZ ? change : 0, bar == SB_VERT ? change : 0,
                         nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    }

    void PaintPreview(HDC dc) {
        Gdiplus::GpImage* picture = skin_.image(SlotPreview);
        if (!picture) {
            return;
        }
        RECT client = {};
        ::GetClientRect(preview_, &client);
        const SIZE size = ImageSize(picture);
        const int x = (size.cx < client.right ? (client.right - size.cx) / 2 : 0) -
                      ::GetScrollPos(preview_, SB_HORZ);
        const int y = (size.cy < client.bottom ? (client.bottom - size.cy) / 2 : 0) -
                      ::GetScrollPos(preview_, SB_VERT);
        PreviewCanvas canvas = PreviewCanvas::ForDc(dc);
        canvas.DrawImage(picture, {x, y, x + size.cx, y + size.cy}, {0, 0, size.cx, size.cy},
                         false);
    }

    INT_PTR PreviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            preview_ = window;
            return TRUE;
        case WM_SIZE:
            UpdatePreviewScroll();
            return TRUE;
        case WM_PAINT: {
            PaintScope paint(window);
            PaintPreview(paint.dc());
            return TRUE;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CTLCOLORDLG:
            return WhiteBackgroundBrush();
        default:
            return FALSE;
        }
    }

    std::vector<std::wstring> files_; // in list order; each entry's item data indexes it
    int current_ = 0;
    SkinFile skin_; // the current skin, for its preview picture
    HWND preview_ = nullptr;
};

} // namespace

std::unique_ptr<CSettingsPage> MakeSkinPage(CConfigureDialog& shell) {
    return std::make_unique<CSkinPage>(shell);
}

} // namespace tide
