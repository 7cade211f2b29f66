#include "tools/systemdict/SystemDictDialog.h"

#include <shlwapi.h>

#include "core/dict/LibraryStatistics.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/ResourceIds.h"
#include "ui/InfoMessage.h"
#include "win/FileDeletion.h"
#include "win/InstallPaths.h"
#include "win/InstalledFiles.h"
#include "win/MakerSite.h"
#include "win/PathBuffer.h"
#include "win/ProcessGlobals.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/CodeTableImport.h"
#include "win/dict/LibraryAccess.h"
#include "win/dict/PackageInstall.h"

namespace tide {
namespace {

enum ControlId : int {
    kImportId = 256,
    kExportId,
    kAddId,
    kRemoveId,
    kHelpId,
    kTitleId = 263,
    kFirstStatisticsId, // nine lines, 264 to 272
    kChooseLabelId = 277,
    kLibraryComboId,
};
constexpr DWORD kCentreImage = SS_CENTERIMAGE;
constexpr wchar_t kHelpPage[] = L"/guide/guide6.html";

constexpr ColumnButtonRow kColumnButtons[] = {
    {kCommandButtonClass, L"导入", kImportId, 45, kIconImport},
    {kCommandButtonClass, L"导出", kExportId, 59, kIconExport},
    {kCommandButtonClass, L"添加", kAddId, 87, kIconAdd},
    {kCommandButtonClass, L"移除", kRemoveId, 101, kIconRemove},
    {kCommandButtonClass, L"帮助", kHelpId, 129, kIconHelp},
    {kCommandButtonClass, L"确定", IDOK, 143, kIconOk},
};

// Controls of the page area (dialog units).
constexpr int kPageX = 93;
constexpr int kPageWidth = 154;

constexpr wchar_t kMsgImportUnavailable[] = L"导入对象创建失败，不能进行导入操作！！！";
constexpr wchar_t kMsgImportOpenFailed[] = L"导入文件打开失败，不能进行导入操作！！！";
constexpr wchar_t kMsgImportGenerationFailed[] = L"码表生成失败，词库导入终止！！！";
constexpr wchar_t kMsgImported[] = L"词库导入成功，祝您使用愉快！";
constexpr wchar_t kMsgImportSaveFailed[] = L"码表保存失败，词库导入失败！";
constexpr wchar_t kMsgExported[] = L"词库导出成功，祝您使用愉快！";
constexpr wchar_t kMsgExportSaveFailed[] = L"词库文件保存失败，词库导出失败！";
constexpr wchar_t kMsgAddCreateFailed[] = L"码表文件创建错误，添加失败！";
constexpr wchar_t kMsgAddNotPackage[] = L"码表格式错误，不能添加！";
constexpr wchar_t kMsgAdded[] = L"词库添加成功，祝您使用愉快！";
constexpr wchar_t kMsgOnlyLibrary[] = L"词库唯一，不得移除！";
constexpr wchar_t kMsgRemoved[] = L"词库移除成功，祝您使用愉快！";
constexpr wchar_t kMsgRemoveFailed[] = L"词库移除失败，文件无法删除！";
constexpr wchar_t kMsgNameTooLong[] = L"词库文件名过长，不能设为当前词库！";

// Whether the settings record can name the library file.
bool FitsRecord(const std::wstring& fileName) {
    char16_t field[kConfigNameUnits];
    return SetFixedText(field, AsU16(fileName));
}

const wchar_t* ImportMessage(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::Imported:
        return kMsgImported;
    case ImportOutcome::CompilerUnavailable:
        return kMsgImportUnavailable;
    case ImportOutcome::TableUnusable:
        return kMsgImportOpenFailed;
    case ImportOutcome::GenerationFailed:
        return kMsgImportGenerationFailed;
    case ImportOutcome::SaveFailed:
        break;
    }
    return kMsgImportSaveFailed;
}

// InstallDir joined with `fileName`; empty when the installation is not
// recorded or the path does not fit.
std::wstring InstallDirFile(const std::wstring& fileName) {
    PathBuffer path;
    if (!QueryInstallDir(path) || !::PathAppendW(path, fileName.c_str())) {
        return {};
    }
    return path;
}

// A free name for a new library and its path; both empty when there is none.
struct NewLibrary {
    std::wstring fileName;
    std::wstring path;
};
NewLibrary ChooseNewLibrary() {
    PathBuffer folder;
    if (!QueryInstallDir(folder)) {
        return {};
    }
    NewLibrary library{NewLibraryName(folder), {}};
    if (!library.fileName.empty()) {
        library.path = InstallDirFile(library.fileName);
    }
    return library;
}

std::optional<CodeTableHeader> ReadLibraryHeader(const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    // Read-only: looking at a library must not grow its file.
    std::optional<LibraryHandle> library = OpenLibrary(path.c_str(), true);
    if (!library) {
        return std::nullopt;
    }
    return library->library().header();
}

} // namespace

std::wstring NewLibraryName(const std::wstring& folder) {
    return NewInstalledFileName(folder, L".imc");
}

CSystemDictDialog::CSystemDictDialog(HINSTANCE instance, HWND owner)
    : CDialogBox(instance, owner) {}

CSystemDictDialog::~CSystemDictDialog() = default;

INT_PTR CSystemDictDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        LoadConfig(config_);
        CreateControls(dialog);
        FillDictionaryCombo(dialog);
        ShowLibraryStatistics(dialog, SelectedLibraryPath(dialog), false);
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id >= kTitleId && id <= kChooseLabelId) {
            return WhiteBackgroundBrush();
        }
        return FALSE;
    }
    case WM_COMMAND: {
        static constexpr CommandRow<CSystemDictDialog> kHandlers[] = {
            {kLibraryComboId, &CSystemDictDialog::OnSelectionChange, CBN_SELCHANGE},
            {kImportId, &CSystemDictDialog::OnImport},
            {kExportId, &CSystemDictDialog::OnExport},
            {kAddId, &CSystemDictDialog::OnAdd},
            {kRemoveId, &CSystemDictDialog::OnRemove},
            {kHelpId, &CSystemDictDialog::OnHelp},
            {IDOK, &CSystemDictDialog::EndWithOk},
        };
        return RunCommand(*this, kHandlers, dialog, wParam);
    }
    case WM_DESTROY:
        ::SendDlgItemMessageW(dialog, kLibraryComboId, CB_RESETCONTENT, 0, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

void CSystemDictDialog::CreateControls(HWND dialog) {
    CreateColumnButtons(*this, navigationWidth(), kColumnButtons, dialog);
    HWND title = CreateControl(*this, L"Static", L"当前系统词库：", kCentreImage, kPageX, 15,
                               kPageWidth, 10, dialog, kTitleId);
    titleFont_ = CreateUiFont(dialog, L"微软雅黑", 12);
    ::SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
    CreateControl(*this, L"Static", L"请选定当前系统词库：", kCentreImage, kPageX, 135, kPageWidth,
                  8, dialog, kChooseLabelId);
    const ControlClass list = ClassOf(ControlKind::List);
    CreateControl(*this, list.name, L"", list.style, kPageX, 145, kPageWidth, 60, dialog,
                  kLibraryComboId);
}

void CSystemDictDialog::FillDictionaryCombo(HWND dialog) {
    HWND combo = ::GetDlgItem(dialog, kLibraryComboId);
    for (LRESULT i = ::SendMessageW(combo, CB_GETCOUNT, 0, 0) - 1; i >= 0; --i) {
        ::SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
    }
    libraryFiles_.clear();
    selected_ = CB_ERR;
    const std::wstring current = ToWide(FixedText(config_.DictionaryFileName));
    for (std::wstring& fileName : ListInstalledFiles(L"*.imc", L".imc")) {
        // Listed even when its name is too long for the record: it cannot
        // become current, but it can be looked at and removed. A library whose header cannot be
        // read is listed by its file name, so it can still be chosen (and removed).
        const std::optional<CodeTableHeader> header = ReadLibraryHeader(InstallDirFile(fileName));
        std::wstring shown = header ? ToWide(FixedText(header->Name)) : std::wstring();
        if (shown.empty()) {
            shown = fileName;
        }
        const LRESULT item =
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        if (item < 0) {
            continue;
        }
        ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(item),
                       static_cast<LPARAM>(libraryFiles_.size()));
        if (::lstrcmpiW(fileName.c_str(), current.c_str()) == 0) {
            selected_ = static_cast<int>(item);
        }
        libraryFiles_.push_back(std::move(fileName));
    }
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
}

std::wstring CSystemDictDialog::SelectedLibraryPath(HWND dialog) const {
    const std::wstring* fileName = SelectedFileName(dialog);
    return fileName ? InstallDirFile(*fileName) : std::wstring();
}

const std::wstring* CSystemDictDialog::SelectedFileName(HWND dialog) const {
    return FileNameOfItem(dialog, selected_);
}

const std::wstring* CSystemDictDialog::FileNameOfItem(HWND dialog, LRESULT item) const {
    if (item < 0) {
        return nullptr;
    }
    const LRESULT index = ::SendDlgItemMessageW(dialog, kLibraryComboId, CB_GETITEMDATA,
                                                static_cast<WPARAM>(item), 0);
    if (index < 0 || static_cast<std::size_t>(index) >= libraryFiles_.size()) {
        return nullptr;
    }
    return &libraryFiles_[static_cast<std::size_t>(index)];
}

void CSystemDictDialog::ShowLibraryStatistics(HWND dialog, const std::wstring& libraryPath,
                                              bool update) {
    const std::optional<CodeTableHeader> header = ReadLibraryHeader(libraryPath);
    const auto lines = LibraryStatisticsLines(header ? &*header : nullptr);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::wstring text = ToWide(lines[i]);
        const int id = kFirstStatisticsId + static_cast<int>(i);
        if (update) {
            ::SetDlgItemTextW(dialog, id, text.c_str());
        } else {
            CreateControl(*this, L"Static", text.c_str(), kCentreImage, kPageX,
                          35 + 10 * static_cast<int>(i), kPageWidth, 10, dialog, id);
        }
    }
}

void CSystemDictDialog::MakeCurrent(HWND dialog, const std::wstring& fileName) {
    SetFixedText(config_.DictionaryFileName, AsU16(fileName));
    SaveConfig(config_);
    FillDictionaryCombo(dialog);
    ShowLibraryStatistics(dialog, InstallDirFile(fileName), true);
    PostChangeNotice(ChangeCode::DictionaryChanged);
}

void CSystemDictDialog::OnSelectionChange(HWND dialog) {
    const LRESULT item = ::SendDlgItemMessageW(dialog, kLibraryComboId, CB_GETCURSEL, 0, 0);
    if (item < 0) {
        return;
    }
    selected_ = static_cast<int>(item);
    ShowLibraryStatistics(dialog, SelectedLibraryPath(dialog), true);
    const std::wstring* fileName = SelectedFileName(dialog);
    if (!fileName) {
        return;
    }
    if (!FitsRecord(*fileName)) {
        ShowInfoMessage(dialog, kMsgNameTooLong); // shown, still removable, not current
        return;
    }
    SetFixedText(config_.DictionaryFileName, AsU16(*fileName));
    SaveConfig(config_);
    PostChangeNotice(ChangeCode::DictionaryChanged);
}

void CSystemDictDialog::OnImport(HWND dialog) {
    PathBuffer textPath;
    if (!ShowFileDialog(dialog, textPath, FileKind::OpenText)) {
        return;
    }
    const NewLibrary target = ChooseNewLibrary();
    if (target.path.empty()) {
        ShowInfoMessage(dialog, kMsgImportSaveFailed);
        return;
    }
    // The user entries of the current library move into the new one. With no
    // current library at all there is nothing to carry, and the first
    // library of an installation can still be imported.
    const std::wstring currentPath = InstallDirFile(ToWide(FixedText(config_.DictionaryFileName)));
    const bool carry =
        !FixedText(config_.DictionaryFileName).empty() && IsExistingFile(currentPath.c_str());
    const ImportResult result = ImportCodeTable(textPath, target.path.c_str(), carry);
    // The compiler's own word first, then the import's summary; both owned by
    // this dialog, which takes no other command while either is up.
    if (!result.message.empty()) {
        ShowInfoMessage(dialog, result.message.c_str());
    }
    ShowInfoMessage(dialog, ImportMessage(result.outcome));
    if (result.outcome == ImportOutcome::Imported) {
        MakeCurrent(dialog, target.fileName);
    }
}

void CSystemDictDialog::OnExport(HWND dialog) {
    const std::wstring libraryPath = SelectedLibraryPath(dialog);
    if (!ReadLibraryHeader(libraryPath)) {
        return;
    }
    PathBuffer textPath;
    if (!ShowFileDialog(dialog, textPath, FileKind::SaveText)) {
        return;
    }
    ShowInfoMessage(dialog, ExportCodeTable(libraryPath.c_str(), textPath) ? kMsgExported
                                                                           : kMsgExportSaveFailed);
}

void CSystemDictDialog::OnAdd(HWND dialog) {
    PathBuffer packagePath;
    if (!ShowFileDialog(dialog, packagePath, FileKind::OpenLibrary)) {
        return;
    }
    const NewLibrary target = ChooseNewLibrary();
    const int result =
        target.path.empty() ? 0 : InstallPackagedDictionary(target.path.c_str(), packagePath);
    if (result == 0) {
        ShowInfoMessage(dialog, kMsgAddCreateFailed);
        return;
    }
    if (result < 0) {
        ShowInfoMessage(dialog, kMsgAddNotPackage);
        return;
    }
    MakeCurrent(dialog, target.fileName);
    ShowInfoMessage(dialog, kMsgAdded);
}

void CSystemDictDialog::OnRemove(HWND dialog) {
    HWND combo = ::GetDlgItem(dialog, kLibraryComboId);
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    if (count == 1) {
        ShowInfoMessage(dialog, kMsgOnlyLibrary);
        return;
    }
    const std::wstring* removedName = SelectedFileName(dialog);
    if (count < 1 || !removedName) {
        return;
    }
    const std::wstring removedPath = InstallDirFile(*removedName);
    // The file goes first: one the input method has mapped is moved away and
    // deleted at the next start of the system. One that can go neither way
    // stays current and listed, and nothing is saved or announced.
    if (!::DeleteFileW(removedPath.c_str()) && !DeleteFileForced(removedPath.c_str())) {
        ShowInfoMessage(dialog, kMsgRemoveFailed);
        return;
    }
    // The current library gone, the next one the record can name becomes
    // current (after the last, the first); removing one that was not current
    // (its name too long to be) leaves the current one as it is.
    if (::lstrcmpiW(removedName->c_str(), ToWide(FixedText(config_.DictionaryFileName)).c_str()) ==
        0) {
        std::wstring next;
        for (LRESULT step = 1; step < count && next.empty(); ++step) {
            const std::wstring* name = FileNameOfItem(dialog, (selected_ + step) % count);
            if (name && FitsRecord(*name)) {
                next = *name;
            }
        }
        SetFixedText(config_.DictionaryFileName, AsU16(next)); // none: no library is named
        SaveConfig(config_);
        PostChangeNotice(ChangeCode::DictionaryChanged);
    }
    FillDictionaryCombo(dialog);
    ShowLibraryStatistics(dialog, SelectedLibraryPath(dialog), true);
    ShowInfoMessage(dialog, kMsgRemoved);
}

void CSystemDictDialog::OnHelp(HWND dialog) {
    OpenMakerSitePage(dialog, kHelpPage);
}

} // namespace tide
