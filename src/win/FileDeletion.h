// Deleting a file that may still be in use (a library or skin that the input
// method has mapped).
#pragma once

namespace tide {

// 1 when the file was deleted, or, being in use, was moved hidden under a
// unique name into the root of its drive and set to be deleted at the next
// restart; 0 when it could be neither deleted nor moved.
int DeleteFileForced(const wchar_t* path);

} // namespace tide
