// The preview-image page: where the status bar and the two candidate bars
// stand on the skin's preview picture, and the four texts (name, version,
// author, other information) with their places, fonts and colours. Every
// paint stores the picture, cut to what it holds, as the skin's Preview.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>

#include "core/skin/SkinFormat.h"
#include "tools/skineditor/EditorPages.h"
#include "tools/skineditor/SkinEditor.h"
#include "ui/Controls.h"
#include "ui/Scrolling.h"
#include "win/WideText.h"
#include "win/skin/PreviewCanvas.h"
#include "win/skin/PreviewPictures.h"

namespace tide {
namespace {

struct TextItemRow {
    SkinTextItem SkinRecord::*item;
    const wchar_t* title;
    const wchar_t* caption;
    int titleY, textY, positionY, fontY;
    int textId; // then x, x's up-down, y, y's up-down, the font button
};

// clang-format off
const TextItemRow kTextItems[] = {
    {&SkinRecord::name,      L"皮肤名称设置", L"皮肤名称：", 63,  77,  92,  107, 4877},
    {&SkinRecord::version,   L"皮肤版本设置", L"皮肤版本：", 120, 134, 149, 164, 4883},
    {&SkinRecord::author,    L"皮肤作者设置", L"作者名称：", 177, 191, 206, 221, 4889},
    {&SkinRecord::otherInfo, L"其他信息设置", L"其他信息：", 234, 249, 265, 280, 4895},
};
// clang-format on

PanelRows PreviewImageRows() {
    PanelRows rows;
    rows.Section(7, L"预览图位置设置")
        .Position(22, L"状态栏：", 4865, FieldOf(&SkinRecord::statusPreviewX), 4867,
                  FieldOf(&SkinRecord::statusPreviewY))
        .Position(36, L"横候选栏：", 4869, FieldOf(&SkinRecord::horzPreviewX), 4871,
                  FieldOf(&SkinRecord::horzPreviewY))
        .Position(50, L"竖候选栏：", 4873, FieldOf(&SkinRecord::vertPreviewX), 4875,
                  FieldOf(&SkinRecord::vertPreviewY));
    for (const TextItemRow& item : kTextItems) {
        const SkinField<std::int32_t> x = FieldOf(item.item, &SkinTextItem::x);
        const SkinField<std::int32_t> y = FieldOf(item.item, &SkinTextItem::y);
        rows.Section(item.titleY, item.title)
            .Label(7, item.textY, 36, item.caption)
            .Text(43, item.textY - 1, -58, item.textId)
            .Position(item.positionY, L"绘制位置：", item.textId + 1, x, item.textId + 3, y)
            .Label(7, item.fontY, 60, L"绘制字体和颜色：")
            .Button(65, item.fontY - 1, 30, 11, item.textId + 5, item.textId);
    }
    return rows;
}

const TextItemRow* ItemOfControl(int id) {
    for (const TextItemRow& item : kTextItems) {
        if (id == item.textId || id == item.textId + 5) {
            return &item;
        }
    }
    return nullptr;
}

LOGFONTW ToLogFont(const SkinLogFont& font) {
    static_assert(sizeof(LOGFONTW) == sizeof(SkinLogFont));
    LOGFONTW result;
    std::memcpy(&result, &font, sizeof(result));
    return result;
}

PreviewRect PlacedAt(int x, int y, SIZE size) {
    return {x, y, x + size.cx, y + size.cy};
}

PreviewRect Union(const PreviewRect& a, const PreviewRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool IsEmpty(const PreviewRect& box) {
    return box.width() <= 0 || box.height() <= 0;
}

class CPreviewImagePage : public CEditorPage {
public:
    explicit CPreviewImagePage(CSkinEditor& editor)
        : CEditorPage(editor, {L"预览图定制", 45, 20, 18}, PreviewImageRows().rows) {}

    void Refresh() override {
        for (const TextItemRow& item : kTextItems) {
            ::SetDlgItemTextW(panel(), item.textId, ToWide(SkinText(record().*item.item)).c_str());
        }
        ShowFields();
        RefreshPreviewImage();
    }

    void OnShown() override { RefreshPreviewImage(); }

protected:
    void OnCreated() override {
        for (const TextItemRow& item : kTextItems) {
            // The skin keeps 31 characters of a text.
            ::SendDlgItemMessageW(panel(), item.textId, EM_LIMITTEXT, kSkinTextUnits - 1, 0);
        }
        font_ = CreateUiFont(preview(), L"Microsoft YaHei UI", 11);
    }

    void OnFieldChanged(const PanelRow&) override { RefreshPreviewImage(); }

    void OnOtherCommand(const PanelRow& row, int code) override {
        const TextItemRow* item = ItemOfControl(row.id);
        if (!item) {
            return;
        }
        SkinTextItem& text = record().*item->item;
        if (row.kind == PanelRowKind::Text && code == EN_CHANGE) {
            SetSkinText(text, AsU16(WindowText(Control(row.id))));
            RefreshPreviewImage();
        } else if (row.kind == PanelRowKind::Browse && code == BN_CLICKED) {
            ChooseItemFont(text);
        }
    }

    bool PaintPreview(HWND preview, HDC dc) override {
        SkinFile& skin = editor().skin();
        skin.SetImage(SlotPreview, {});
        // The pictures were composed by RefreshPreviewImage, which every
        // change on this page and showing it go through.
        const int scroll = ::GetScrollPos(preview, SB_HORZ);
        const std::optional<PreviewRect> box = MeasurePreview(dc);
        RECT client = {};
        ::GetClientRect(preview, &client);
        // The composition unscrolled, large enough for the box and the window.
        const int width = std::max<int>(box ? box->right : 0, client.right + scroll);
        const int height = std::max<int>(box ? box->bottom : 0, client.bottom);
        GdiplusImage working = NewPicture(width, height);
        {
            PreviewCanvas canvas = PreviewCanvas::ForPicture(working.get());
            DrawComposition(canvas, dc);
        }
        if (box) {
            // What the box covers becomes the skin's preview picture.
            GdiplusImage picture = NewPicture(box->width(), box->height());
            PreviewCanvas cut = PreviewCanvas::ForPicture(picture.get());
            cut.DrawImage(working.get(), {0, 0, box->width(), box->height()}, *box, false);
            skin.SetImage(SlotPreview, std::move(picture));
        }
        PreviewCanvas canvas = PreviewCanvas::ForDc(dc);
        canvas.DrawImage(working.get(), {-scroll, 0, width - scroll, height}, {0, 0, width, height},
                         false);
        return true;
    }

private:
    // The three pictures as they stand now (pages not shown yet have not
    // composed theirs); nothing on this page changes them.
    void ComposePictures(HDC dc) {
        SkinFile& skin = editor().skin();
        editor().statusComposite() = ComposeStatus(skin, editor().statusStates());
        if (font_) {
            LOGFONTW font = {};
            ::GetObjectW(font_.get(), sizeof(font), &font);
            const BarTextSizes sizes = MeasureBarTexts(dc, font);
            for (const bool vertical : {false, true}) {
                editor().barComposite(vertical) = ComposeBar(skin, vertical, dc, font, sizes);
            }
        }
    }

    struct Placed {
        Gdiplus::GpImage* picture;
        int x, y;
    };
    std::array<Placed, 3> Pictures() {
        const SkinRecord& r = record();
        return {Placed{editor().statusComposite().get(), r.statusPreviewX, r.statusPreviewY},
                Placed{editor().barComposite(false).get(), r.horzPreviewX, r.horzPreviewY},
                Placed{editor().barComposite(true).get(), r.vertPreviewX, r.vertPreviewY}};
    }

    // The box of everything the picture holds; nothing without the status
    // bar and the horizontal bar both missing.
    std::optional<PreviewRect> MeasurePreview(HDC dc) {
        const auto pictures = Pictures();
        auto placed = [](const Placed& p) { return PlacedAt(p.x, p.y, ImageSize(p.picture)); };
        std::optional<PreviewRect> bars;
        for (const Placed& p : {pictures[0], pictures[1]}) { // the status and horizontal bars
            if (p.picture) {
                bars = bars ? Union(*bars, placed(p)) : placed(p);
            }
        }
        if (!bars || IsEmpty(*bars)) {
            return std::nullopt;
        }
        PreviewRect box = *bars;
        if (pictures[2].picture) {
            box = Union(box, placed(pictures[2]));
        }
        for (const TextItemRow& item : kTextItems) {
            const SkinTextItem& text = record().*item.item;
            if (SkinText(text).empty()) {
                continue;
            }
            const LOGFONTW font = ToLogFont(text.font);
            box = Union(box, PlacedAt(text.x, text.y,
                                      MeasurePreviewText(dc, SkinText(text), &font, false)));
        }
        return box;
    }

    void DrawComposition(PreviewCanvas& canvas, HDC dc) {
        for (const Placed& placed : Pictures()) {
            if (placed.picture) {
                const SIZE size = ImageSize(placed.picture);
                canvas.DrawImage(placed.picture, PlacedAt(placed.x, placed.y, size),
                                 {0, 0, size.cx, size.cy}, false);
            }
        }
        for (const TextItemRow& item : kTextItems) {
            const SkinTextItem& text = record().*item.item;
            if (SkinText(text).empty()) {
                continue;
            }
            const LOGFONTW font = ToLogFont(text.font);
            const SIZE size = MeasurePreviewText(dc, SkinText(text), &font, false);
            canvas.DrawText(dc, SkinText(text), text.color, &font, TextAlign::Centre,
                            TextAlign::Centre, PlacedAt(text.x, text.y, size));
        }
    }

    void RefreshPreviewImage() {
        HWND window = preview();
        if (!window) {
            return;
        }
        RECT client = {};
        ::GetClientRect(window, &client);
        std::optional<PreviewRect> box;
        {
            WindowDc dc(window);
            ComposePictures(dc.get());
            box = MeasurePreview(dc.get());
        }
        SetScrollExtent(window, SB_HORZ, box ? box->right : 0, client.right,
                        SIF_POS | SIF_DISABLENOSCROLL);
        RedrawPreview();
    }

    void ChooseItemFont(SkinTextItem& text) {
        LOGFONTW font = ToLogFont(text.font);
        CHOOSEFONTW choose = {};
        choose.lStructSize = sizeof(choose);
        choose.hwndOwner = panel();
        choose.lpLogFont = &font;
        choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
        choose.rgbColors = text.color;
        if (!::ChooseFontW(&choose)) {
            return;
        }
        std::memcpy(&text.font, &font, sizeof(text.font));
        text.color = choose.rgbColors;
        RefreshPreviewImage();
    }

    FontHandle font_;
};

} // namespace

std::unique_ptr<CEditorPage> MakePreviewImagePage(CSkinEditor& editor) {
    return std::make_unique<CPreviewImagePage>(editor);
}

} // namespace tide
