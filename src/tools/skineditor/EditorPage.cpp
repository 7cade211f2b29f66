#include "tools/skineditor/EditorPage.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <string>

#include "core/skin/SkinFormat.h"
#include "tools/skineditor/SkinEditor.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/Scrolling.h"
#include "win/FileAccess.h"
#include "win/PathBuffer.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr COLORREF kTitleColor = 0xCC6600;
constexpr wchar_t kTitleFace[] = L"Microsoft YaHei UI";
constexpr int kTitlePoints = 11;
constexpr int kPanelStepPixels = 30;
constexpr int kUpDownMaximum = 1000;
constexpr int kNumberWidth = 27;
constexpr DWORD kUpDownStyle =
    UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_HOTTRACK;
constexpr DWORD kPageHiddenStyle = WS_CHILD | DS_SETFONT;
constexpr DWORD kPageVisibleStyle = kPageHiddenStyle | WS_VISIBLE;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL;

template <typename Value>
Value ReadField(const SkinRecord& record, int offset) {
    Value value;
    std::memcpy(&value, reinterpret_cast<const std::uint8_t*>(&record) + offset, sizeof(value));
    return value;
}

template <typename Value>
void WriteField(SkinRecord& record, int offset, Value value) {
    std::memcpy(reinterpret_cast<std::uint8_t*>(&record) + offset, &value, sizeof(value));
}

// A factor as typed: white space, then a decimal number as far as it goes;
// 0 when the text does not begin with one.
float ParseFactor(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : text) {
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    std::size_t start = ascii.find_first_not_of(" \t\r\n");
    if (start == std::string::npos) {
        return 0;
    }
    if (ascii[start] == '+') {
        ++start;
    }
    float value = 0;
    const auto result = std::from_chars(ascii.data() + start, ascii.data() + ascii.size(), value,
                                        std::chars_format::fixed);
    return result.ec == std::errc() ? value : 0.0f;
}

std::wstring FactorText(float value) {
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%.2f", static_cast<double>(value));
    return text;
}

ControlClass ClassOf(const PanelRow& row) {
    switch (row.kind) {
    case PanelRowKind::Section:
    case PanelRowKind::Label:
        return ClassOf(ControlKind::Text);
    case PanelRowKind::Image:
    case PanelRowKind::Float:
    case PanelRowKind::Text:
        return ClassOf(ControlKind::Edit);
    case PanelRowKind::Number:
        return ClassOf(ControlKind::NumberEdit);
    case PanelRowKind::Colour:
        return ClassOf(ControlKind::ColourSwatch);
    case PanelRowKind::Check:
        return ClassOf(ControlKind::Check);
    case PanelRowKind::Radio:
        return ClassOf(row.groupStart ? ControlKind::RadioFirst : ControlKind::Radio);
    case PanelRowKind::Browse:
        return ClassOf(ControlKind::Button);
    }
    return {L"Static", 0};
}

} // namespace

PanelRows& PanelRows::Section(int y, const wchar_t* title, int width) {
    rows.push_back({PanelRowKind::Section, title, kSectionId, 7, y, width, 8});
    return *this;
}

PanelRows& PanelRows::Label(int x, int y, int width, const wchar_t* caption) {
    rows.push_back({PanelRowKind::Label, caption, -1, x, y, width, 8});
    return *this;
}

PanelRows& PanelRows::Image(int y, const wchar_t* caption, int editId, int browseId, int slot,
                            int labelWidth, int editX, int editWidth) {
    Label(7, y + 1, labelWidth, caption);
    rows.push_back({PanelRowKind::Image, L"", editId, editX, y, editWidth, 10, kNoField, slot});
    return Button(-27, y - 1, 12, 11, browseId, editId);
}

PanelRows& PanelRows::Number(int x, int y, int editId, int upDownId, SkinField<std::int32_t> field,
                             int minimum) {
    // 27 units with its arrows, which take the right of it: clear of a label
    // that starts 65 units before the panel's right edge.
    rows.push_back({PanelRowKind::Number, L"", editId, x, y, kNumberWidth, 10, field.offset, -1,
                    upDownId, minimum});
    return *this;
}

PanelRows& PanelRows::Box(int y, const wchar_t* position, const wchar_t* size,
                          SkinField<SkinBox> box, int firstEditId, int firstUpDownId) {
    constexpr std::int32_t SkinBox::*members[] = {&SkinBox::x, &SkinBox::y, &SkinBox::cx,
                                                  &SkinBox::cy};
    const wchar_t* labels[] = {L"x  =", L"y  =", L"cx =", L"cy ="};
    for (int row = 0; row < 2; ++row) {
        const int top = y + 14 * row;
        Label(7, top + 1, 38, row == 0 ? position : size);
        for (int column = 0; column < 2; ++column) {
            const int k = 2 * row + column;
            Label(column == 0 ? 45 : -65, top + 1, 20, labels[k]);
            Number(column == 0 ? 65 : -45, top, firstEditId + k, firstUpDownId + k,
                   FieldOf(box, members[k]));
        }
    }
    return *this;
}

PanelRows& PanelRows::Position(int y, const wchar_t* caption, int xEditId,
                               SkinField<std::int32_t> xField, int yEditId,
                               SkinField<std::int32_t> yField) {
    Label(7, y, 38, caption);
    Label(45, y, 20, L"x  =");
    Number(65, y - 1, xEditId, xEditId + 1, xField);
    Label(-65, y, 20, L"y  =");
    return Number(-45, y - 1, yEditId, yEditId + 1, yField);
}

PanelRows& PanelRows::Colour(int y, const wchar_t* caption, int swatchId, int browseId,
                             SkinField<std::uint32_t> field, int labelWidth, int swatchX,
                             int swatchWidth) {
    Label(7, y + 1, labelWidth, caption);
    rows.push_back(
        {PanelRowKind::Colour, L"", swatchId, swatchX, y, swatchWidth, 10, field.offset});
    return Button(-27, y - 1, 12, 11, browseId, swatchId);
}

PanelRows& PanelRows::Check(int x, int y, int width, const wchar_t* caption, int id,
                            SkinField<std::int32_t> field) {
    rows.push_back({PanelRowKind::Check, caption, id, x, y, width, 10, field.offset});
    return *this;
}

PanelRows& PanelRows::Radio(int x, int y, int width, const wchar_t* caption, int id,
                            SkinField<std::int32_t> field, int value, bool groupStart,
                            bool otherwise) {
    rows.push_back({PanelRowKind::Radio, caption, id, x, y, width, 10, field.offset, -1, 0, value,
                    groupStart, otherwise});
    return *this;
}

PanelRows& PanelRows::Float(int x, int y, int id, SkinField<float> field) {
    rows.push_back({PanelRowKind::Float, L"", id, x, y, 30, 10, field.offset});
    return *this;
}

PanelRows& PanelRows::Button(int x, int y, int width, int height, int id, int partner) {
    rows.push_back({PanelRowKind::Browse, L"...", id, x, y, width, height, kNoField, -1, partner});
    return *this;
}

PanelRows& PanelRows::Text(int x, int y, int width, int id) {
    rows.push_back({PanelRowKind::Text, L"", id, x, y, width, 10});
    return *this;
}

CEditorPage::CEditorPage(CSkinEditor& editor, const Frame& frame, std::vector<PanelRow> rows)
    : CDialog(editor.instance(), nullptr), editor_(editor), frame_(frame), rows_(std::move(rows)) {}

SkinRecord& CEditorPage::record() {
    return editor_.skin().record();
}

HWND CEditorPage::Create(HWND editorWindow, bool visible, int x, int y, int width, int height) {
    owner_ = editorWindow;
    width_ = width;
    height_ = height;
    return CreateChildPane(*this, visible ? kPageVisibleStyle : kPageHiddenStyle, x, y, width,
                           height, DialogProcFor<CEditorPage, &CEditorPage::PageMessage>,
                           editorWindow);
}

INT_PTR CEditorPage::PageMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        window_ = window;
        CreateFrame();
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // The page lies on the editor's white client area; its title is coloured.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kSectionId) {
            ::SetTextColor(dc, kTitleColor);
        }
        return WhiteBackgroundBrush();
    }
    case WM_CTLCOLORDLG:
        return WhiteBackgroundBrush();
    default:
        return FALSE;
    }
}

void CEditorPage::CreateFrame() {
    CreateControl(*this, L"Button", L"", BS_GROUPBOX, 15, 0, width_ - 30, height_ - 15, window_,
                  -1);
    HWND title = CreateControl(*this, L"Static", frame_.title, 0, 20, 0, frame_.titleWidth, 8,
                               window_, kSectionId);
    titleFont_ = CreateUiFont(window_, kTitleFace, kTitlePoints);
    if (title && titleFont_) {
        ::SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
    }
    const int previewWidth = (width_ - 30) / 2 + 7;
    const int previewHeight = height_ - 15 - 11;
    preview_ = CreateChildPane(*this, kPreviewStyle, 16, 10, previewWidth, previewHeight,
                               DialogProcFor<CEditorPage, &CEditorPage::PreviewMessage>, window_);
    panel_ = CreateChildPane(*this, kPanelStyle, previewWidth + 17, 4, previewWidth - 17,
                             previewHeight + 5,
                             DialogProcFor<CEditorPage, &CEditorPage::PanelMessage>, window_);
    if (panel_) {
        SetScrollExtent(panel_, SB_VERT, frame_.scrollSteps, frame_.scrollPage, SIF_POS);
    }
}

INT_PTR CEditorPage::PanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        panel_ = window;
        CreatePanelControls();
        return TRUE;
    case WM_COMMAND:
        OnPanelCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_VSCROLL:
        ScrollPanel(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_MOUSEWHEEL:
        ScrollPanel(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return TRUE;
    case WM_DRAWITEM:
        DrawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kSectionId) {
            ::SetTextColor(dc, kTitleColor);
        }
        return reinterpret_cast<INT_PTR>(editor_.pageBrush());
    }
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(editor_.pageBrush());
    default:
        return FALSE;
    }
}

void CEditorPage::CreatePanelControls() {
    // W: the panel's client width in the units the rows are given in.
    RECT client = {};
    RECT outer = {};
    ::GetClientRect(panel_, &client);
    ::GetWindowRect(panel_, &outer);
    const int panelUnits = (width_ - 30) / 2 + 7 - 17;
    const int outerPixels = std::max<int>(outer.right - outer.left, 1);
    const int w = panelUnits * (client.right - client.left) / outerPixels;
    const auto placeX = [w](const PanelRow& row) { return row.x < 0 ? w + row.x : row.x; };
    for (const PanelRow& row : rows_) {
        const int x = placeX(row);
        int width = row.width < 0 ? w + row.width : row.width;
        if (row.kind == PanelRowKind::Number) {
            // A narrow panel (a large font, a wide scroll bar) brings the
            // label after a number field closer: the field, arrows
            // included, ends where that label begins.
            for (const PanelRow& label : rows_) {
                const int labelX = placeX(label);
                if (label.kind == PanelRowKind::Label && std::abs(label.y - row.y) <= 1 &&
                    labelX > x) {
                    width = std::min(width, labelX - x);
                }
            }
        }
        const ControlClass kind = ClassOf(row);
        const wchar_t* caption = row.kind == PanelRowKind::Browse ? L"..." : row.caption;
        CreateControl(*this, kind.name, caption ? caption : L"", kind.style, x, row.y, width,
                      row.height, panel_, row.id);
        if (row.kind == PanelRowKind::Number) {
            // An automatic buddy: the edit made just before.
            HWND upDown = CreateControl(*this, UPDOWN_CLASSW, L"", kUpDownStyle, 0, 0, 0, 0, panel_,
                                        row.partner);
            ::SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(row.value), kUpDownMaximum);
        }
    }
    ShowFields();
    OnCreated();
}

std::int32_t CEditorPage::IntField(SkinField<std::int32_t> field) {
    return ReadField<std::int32_t>(record(), field.offset);
}

void CEditorPage::SetIntField(SkinField<std::int32_t> field, std::int32_t value) {
    WriteField(record(), field.offset, value);
}

HWND CEditorPage::Control(int id) const {
    return panel_ ? ::GetDlgItem(panel_, id) : nullptr;
}

const PanelRow* CEditorPage::RowOf(int id) const {
    for (const PanelRow& row : rows_) {
        if (row.id == id && row.kind != PanelRowKind::Section && row.kind != PanelRowKind::Label) {
            return &row;
        }
    }
    return nullptr;
}

void CEditorPage::EnableRange(int first, int last, bool enabled) {
    for (HWND child = ::GetWindow(panel_, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(child);
        if (id >= first && id <= last) {
            ::EnableWindow(child, enabled ? TRUE : FALSE);
        }
    }
}

void CEditorPage::ShowField(const PanelRow& row) {
    if (row.field == kNoField) {
        return;
    }
    const SkinRecord& r = record();
    switch (row.kind) {
    case PanelRowKind::Number:
        // The up-down shows it in its buddy, which notifies a change.
        ::SendMessageW(Control(row.partner), UDM_SETPOS32, 0,
                       ReadField<std::int32_t>(r, row.field));
        break;
    case PanelRowKind::Colour:
        ::InvalidateRect(Control(row.id), nullptr, TRUE);
        break;
    case PanelRowKind::Check:
        ::CheckDlgButton(panel_, row.id, ReadField<std::int32_t>(r, row.field) ? 1 : 0);
        break;
    case PanelRowKind::Radio: {
        const std::int32_t value = ReadField<std::int32_t>(r, row.field);
        const bool storedByAnother =
            std::any_of(rows_.begin(), rows_.end(), [&](const PanelRow& o) {
                return o.kind == PanelRowKind::Radio && o.field == row.field && o.id != row.id &&
                       o.value == value;
            });
        const bool checked = value == row.value || (row.otherwise && !storedByAnother);
        ::CheckDlgButton(panel_, row.id, checked ? 1 : 0);
        break;
    }
    case PanelRowKind::Float:
        ::SetDlgItemTextW(panel_, row.id, FactorText(ReadField<float>(r, row.field)).c_str());
        break;
    default:
        break;
    }
}

void CEditorPage::ShowImageNames() {
    for (const PanelRow& row : rows_) {
        if (row.kind == PanelRowKind::Image) {
            const bool held = editor_.skin().holds(static_cast<SkinSlot>(row.slot));
            ::SetDlgItemTextW(panel_, row.id,
                              held ? ToWide(kSkinSlots[row.slot].displayName).c_str() : L"");
        }
    }
}

void CEditorPage::ShowFields() {
    // Each number shown notifies a change; the page's picture is composed
    // once by the caller, not once a field.
    showingFields_ = true;
    for (const PanelRow& row : rows_) {
        ShowField(row);
    }
    showingFields_ = false;
}

void CEditorPage::OnPanelCommand(int id, int code) {
    const PanelRow* row = RowOf(id);
    if (!row) {
        return;
    }
    SkinRecord& r = record();
    switch (row->kind) {
    case PanelRowKind::Image:
        if (code == EN_CHANGE) {
            OnImageText(*row, WindowText(Control(id)));
        }
        break;
    case PanelRowKind::Number:
        if (code == EN_CHANGE) {
            BOOL failed = FALSE;
            const auto position = static_cast<std::int32_t>(::SendMessageW(
                Control(row->partner), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
            WriteField(r, row->field, position);
            if (!showingFields_) {
                OnFieldChanged(*row);
            }
        }
        break;
    case PanelRowKind::Float:
        if (code == EN_CHANGE) {
            WriteField(r, row->field, ParseFactor(WindowText(Control(id))));
            if (!showingFields_) {
                OnFieldChanged(*row);
            }
        }
        break;
    case PanelRowKind::Check:
        if (code == BN_CLICKED) {
            WriteField<std::int32_t>(r, row->field, ::IsDlgButtonChecked(panel_, id) ? 1 : 0);
            OnFieldChanged(*row);
        }
        break;
    case PanelRowKind::Radio:
        if (code == BN_CLICKED && ::IsDlgButtonChecked(panel_, id)) {
            WriteField<std::int32_t>(r, row->field, row->value);
            OnFieldChanged(*row);
        }
        break;
    case PanelRowKind::Browse:
        if (code == BN_CLICKED) {
            OnBrowse(*row);
        }
        break;
    case PanelRowKind::Text:
        OnOtherCommand(*row, code);
        break;
    default:
        break;
    }
}

void CEditorPage::OnBrowse(const PanelRow& row) {
    const PanelRow* target = RowOf(row.partner);
    if (!target) {
        return;
    }
    if (target->kind == PanelRowKind::Image) {
        PathBuffer path;
        if (ShowFileDialog(panel_, path, FileKind::OpenPng)) {
            ::SetDlgItemTextW(panel_, target->id, path); // the change loads it
        }
        return;
    }
    if (target->kind == PanelRowKind::Colour) {
        COLORREF custom[16] = {}; // black each time
        CHOOSECOLORW choose = {};
        choose.lStructSize = sizeof(choose);
        choose.hwndOwner = panel_;
        choose.rgbResult = ReadField<COLORREF>(record(), target->field);
        choose.lpCustColors = custom;
        choose.Flags = CC_FULLOPEN | CC_RGBINIT;
        if (::ChooseColorW(&choose)) {
            WriteField<COLORREF>(record(), target->field, choose.rgbResult);
            ::InvalidateRect(Control(target->id), nullptr, TRUE);
            OnFieldChanged(*target);
        }
        return;
    }
    OnOtherCommand(row, BN_CLICKED);
}

void CEditorPage::OnImageText(const PanelRow& row, const std::wstring& text) {
    if (IsSkinImageRef(AsU16(text))) {
        return;
    }
    editor_.LoadImageInto(static_cast<SkinSlot>(row.slot), text);
    RedrawPreview();
}

void CEditorPage::OnFieldChanged(const PanelRow&) {
    RedrawPreview();
}

void CEditorPage::RedrawPreview() {
    if (preview_) {
        ::InvalidateRect(preview_, nullptr, TRUE);
        ::UpdateWindow(preview_);
    }
}

void CEditorPage::DrawSwatch(const DRAWITEMSTRUCT& item) {
    const PanelRow* row = RowOf(static_cast<int>(item.CtlID));
    if (!row || row->kind != PanelRowKind::Colour) {
        return;
    }
    BrushHandle brush(::CreateSolidBrush(ReadField<COLORREF>(record(), row->field)));
    ::FillRect(item.hDC, &item.rcItem, brush.get());
}

void CEditorPage::ScrollPanel(int request, int thumb) {
    const ScrollMove move = MoveScrollBar(panel_, SB_VERT, request, thumb);
    if (move.after != move.before) {
        ::ScrollWindowEx(panel_, 0, (move.before - move.after) * kPanelStepPixels, nullptr, nullptr,
                         nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    }
}

void CEditorPage::SetPreviewScrollWidth(int width) {
    if (!preview_) {
        return;
    }
    RECT client = {};
    ::GetClientRect(preview_, &client);
    SetScrollExtent(preview_, SB_HORZ, std::max(width, 0), client.right);
}

void CEditorPage::ScrollPreview(int request, int thumb) {
    const ScrollMove move = MoveScrollBar(preview_, SB_HORZ, request, thumb);
    if (move.after != move.before) {
        RedrawPreview(); // the picture is drawn from the scroll position
    }
}

INT_PTR CEditorPage::PreviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        preview_ = window;
        return TRUE;
    case WM_PAINT: {
        bool drawn = false;
        {
            PaintScope paint(window);
            drawn = PaintPreview(window, paint.dc());
        }
        if (drawn) {
            editor_.MarkModified();
        }
        return TRUE;
    }
    case WM_CTLCOLORDLG:
        return WhiteBackgroundBrush();
    case WM_LBUTTONDOWN:
        OnPreviewClick(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return TRUE;
    case WM_HSCROLL:
        ScrollPreview(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_MOUSEWHEEL: {
        SCROLLBARINFO bar = {};
        bar.cbSize = sizeof(bar);
        const bool barShown = ::GetScrollBarInfo(window, OBJID_HSCROLL, &bar) &&
                              !(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
        if (WheelScrollsPreview() && barShown) {
            ScrollPreview(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace tide
