#include "tools/skineditor/SkinEditor.h"

#include "tools/skineditor/EditorPage.h"
#include "tools/skineditor/EditorPages.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/ResourceIds.h"
#include "ui/InfoMessage.h"
#include "win/FileAccess.h"
#include "win/PathBuffer.h"
#include "win/config/ConfigStorage.h"

namespace tide {
namespace {

enum ControlId : int {
    kExitId = IDOK,
    kFirstPageId = 257, // 257 to 260, one per page
    kOpenId = 261,
    kSaveId,
    kSaveAsId,
};
constexpr int kDialogHeight = 300;
constexpr int kPageTop = 15;
constexpr COLORREF kPageColor = 0xF0F0F0;

constexpr ColumnButtonRow kColumnButtons[] = {
    {kNavigateButtonClass, L"状态栏设置", kFirstPageId, 45, 0},
    {kNavigateButtonClass, L"横排候选栏设置", kFirstPageId + 1, 59, 0},
    {kNavigateButtonClass, L"竖排候选栏设置", kFirstPageId + 2, 73, 0},
    {kNavigateButtonClass, L"预览图设置", kFirstPageId + 3, 87, 0},
    {kCommandButtonClass, L"打开", kOpenId, 187, kIconOpen},
    {kCommandButtonClass, L"保存", kSaveId, 201, kIconOk},
    {kCommandButtonClass, L"另存为", kSaveAsId, 215, kIconExport},
    {kCommandButtonClass, L"退出", kExitId, kDialogHeight - 45, kIconExit},
};

constexpr wchar_t kCaption[] = L"提示";
constexpr wchar_t kAskDiscard[] = L"当前皮肤尚未保存，是否放弃？";
constexpr wchar_t kAskSave[] = L"当前皮肤尚未保存，是否保存？";
constexpr wchar_t kAskIncomplete[] = L"皮肤资源不完整，是否继续保存？";
// A file that does not load leaves the skin being edited as it was.
constexpr wchar_t kMsgOpenFailed[] = L"皮肤文件打开失败，文件不是有效的皮肤文件！";
// A save that does not reach the file leaves the skin marked unsaved.
constexpr wchar_t kMsgSaveFailed[] = L"皮肤文件保存失败，文件无法写入！";

bool Ask(HWND owner, const wchar_t* question, UINT icon) {
    return ::MessageBoxW(owner, question, kCaption, MB_YESNO | icon) == IDYES;
}

// The LOGFONT height of 12 points on this screen, for the new skin's texts.
std::int32_t TwelvePointHeight(HWND window) {
    WindowDc dc(window);
    return -::MulDiv(12, dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96, 72);
}

std::unique_ptr<SkinFile> NewSkin(HWND window) {
    auto skin = std::make_unique<SkinFile>();
    skin->record() = NewSkinRecord(::GetSysColor(COLOR_GRAYTEXT), TwelvePointHeight(window));
    return skin;
}

bool IsComplete(const SkinFile& skin) {
    return skin.image(SlotStatus) && (skin.image(SlotHorzCand) || skin.image(SlotVertCand)) &&
           !SkinText(skin.record().name).empty();
}

} // namespace

CSkinEditor::CSkinEditor(HINSTANCE instance, HWND owner)
    : CDialogBox(instance, owner), skin_(std::make_unique<SkinFile>()) {}

CSkinEditor::~CSkinEditor() = default;

INT_PTR CSkinEditor::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        dialog_ = dialog;
        skin_ = NewSkin(dialog);
        pageBrush_.reset(::CreateSolidBrush(kPageColor));
        CreateControls(dialog);
        SetModified(false);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstPageId && id < kFirstPageId + kPageCount) {
            ShowPage(id - kFirstPageId);
            return TRUE;
        }
        static constexpr CommandRow<CSkinEditor> kHandlers[] = {
            {kOpenId, &CSkinEditor::OnOpen},
            {kSaveId, &CSkinEditor::OnSave},
            {kSaveAsId, &CSkinEditor::OnSaveAs},
            {kExitId, &CSkinEditor::OnExit},
        };
        return RunCommand(*this, kHandlers, dialog, wParam);
    }
    case WM_DESTROY:
        for (auto& page : pages_) {
            if (page && page->window()) {
                ::DestroyWindow(page->window());
            }
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void CSkinEditor::CreateControls(HWND dialog) {
    CreateColumnButtons(*this, navigationWidth(), kColumnButtons, dialog);
    SelectNavigateButton(dialog, kFirstPageId, kFirstPageId + kPageCount - 1, kFirstPageId);
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i] = MakeEditorPage(*this, i);
    }
    // The pages hold hundreds of controls: the editor shows first, then
    // makes them, a page a step, before the user can touch anything.
    DeferCreationSteps(dialog, kPageCount);
}

void CSkinEditor::CreateStep(HWND, int step) {
    CreatePage(step);
}

void CSkinEditor::CreatePage(int index) {
    CEditorPage& page = *pages_[index];
    if (page.window()) {
        return;
    }
    // Making a page fills its fields from the skin, which is no change to it.
    const bool modified = modified_;
    page.Create(dialog_, index == shownPage_, navigationWidth(), kPageTop, 460 - navigationWidth(),
                kDialogHeight - kPageTop);
    SetModified(modified);
    if (index == shownPage_ && page.window()) {
        ::RedrawWindow(page.window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void CSkinEditor::ShowPage(int index) {
    shownPage_ = index;
    CreatePage(index);
    for (int i = 0; i < kPageCount; ++i) {
        if (pages_[i] && pages_[i]->window()) {
            ::ShowWindow(pages_[i]->window(), i == index ? SW_SHOW : SW_HIDE);
        }
    }
    SelectNavigateButton(dialog_, kFirstPageId, kFirstPageId + kPageCount - 1,
                         kFirstPageId + index);
    if (pages_[index]) {
        pages_[index]->OnShown();
    }
}

void CSkinEditor::RefreshPages() {
    for (auto& page : pages_) {
        if (page && page->window()) {
            page->Refresh();
        }
    }
}

void CSkinEditor::MarkModified() {
    SetModified(true);
}

void CSkinEditor::SetModified(bool modified) {
    modified_ = modified;
    ::EnableWindow(::GetDlgItem(dialog_, kSaveId), modified ? TRUE : FALSE);
}

void CSkinEditor::LoadImageInto(SkinSlot slot, const std::wstring& path) {
    skin_->SetImage(slot, {});
    if (path.empty()) {
        return;
    }
    if (auto file = ReadOnlyFileView::Open(path.c_str())) {
        skin_->SetImage(slot, ImageFromBytes(file->bytes()));
    }
}

void CSkinEditor::OnOpen(HWND) {
    if (modified_ && !Ask(dialog_, kAskDiscard, MB_ICONINFORMATION)) {
        return;
    }
    PathBuffer path;
    if (!ShowFileDialog(dialog_, path, FileKind::OpenSkin) ||
        ::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        return; // the skin being edited stays
    }
    auto opened = std::make_unique<SkinFile>();
    if (!opened->Load(path)) {
        ShowInfoMessage(dialog_, kMsgOpenFailed);
        return;
    }
    // Its images are copies: the file can be saved over while it is edited.
    opened->Unmap();
    statusComposite_.reset();
    horzComposite_.reset();
    vertComposite_.reset();
    skin_ = std::move(opened);
    path_ = static_cast<const wchar_t*>(path);
    RefreshPages();
    SetModified(false);
}

bool CSkinEditor::Save(bool askName) {
    const bool complete = IsComplete(*skin_);
    skin_->record().complete = complete ? 1 : 0;
    if (!complete && !Ask(dialog_, kAskIncomplete, MB_ICONQUESTION)) {
        return false;
    }
    if (askName || path_.empty()) {
        PathBuffer path;
        if (!ShowFileDialog(dialog_, path, FileKind::SaveSkin)) {
            return false;
        }
        path_ = static_cast<const wchar_t*>(path);
    }
    if (!skin_->Save(path_.c_str())) {
        ShowInfoMessage(dialog_, kMsgSaveFailed);
        return false;
    }
    return true;
}

void CSkinEditor::OnSave(HWND) {
    if (Save(false)) {
        SetModified(false);
    }
}

void CSkinEditor::OnSaveAs(HWND) {
    if (Save(true)) {
        SetModified(false);
    }
}

void CSkinEditor::OnExit(HWND dialog) {
    // 退出 is the dialog's IDOK, which the dialog manager also sends for Enter
    // in any field: there Enter commits the field and moves on, as in a form.
    if (::GetKeyState(VK_RETURN) < 0 && ::GetFocus() != ::GetDlgItem(dialog, kExitId)) {
        ::SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
        return;
    }
    if (MayLeave()) {
        EndWithOk(dialog);
    }
}

bool CSkinEditor::MayLeave() {
    if (!modified_ || !Ask(dialog_, kAskSave, MB_ICONINFORMATION)) {
        return true;
    }
    return Save(false);
}

bool CSkinEditor::OnHome(HWND) {
    if (!modified_ || path_.empty()) {
        return true; // a skin never saved has no file to go to
    }
    if (!skin_->Save(path_.c_str())) {
        ShowInfoMessage(dialog_, kMsgSaveFailed);
        return false;
    }
    SetModified(false);
    return true;
}

bool CSkinEditor::OnClose(HWND) {
    return MayLeave();
}

} // namespace tide
