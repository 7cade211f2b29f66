// The dialog face: "微软雅黑" where it is installed, "宋体" elsewhere.
#pragma once

#include <string_view>

namespace tide {

// True when enumerating the families of `face` on the desktop's device
// context reports a family of exactly that name.
bool IsFaceInstalled(const wchar_t* face);

// The face every template and control of the program uses.
std::u16string_view DialogFaceName();
// True when dialog units must be corrected for the fallback face.
bool UsingFallbackFace();

} // namespace tide
