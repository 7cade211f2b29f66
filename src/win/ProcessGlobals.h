// The few values that live for the whole process: the module instance and the
// registered change-notice message. Both are set before any window exists and
// never change afterwards.
#pragma once

#include <windows.h>

#include "core/contract/ImeContract.h"

namespace tide {

extern HINSTANCE g_instance;

// "WM_TIDE_NOTIFY", registered during static initialisation.
extern const UINT g_notifyMessage;

// Posts the change notice to every top-level window; never waits for an answer.
BOOL PostChangeNotice(ChangeCode code);

} // namespace tide
