// A dialog template in zeroed global memory, ready for the indirect dialog
// functions.
#pragma once

#include "core/ui/DialogTemplate.h"
#include "win/Handles.h"

namespace tide {

// An empty handle when the memory cannot be had.
GlobalMemory AllocateDialogTemplate(const DialogTemplateFields& fields);

// Builds the template and runs it modally (the dialog's result) or creates it
// modelessly (the window, as INT_PTR); -1 when the template memory cannot be had.
INT_PTR ShowDialogTemplate(HINSTANCE instance, const DialogTemplateFields& fields, HWND parent,
                           DLGPROC procedure, LPARAM parameter, bool modal);

} // namespace tide
