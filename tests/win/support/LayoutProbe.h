// Checks of how a dialog's controls are laid out, on windows of this process
// or of another one.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace tide::test {

// Every static text under `root` (child dialogs included) that an edit or an
// up-down control overlaps, as "[caption under id left-right/left-right]";
// empty when none does. `labels` counts the texts looked at.
std::wstring LabelsCoveredByFields(HWND root, std::size_t& labels);

} // namespace tide::test
