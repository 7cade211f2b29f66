// The skin editor: a new skin (or one opened from a file) edited on four
// pages — status bar, horizontal and vertical candidate bar, preview image —
// each with a live picture, and saved as a skin file. Any redraw of a
// picture marks the skin unsaved; a save that does not happen leaves it so.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "core/skin/PreviewGeometry.h"
#include "ui/Dialog.h"
#include "win/Handles.h"
#include "win/ImageCodec.h"
#include "win/skin/SkinFile.h"

namespace tide {

class CEditorPage;

class CSkinEditor : public CDialogBox {
public:
    CSkinEditor(HINSTANCE instance, HWND owner);
    ~CSkinEditor() override;

    INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnHome(HWND dialog) override;
    bool OnClose(HWND dialog) override;

    SkinFile& skin() { return *skin_; }
    const std::wstring& path() const { return path_; }
    bool modified() const { return modified_; }
    HBRUSH pageBrush() const { return pageBrush_.get(); }
    StatusStates& statusStates() { return statusStates_; }

    // The last pictures the previews composed (empty when there is none).
    GdiplusImage& statusComposite() { return statusComposite_; }
    GdiplusImage& barComposite(bool vertical) { return vertical ? vertComposite_ : horzComposite_; }

    // Marks the skin unsaved and enables 保存.
    void MarkModified();
    // Drops the image of `slot` and loads the file `path` into it when there is one.
    void LoadImageInto(SkinSlot slot, const std::wstring& path);

    static constexpr int kPageCount = 4;

protected:
    void CreateStep(HWND dialog, int step) override;

private:
    void CreateControls(HWND dialog);
    // Makes the window of page `index` unless it is there.
    void CreatePage(int index);
    void ShowPage(int index);
    void RefreshPages();
    void SetModified(bool modified);

    void OnOpen(HWND dialog);
    void OnSave(HWND dialog);
    void OnSaveAs(HWND dialog);
    // 退出, and Enter, which the dialog manager sends as the same command.
    void OnExit(HWND dialog);
    // Saves after the completeness question, asking for a name when told to or
    // when the skin has none; true only when the file was written.
    bool Save(bool askName);
    // Asks to save an unsaved skin before leaving; false keeps the editor open.
    bool MayLeave();

    HWND dialog_ = nullptr;
    std::unique_ptr<SkinFile> skin_;
    std::wstring path_;
    bool modified_ = false;
    StatusStates statusStates_;
    GdiplusImage statusComposite_;
    GdiplusImage horzComposite_;
    GdiplusImage vertComposite_;
    std::array<std::unique_ptr<CEditorPage>, kPageCount> pages_;
    int shownPage_ = 0;
    BrushHandle pageBrush_;
};

} // namespace tide
