// Words with "$" are date templates that the input method fills in when it
// offers them ("$n年$y月$r日"). The manager stores them as written; this is
// their meaning, for previews and tests.
#pragma once

#include <string>
#include <string_view>

namespace tide {

struct LocalDateTime {
    int year;
    int month;   // 1-12
    int day;     // 1-31
    int hour;    // 0-23
    int minute;  // 0-59
    int second;  // 0-59
    int weekday; // 0 = Sunday
};

// 〇 to 九 digit by digit for 1000-9999, else 十, 十五, 二十, 二十三 style for
// 10-99 and one digit for 0-9. Other values are written digit by digit.
std::u16string ChineseNumeral(int value);

// The word with its fields filled in; a word without "$", or whose fields have
// no meaning (mixed cases, or a lone lower-case w), is returned unchanged.
std::u16string ExpandDateTemplate(std::u16string_view word, const LocalDateTime& time);

} // namespace tide
