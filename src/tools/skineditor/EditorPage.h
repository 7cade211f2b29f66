// A page of the skin editor: the frame every page shares (a group box, the
// page's title, the preview window on the left and the scrolling settings
// panel on the right) and the panel's controls made from a table, one row
// per control, each bound to a field of the skin record or an image slot.
// A page class adds its table, its preview and what the table cannot say.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "core/skin/SkinFormat.h"
#include "ui/Dialog.h"
#include "win/Handles.h"

namespace tide {

class CSkinEditor;

enum class PanelRowKind : std::uint8_t {
    Section, // a title in the accent colour
    Label,   // plain text
    Image,   // an edit naming an image file (or "IMS:" for the skin's own image)
    Number,  // a digits-only edit with an up-down control, bound to an integer
    Colour,  // a swatch showing a colour, bound to a COLORREF
    Check,   // a check box, bound to an integer 0 or 1
    Radio,   // a radio button; stores `value` in its integer when checked
    Float,   // an edit showing a factor with two decimals, bound to a float
    Browse,  // a flat "..." button: a file dialog for its image row or a colour dialog
    Text,    // an edit for a text item (the page handles it)
};

// Where a field lies in the skin record (byte offset), or none.
inline constexpr int kNoField = -1;

// A field of the skin record that a panel row shows and edits: where it lies,
// typed by what it holds. Made from member pointers, so that a row bound to a
// field of another type (a number row to a float) does not compile.
template <typename Value>
struct SkinField {
    int offset = kNoField;
};

// The byte offset of `member` in an `Outer`, measured on an object of it.
template <typename Outer, typename Value>
int MemberOffset(Value Outer::*member) {
    static const Outer probe{};
    return static_cast<int>(reinterpret_cast<const char*>(&(probe.*member)) -
                            reinterpret_cast<const char*>(&probe));
}
// A field of the record; none for a null member.
template <typename Value>
SkinField<Value> FieldOf(Value SkinRecord::*member) {
    return {member ? MemberOffset(member) : kNoField};
}
// A member of a record nested in the skin record (a box's x, an edge).
template <typename Outer, typename Value>
SkinField<Value> FieldOf(SkinField<Outer> outer, Value Outer::*member) {
    return {outer.offset + MemberOffset(member)};
}
template <typename Outer, typename Value>
SkinField<Value> FieldOf(Outer SkinRecord::*outer, Value Outer::*member) {
    return FieldOf(FieldOf(outer), member);
}
inline constexpr int kSectionId = 264;

struct PanelRow {
    PanelRowKind kind;
    const wchar_t* caption;
    int id;
    // Dialog units. A negative x or width counts from the panel's width W:
    // x -27 is W - 27, width -72 is W - 72.
    int x, y, width, height;
    int field = kNoField; // byte offset in SkinRecord
    int slot = -1;        // the image slot of an Image row
    int partner = 0;      // Number: its up-down; Browse: the row it serves (edit or swatch)
    int value = 0;        // Radio: the value stored; Number: the up-down's lowest value
    bool groupStart = false;
    bool otherwise = false; // Radio: checked too for a value no other radio of its field stores
};

// The rows of a page's panel, added one line of the page's table at a time.
class PanelRows {
public:
    PanelRows& Section(int y, const wchar_t* title, int width = 56);
    PanelRows& Label(int x, int y, int width, const wchar_t* caption);
    // Label, bordered edit and "..." (one unit higher, 12 x 11 at W - 27).
    PanelRows& Image(int y, const wchar_t* caption, int editId, int browseId, int slot,
                     int labelWidth = 36, int editX = 43, int editWidth = -72);
    // A digits-only edit (27 x 10) with its up-down, bound to an integer.
    PanelRows& Number(int x, int y, int editId, int upDownId, SkinField<std::int32_t> field,
                      int minimum = 0);
    // Two rows of a box: "x  =", "y  =" under `position`, "cx =", "cy =" under
    // `size` 14 units lower; the edits and the up-downs in x, y, cx, cy order.
    PanelRows& Box(int y, const wchar_t* position, const wchar_t* size, SkinField<SkinBox> box,
                   int firstEditId, int firstUpDownId);
    // One position row: "x  =" and "y  =" for two integers.
    PanelRows& Position(int y, const wchar_t* caption, int xEditId, SkinField<std::int32_t> xField,
                        int yEditId, SkinField<std::int32_t> yField);
    // Label, sunken swatch and "..." at W - 27.
    PanelRows& Colour(int y, const wchar_t* caption, int swatchId, int browseId,
                      SkinField<std::uint32_t> field, int labelWidth = 36, int swatchX = 43,
                      int swatchWidth = -72);
    PanelRows& Check(int x, int y, int width, const wchar_t* caption, int id,
                     SkinField<std::int32_t> field);
    // `otherwise`: this radio stands for every value its group's others do not store.
    PanelRows& Radio(int x, int y, int width, const wchar_t* caption, int id,
                     SkinField<std::int32_t> field, int value, bool groupStart,
                     bool otherwise = false);
    PanelRows& Float(int x, int y, int id, SkinField<float> field);
    // A flat "..." button of its own (x, y, width, height) serving `partner`.
    PanelRows& Button(int x, int y, int width, int height, int id, int partner);
    PanelRows& Text(int x, int y, int width, int id);

    std::vector<PanelRow> rows;
};

class CEditorPage : public CDialog {
public:
    struct Frame {
        const wchar_t* title;
        int titleWidth;  // dialog units
        int scrollSteps; // the panel's scroll range is 0..scrollSteps
        int scrollPage;
    };
    CEditorPage(CSkinEditor& editor, const Frame& frame, std::vector<PanelRow> rows);
    ~CEditorPage() override = default;

    // The page in the editor's page area; null when it cannot be made.
    HWND Create(HWND editorWindow, bool visible, int x, int y, int width, int height);
    HWND window() const { return window_; }
    HWND preview() const { return preview_; }
    HWND panel() const { return panel_; }

    // Shows the skin's values after a skin was opened.
    virtual void Refresh() = 0;
    // Composes and draws the preview again (marks the skin modified).
    void RedrawPreview();
    // The editor shows this page.
    virtual void OnShown() {}

protected:
    CSkinEditor& editor() { return editor_; }
    SkinRecord& record();
    HWND Control(int id) const;
    // An integer field of the record by its offset.
    std::int32_t IntField(SkinField<std::int32_t> field);
    void SetIntField(SkinField<std::int32_t> field, std::int32_t value);
    const PanelRow* RowOf(int id) const;
    // The panel's controls with ids in [first, last] enabled or not.
    void EnableRange(int first, int last, bool enabled);
    // Shows the record's value in a row's control (number, colour, check, radio, float).
    void ShowField(const PanelRow& row);
    // Every image row shows "IMS:" and the slot's name when the skin holds
    // the image, and nothing otherwise (a path typed for another skin would
    // tell of an image this one does not hold).
    void ShowImageNames();
    // Every bound row shows the record's value.
    void ShowFields();
    const std::vector<PanelRow>& rows() const { return rows_; }
    // After the panel's controls are made.
    virtual void OnCreated() {}

    // A change of a row's control by the user (or by setting its text).
    virtual void OnImageText(const PanelRow& row, const std::wstring& text);
    virtual void OnFieldChanged(const PanelRow& row);
    // A text row's change, or a "..." that serves neither an image nor a colour.
    virtual void OnOtherCommand(const PanelRow&, int) {}
    // Draws the page's picture into the preview window's DC; false when there
    // was nothing to draw (a redraw that drew marks the skin unsaved).
    virtual bool PaintPreview(HWND preview, HDC dc) = 0;
    virtual void OnPreviewClick(int, int) {}
    // The status preview scrolls with the wheel; the bars' do not.
    virtual bool WheelScrollsPreview() const { return false; }
    // Sets the preview's horizontal scroll range to 0..width, a page of the client width.
    void SetPreviewScrollWidth(int width);

private:
    INT_PTR PageMessage(HWND, UINT, WPARAM, LPARAM);
    INT_PTR PanelMessage(HWND, UINT, WPARAM, LPARAM);
    INT_PTR PreviewMessage(HWND, UINT, WPARAM, LPARAM);

    void CreateFrame();
    void CreatePanelControls();
    void OnPanelCommand(int id, int code);
    void OnBrowse(const PanelRow& row);
    void ScrollPanel(int request, int thumb);
    void ScrollPreview(int request, int thumb);
    void DrawSwatch(const DRAWITEMSTRUCT& item);

    CSkinEditor& editor_;
    Frame frame_;
    std::vector<PanelRow> rows_;
    HWND window_ = nullptr;
    HWND preview_ = nullptr;
    HWND panel_ = nullptr;
    FontHandle titleFont_;
    bool showingFields_ = false;
};

} // namespace tide
