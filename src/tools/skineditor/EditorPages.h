// The four pages of the skin editor, in navigation order: status bar,
// horizontal candidate bar, vertical candidate bar, preview image.
#pragma once

#include <memory>

#include "tools/skineditor/EditorPage.h"

namespace tide {

std::unique_ptr<CEditorPage> MakeStatusPage(CSkinEditor& editor);
std::unique_ptr<CEditorPage> MakeCandidatePage(CSkinEditor& editor, bool vertical);
std::unique_ptr<CEditorPage> MakePreviewImagePage(CSkinEditor& editor);

inline std::unique_ptr<CEditorPage> MakeEditorPage(CSkinEditor& editor, int index) {
    switch (index) {
    case 0:
        return MakeStatusPage(editor);
    case 1:
    case 2:
        return MakeCandidatePage(editor, index == 2);
    default:
        return MakePreviewImagePage(editor);
    }
}

} // namespace tide
