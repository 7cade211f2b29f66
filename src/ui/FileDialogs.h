// The open and save dialogs of the program's file kinds.
#pragma once

#include <windows.h>

#include "win/PathBuffer.h"

namespace tide {

enum class FileKind : int {
    OpenText = 0,
    OpenLibrary = 1,
    OpenBackup = 2,
    OpenSkin = 3,
    OpenPng = 4,
    SaveText = 5,
    SaveLibrary = 6,
    SaveBackup = 7,
    SaveSkin = 8,
    OpenWordList = 9, // our entries' text, or another input method's word list
};

// Clears `path`, shows the dialog of `kind` and returns non-zero when the
// user chose a file (its path is then in `path`).
BOOL ShowFileDialog(HWND owner, PathBuffer& path, FileKind kind);

} // namespace tide
