// The tools the launcher opens: one row per option button, with the framed
// dialog that the button runs. The launcher reaches the tools only through
// this table.
#pragma once

#include <windows.h>

#include <span>

namespace tide {

struct ToolRow {
    int id; // the option button's identifier
    const wchar_t* title;
    int width; // dialog units
    int height;
    int navigationWidth; // 0: three tenths of the width
    // Constructs the tool's dialog, runs it modally and returns its result.
    INT_PTR (*run)(const ToolRow& row, HINSTANCE instance, HWND owner);
};

// Every tool, in the order of the launcher's buttons.
std::span<const ToolRow> Tools();

// The row of `id`; null when no tool has that identifier.
const ToolRow* FindTool(int id);

// Runs the tool of `row` with `owner` as its owner and returns its result.
inline INT_PTR RunTool(const ToolRow& row, HINSTANCE instance, HWND owner) {
    return row.run(row, instance, owner);
}

} // namespace tide
