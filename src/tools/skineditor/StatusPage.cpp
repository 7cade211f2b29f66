// The status-bar page: the window image, the logo and the five buttons with
// their boxes and images; a click on a button of the preview shows its next
// state.
#include <cstddef>

#include "core/skin/SkinFormat.h"
#include "tools/skineditor/EditorPages.h"
#include "tools/skineditor/SkinEditor.h"
#include "win/WideText.h"
#include "win/skin/PreviewCanvas.h"
#include "win/skin/PreviewPictures.h"

namespace tide {
namespace {

constexpr int kWindowImageId = 4353;
constexpr int kFirstDependentId = 4355; // everything below the window image
constexpr int kLastDependentId = 4422;

PanelRows StatusRows() {
    PanelRows rows;
    rows.Section(7, L"窗口图片及LOGO设置", 72)
        .Image(20, L"窗口图片：", kWindowImageId, 4354, SlotStatus)
        .Box(34, L"Logo位置：", L"Logo大小：", FieldOf(&SkinRecord::logoBox), 4357, 4361)
        .Image(62, L"Logo图片：", 4355, 4356, SlotLogo)
        .Section(75, L"中英文按钮设置")
        .Box(88, L"按钮位置：", L"按钮大小：", FieldOf(&SkinRecord::langButtonBox), 4365, 4369)
        .Image(116, L"中文按钮：", 4373, 4376, SlotChineseButton)
        .Image(130, L"英文按钮：", 4374, 4377, SlotEnglishButton)
        .Image(144, L"CapsLock：", 4375, 4378, SlotCapsLockButton)
        .Section(157, L"全半角按钮设置")
        .Box(170, L"按钮位置：", L"按钮大小：", FieldOf(&SkinRecord::shapeButtonBox), 4379, 4383)
        .Image(198, L"全角按钮：", 4387, 4389, SlotFullShapeButton)
        .Image(212, L"半角按钮：", 4388, 4390, SlotHalfShapeButton)
        .Section(225, L"标点按钮设置")
        .Box(238, L"按钮位置：", L"按钮大小：", FieldOf(&SkinRecord::punctButtonBox), 4391, 4395)
        .Image(266, L"中文标点：", 4399, 4401, SlotCSymbolButton)
        .Image(280, L"英文标点：", 4400, 4402, SlotESymbolButton)
        .Section(293, L"软键盘按钮设置")
        .Box(306, L"按钮位置：", L"按钮大小：", FieldOf(&SkinRecord::softkbButtonBox), 4403, 4407)
        .Image(334, L"按钮图片：", 4411, 4412, SlotSoftkbButton)
        .Section(347, L"菜单按钮设置")
        .Box(360, L"按钮位置：", L"按钮大小：", FieldOf(&SkinRecord::menuButtonBox), 4413, 4417)
        .Image(388, L"按钮图片：", 4421, 4422, SlotConfigButton);
    return rows;
}

class CStatusPage : public CEditorPage {
public:
    explicit CStatusPage(CSkinEditor& editor)
        : CEditorPage(editor, {L"状态栏定制", 45, 28, 19}, StatusRows().rows) {}

    void Refresh() override {
        ShowImageNames();
        ShowFields();
        RedrawPreview();
    }

protected:
    void OnCreated() override { EnableRange(kFirstDependentId, kLastDependentId, false); }

    void OnImageText(const PanelRow& row, const std::wstring& text) override {
        if (row.id == kWindowImageId) {
            EnableRange(kFirstDependentId, kLastDependentId, !text.empty());
            // A reference names the opened skin's own image, already loaded;
            // either way the preview scrolls over the picture's width.
            if (!IsSkinImageRef(AsU16(text))) {
                editor().LoadImageInto(SlotStatus, text);
            }
            SetPreviewScrollWidth(ImageSize(editor().skin().image(SlotStatus)).cx);
            RedrawPreview();
            return;
        }
        CEditorPage::OnImageText(row, text);
    }

    bool PaintPreview(HWND preview, HDC dc) override {
        if (!editor().skin().image(SlotStatus)) {
            return false;
        }
        GdiplusImage& picture = editor().statusComposite();
        picture = ComposeStatus(editor().skin(), editor().statusStates());
        RECT client = {};
        ::GetClientRect(preview, &client);
        PreviewCanvas canvas = PreviewCanvas::ForDc(dc);
        canvas.DrawBox(::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW), 1, false,
                       {0, 0, client.right, client.bottom});
        const SIZE size = ImageSize(picture.get());
        const PreviewRect source{0, 0, size.cx, size.cy};
        const int x = StatusPictureX(client.right, size.cx, ::GetScrollPos(preview, SB_HORZ));
        const int y = CentredPictureY(client.bottom, size.cy);
        canvas.DrawImage(picture.get(), {x, y, x + size.cx, y + size.cy}, source, false);
        return true;
    }

    void OnPreviewClick(int x, int y) override {
        GdiplusImage& picture = editor().statusComposite();
        if (!editor().skin().image(SlotStatus) || !picture) {
            return;
        }
        RECT client = {};
        ::GetClientRect(preview(), &client);
        const SIZE size = ImageSize(picture.get());
        const int scroll = ::GetScrollPos(preview(), SB_HORZ);
        editor().statusStates().Advance(HitStatusButton(
            editor().skin().record(), client.right, client.bottom, size.cx, size.cy, scroll, x, y));
        RedrawPreview();
    }

    bool WheelScrollsPreview() const override { return true; }
};

} // namespace

std::unique_ptr<CEditorPage> MakeStatusPage(CSkinEditor& editor) {
    return std::make_unique<CStatusPage>(editor);
}

} // namespace tide
