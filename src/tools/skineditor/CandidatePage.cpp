// The two candidate-bar pages, twins from one table: background and its
// fixed edges, margins, separator, code row, candidates with their selection
// box and colours, and the page buttons.
#include <cstddef>

#include "core/skin/SkinFormat.h"
#include "tools/skineditor/EditorPages.h"
#include "tools/skineditor/SkinEditor.h"
#include "ui/Controls.h"
#include "win/skin/PreviewCanvas.h"
#include "win/skin/PreviewPictures.h"

namespace tide {
namespace {

constexpr int kBackgroundId = 4609;
constexpr int kFirstDependentId = 4612; // everything below the background
constexpr int kLastDependentId = 4681;
constexpr int kCodeEmbeddedId = 4646;
constexpr int kPagerAfterCodeId = 4640;
constexpr int kPagerAfterCandidatesId = 4641;

// One bar's fields in the record.
struct BarFields {
    SkinEdges SkinRecord::*fixedEdges;
    SkinEdges SkinRecord::*margins;
    std::int32_t SkinRecord::*separatorWidth;
    std::int32_t SkinRecord::*separatorLeft;
    std::int32_t SkinRecord::*separatorGap;
    std::int32_t SkinRecord::*separatorRight;
    std::uint32_t SkinRecord::*separatorColor;
    std::int32_t SkinRecord::*codeEmbedded;
    std::uint32_t SkinRecord::*codeColor;
    std::int32_t SkinRecord::*selectionStyle;
    std::uint32_t SkinRecord::*selectionBoxColor;
    std::uint32_t SkinRecord::*selectedItemColor;
    std::uint32_t SkinRecord::*itemColor;
    float SkinRecord::*itemHeight;
    float SkinRecord::*itemSpacing; // none on the vertical bar
    std::int32_t SkinRecord::*pagerAfterCode;
    std::int32_t SkinRecord::*pagerEdgeDistance;
    SkinSlot background, firstPager;
};

constexpr BarFields kHorizontal = {&SkinRecord::horzFixedEdges,
                                   &SkinRecord::horzMargins,
                                   &SkinRecord::horzSeparatorWidth,
                                   &SkinRecord::horzSeparatorLeft,
                                   &SkinRecord::horzSeparatorGap,
                                   &SkinRecord::horzSeparatorRight,
                                   &SkinRecord::horzSeparatorColor,
                                   &SkinRecord::horzCodeEmbedded,
                                   &SkinRecord::horzCodeColor,
                                   &SkinRecord::horzSelectionStyle,
                                   &SkinRecord::horzSelectionBoxColor,
                                   &SkinRecord::horzSelectedItemColor,
                                   &SkinRecord::horzItemColor,
                                   &SkinRecord::horzItemHeight,
                                   &SkinRecord::horzItemSpacing,
                                   &SkinRecord::horzPagerAfterCode,
                                   &SkinRecord::horzPagerEdgeDistance,
                                   SlotHorzCand,
                                   SlotHPrevPage};

constexpr BarFields kVertical = {&SkinRecord::vertFixedEdges,
                                 &SkinRecord::vertMargins,
                                 &SkinRecord::vertSeparatorWidth,
                                 &SkinRecord::vertSeparatorLeft,
                                 &SkinRecord::vertSeparatorGap,
                                 &SkinRecord::vertSeparatorRight,
                                 &SkinRecord::vertSeparatorColor,
                                 &SkinRecord::vertCodeEmbedded,
                                 &SkinRecord::vertCodeColor,
                                 &SkinRecord::vertSelectionStyle,
                                 &SkinRecord::vertSelectionBoxColor,
                                 &SkinRecord::vertSelectedItemColor,
                                 &SkinRecord::vertItemColor,
                                 &SkinRecord::vertItemHeight,
                                 nullptr,
                                 &SkinRecord::vertPagerAfterCode,
                                 &SkinRecord::vertPagerEdgeDistance,
                                 SlotVertCand,
                                 SlotVPrevPage};

// Two labelled numbers in one row; `wideSecond` is the separator rows' layout.
void NumberPair(PanelRows& rows, int y, const wchar_t* first, int firstEdit, int firstUpDown,
                SkinField<std::int32_t> firstField, const wchar_t* second, int secondEdit,
                int secondUpDown, SkinField<std::int32_t> secondField, bool wideSecond = false,
                int firstMinimum = 0) {
    rows.Label(7, y + 1, 36, first)
        .Number(43, y, firstEdit, firstUpDown, firstField, firstMinimum)
        .Label(wideSecond ? -87 : -81, y + 1, wideSecond ? 40 : 36, second)
        .Number(-45, y, secondEdit, secondUpDown, secondField);
}

void FactorRow(PanelRows& rows, int y, const wchar_t* caption, int id, SkinField<float> field,
               const wchar_t* unit) {
    rows.Label(7, y + 1, 48, caption).Float(55, y, id, field).Label(89, y + 1, -92, unit);
}

PanelRows CandidateRows(const BarFields& f, bool vertical) {
    PanelRows rows;
    rows.Section(7, L"背景设置").Image(21, L"背景图片：", kBackgroundId, 4611, f.background);
    rows.Section(34, L"图片缩放");
    NumberPair(rows, 48, L"左边固定：", 4616, 4612, FieldOf(f.fixedEdges, &SkinEdges::left),
               L"上边固定：", 4617, 4613, FieldOf(f.fixedEdges, &SkinEdges::top));
    NumberPair(rows, 62, L"右边固定：", 4618, 4614, FieldOf(f.fixedEdges, &SkinEdges::right),
               L"下边固定：", 4619, 4615, FieldOf(f.fixedEdges, &SkinEdges::bottom));
    rows.Section(75, L"边距设置");
    NumberPair(rows, 89, L"左边距：", 4624, 4620, FieldOf(f.margins, &SkinEdges::left), L"上边距：",
               4625, 4621, FieldOf(f.margins, &SkinEdges::top));
    NumberPair(rows, 103, L"右边距：", 4626, 4622, FieldOf(f.margins, &SkinEdges::right),
               L"下边距：", 4627, 4623, FieldOf(f.margins, &SkinEdges::bottom));
    rows.Section(117, L"分隔线设置", 64);
    NumberPair(rows, 129, L"隔线宽度：", 4636, 4632, FieldOf(f.separatorWidth), L"隔线左边距：",
               4634, 4630, FieldOf(f.separatorLeft), true, -1);
    NumberPair(rows, 143, L"上下间隔：", 4637, 4633, FieldOf(f.separatorGap), L"隔线右边距：", 4635,
               4631, FieldOf(f.separatorRight), true);
    rows.Colour(158, L"隔线颜色：", 4638, 4639, FieldOf(f.separatorColor))
        .Section(172, L"编码设置")
        .Check(7, 185, -22, L"编码嵌入应用程序，候选框中不显示编码", kCodeEmbeddedId,
               FieldOf(f.codeEmbedded))
        .Colour(200, L"编码颜色：", 4647, 4648, FieldOf(f.codeColor))
        .Section(214, L"候选设置")
        .Radio(7, 227, 50, L"直角选择框", 4665, FieldOf(f.selectionStyle), 1, true)
        .Radio(59, 227, 50, L"圆角选择框", 4666, FieldOf(f.selectionStyle), 2, false)
        .Radio(111, 227, 50, L"无选择框", 4667, FieldOf(f.selectionStyle), 0, false, true)
        .Colour(242, L"选择框颜色：", 4668, 4669, FieldOf(f.selectionBoxColor), 48, 55, -84)
        .Colour(256, L"选择项颜色：", 4670, 4671, FieldOf(f.selectedItemColor), 48, 55, -84)
        .Colour(270, L"候选项颜色：", 4672, 4673, FieldOf(f.itemColor), 48, 55, -84);
    FactorRow(rows, 285, L"候选项高度：", 4628, FieldOf(f.itemHeight), L"倍中文字符高度");
    if (!vertical) {
        FactorRow(rows, 299, L"候选项间距：", 4629, FieldOf(f.itemSpacing), L"倍中文字符宽度");
    }
    const int pager = vertical ? 300 : 314; // the vertical page has no spacing row
    rows.Section(pager, L"翻页按钮")
        .Label(7, pager + 14, 44, L"位于候选栏：")
        .Radio(55, pager + 13, 50, L"编码项后", kPagerAfterCodeId, FieldOf(f.pagerAfterCode), 1,
               true, true)
        .Radio(105, pager + 13, 50, L"候选项后", kPagerAfterCandidatesId, FieldOf(f.pagerAfterCode),
               0, false)
        .Label(7, pager + 29, 44, L"距最近竖边：")
        .Number(55, pager + 28, 4642, 4643, FieldOf(f.pagerEdgeDistance));
    const wchar_t* pagers[] = {L"上页按钮图片：", L"下页按钮图片：", L"首页按钮图片：",
                               L"末页按钮图片："};
    for (int i = 0; i < 4; ++i) {
        rows.Image(pager + 43 + 14 * i, pagers[i], 4674 + i, 4678 + i, f.firstPager + i, 48, 55,
                   -84);
    }
    return rows;
}

class CCandidatePage : public CEditorPage {
public:
    CCandidatePage(CSkinEditor& editor, bool vertical)
        : CEditorPage(editor,
                      {vertical ? L"竖排候选栏" : L"横排候选栏", 44, vertical ? 28 : 29, 19},
                      CandidateRows(vertical ? kVertical : kHorizontal, vertical).rows),
          vertical_(vertical), fields_(vertical ? kVertical : kHorizontal) {}

    void Refresh() override {
        ShowImageNames();
        ShowFields();
        RedrawPreview();
    }

protected:
    void OnCreated() override {
        EnableRange(kFirstDependentId, kLastDependentId, false);
        font_ = CreateUiFont(preview(), L"Microsoft YaHei UI", 11);
    }

    void OnImageText(const PanelRow& row, const std::wstring& text) override {
        if (row.id == kBackgroundId) {
            EnableRange(kFirstDependentId, kLastDependentId, !text.empty());
        }
        CEditorPage::OnImageText(row, text);
    }

    void OnFieldChanged(const PanelRow& row) override {
        if (row.id == kCodeEmbeddedId) {
            // Embedding the code moves the page buttons into the candidate row.
            const std::int32_t afterCode = 1 - IntField(FieldOf(fields_.codeEmbedded));
            SetIntField(FieldOf(fields_.pagerAfterCode), afterCode);
            ::CheckRadioButton(panel(), kPagerAfterCodeId, kPagerAfterCandidatesId,
                               afterCode ? kPagerAfterCodeId : kPagerAfterCandidatesId);
        }
        CEditorPage::OnFieldChanged(row);
    }

    bool PaintPreview(HWND preview, HDC dc) override {
        const SkinFile& skin = editor().skin();
        if (!skin.image(fields_.background) || !font_) {
            return false;
        }
        LOGFONTW font = {};
        ::GetObjectW(font_.get(), sizeof(font), &font);
        const BarTextSizes sizes = MeasureBarTexts(dc, font);
        GdiplusImage& picture = editor().barComposite(vertical_);
        picture = ComposeBar(skin, vertical_, dc, font, sizes);
        if (!picture) {
            return false;
        }
        const SIZE size = ImageSize(picture.get());
        SetPreviewScrollWidth(size.cx);
        RECT client = {};
        ::GetClientRect(preview, &client);
        const int x = BarPictureX(::GetScrollPos(preview, SB_HORZ));
        const int y = CentredPictureY(client.bottom, size.cy);
        PreviewCanvas canvas = PreviewCanvas::ForDc(dc);
        canvas.DrawImage(picture.get(), {x, y, x + size.cx, y + size.cy}, {0, 0, size.cx, size.cy},
                         false);
        return true;
    }

private:
    bool vertical_;
    const BarFields& fields_;
    FontHandle font_;
};

} // namespace

std::unique_ptr<CEditorPage> MakeCandidatePage(CSkinEditor& editor, bool vertical) {
    return std::make_unique<CCandidatePage>(editor, vertical);
}

} // namespace tide
