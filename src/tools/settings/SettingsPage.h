// A page of the settings dialog: a table of rows, one per control, each with
// its place, its caption and its binding to the working record. Creating the
// controls, Fill, Collect, the modified mark and the enabling rules follow
// from the rows; a page class adds only what its table cannot say.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/config/SettingsBinding.h"
#include "ui/Dialog.h"
#include "win/Handles.h"

namespace tide {

class CConfigureDialog;

enum class RowKind : std::uint8_t {
    Heading,    // blue text in the page's heading font
    Label,      // plain text
    Check,      // BS_AUTOCHECKBOX
    RadioGroup, // BS_AUTORADIOBUTTON starting a group
    Radio,      // BS_AUTORADIOBUTTON
    List,       // drop-down list
    Edit,       // one-line edit with a border
    Button,     // a flat push button the page handles itself
};

inline constexpr int kHeadingId = 1561;
inline constexpr int kLabelId = 0xFFFF;

struct PageRow {
    RowKind kind;
    const wchar_t* caption; // "%s" and "%c" are filled in by the page
    int id;
    int x, y, width, height; // dialog units
    Binding binding;
    int enabledBy = 0;   // the check or radio whose check mark enables this row
    DWORD listStyle = 0; // extra styles of a list
};

class CSettingsPage : public CDialog {
public:
    CSettingsPage(CConfigureDialog& shell, std::span<const PageRow> rows);
    ~CSettingsPage() override = default;

    // The page dialog in the shell's page area; nullptr when it cannot be made.
    HWND Create(HWND shellWindow, bool visible, int x, int y, int width, int height);
    HWND window() const { return window_; }

    // Record to controls, and back.
    virtual void Fill();
    virtual void Collect();
    // The key the hotkey edit bound to `field` shows now (0 for an empty
    // edit); nothing when this page has no such edit.
    std::optional<std::uint8_t> ShownHotkey(RecordField field) const;

protected:
    // The caption of a row as shown; the table's caption unless the page fills it in.
    virtual std::wstring Caption(const PageRow& row);
    // Fills the lists after the controls are made.
    virtual void FillLists() {}
    // A command the table does not handle (EN_CHANGE of an edit and the like).
    virtual void OnCommand(int id, int code);
    // A command the page acts on at once, before the table's handling (which
    // marks the dialog modified); true when it was the page's.
    virtual bool OnPageCommand(int, int) { return false; }
    // After the controls are made and filled; before the window goes.
    virtual void OnCreated() {}
    virtual void OnDestroyed() {}

    CConfigureDialog& shell() { return shell_; }
    HWND Control(int id) const;
    // Shows the record's value in the control of one row.
    void FillRow(const PageRow& row);
    bool IsChecked(int id) const;
    // Enables every row whose enabling control is checked, disables the others.
    void ApplyEnablingRules();

private:
    INT_PTR HandleMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    // A key typed into a hotkey edit: refused, with the stored key put back
    // and the modified mark as it was, when another hotkey shows that key.
    // False when `id` is no hotkey edit.
    bool OnHotkeyEdited(int id);
    void CreateControls();
    ControlState ReadState(const PageRow& row, HWND control) const;
    void ShowState(const PageRow& row, HWND control, const ControlState& state);

    CConfigureDialog& shell_;
    std::span<const PageRow> rows_;
    std::vector<HWND> controls_; // one per row
    HWND window_ = nullptr;
    bool filling_ = false; // the changes Fill makes are no user's
    FontHandle headingFont_;
};

} // namespace tide
