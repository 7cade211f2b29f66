// What the two dialogs that make user entries share: the hints for a word
// and its code, and storing the entry with the user told when it fails.
#pragma once

#include <windows.h>

#include <string>

#include "core/dict/PhraseEncoder.h"

namespace tide {

// The hint for `status`; `validText` for a valid new entry, since each dialog
// words that one its own way. Null for a status without a hint.
const wchar_t* EntryStatusHint(EntryCheckStatus status, const wchar_t* validText);

// Adds the entry to the current library as a user entry. A code of anything
// but "a" to "z", or a library that cannot take it (not opened, read-only,
// full), is reported over `dialog`; true only when the entry was stored.
bool StoreUserEntry(HWND dialog, const std::wstring& code, const std::wstring& word);

} // namespace tide
