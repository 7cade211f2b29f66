// Answers the file dialog a test provokes, as a user typing a name would.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace tide::test {

// A thread that waits for the next file dialog with `title`, types `name`
// into it and presses OK; `seen` is set once the dialog was found and took
// the name (a dialog that stays open is cancelled).
std::thread AnswerFileDialog(const wchar_t* title, std::wstring name, std::atomic<bool>& seen);

} // namespace tide::test
