// Line breaking of the information message box: a line ends once it holds 15
// display units, where a wide character takes one unit and two narrow
// characters (codes below 127) take one.
#pragma once

#include <string>
#include <string_view>

namespace tide {

inline constexpr unsigned kInfoMessageLineUnits = 15;
inline constexpr std::u16string_view kInfoMessageCaption = u"潮汐输入法\u3000信息";

// The text with CR LF after every line that has reached 15 units (so a text
// whose last line is exactly full ends with CR LF). A surrogate pair is never
// split: a break that falls inside one waits until after it.
std::u16string BreakInfoMessageLines(std::u16string_view text);

} // namespace tide
