// A dialog template in zeroed global memory, ready for the indirect dialog
// functions.
#pragma once

#include "ui/DialogTemplate.h"
#include "ui/Handles.h"

namespace tide {

// An empty handle when the memory cannot be had.
GlobalMemory AllocateDialogTemplate(const DialogTemplateFields& fields);

} // namespace tide
