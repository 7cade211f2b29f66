#include "core/dict/DateTemplate.h"

#include <array>
#include "core/base/DecimalText.h"

namespace tide {
namespace {

constexpr std::u16string_view kDigits = u"〇一二三四五六七八九";
constexpr std::u16string_view kWeekdays = u"日一二三四五六";
constexpr std::u16string_view kNumeralFields = u"NYRSFM";

} // namespace

std::u16string ChineseNumeral(int value) {
    if (value >= 0 && value <= 9) {
        return std::u16string(1, kDigits[value]);
    }
    if (value >= 10 && value <= 99) {
        std::u16string text;
        if (value >= 20) {
            text.push_back(kDigits[value / 10]);
        }
        text.push_back(u'十');
        if (value % 10 != 0) {
            text.push_back(kDigits[value % 10]);
        }
        return text;
    }
    std::u16string text;
    for (char16_t c : DecimalText(value)) {
        text.push_back(c == u'-' ? u'负' : kDigits[c - u'0']);
    }
    return text;
}

std::u16string ExpandDateTemplate(std::u16string_view word, const LocalDateTime& time) {
    if (word.find(u'$') == std::u16string_view::npos) {
        return std::u16string(word);
    }
    // The first field letter, in the order n y r s f m N Y R S F M W, selects
    // the values: that field and the ones after it.
    constexpr std::u16string_view kOrder = u"nyrsfmNYRSFMW";
    std::size_t selected = kOrder.size();
    for (std::size_t i = 0; i < kOrder.size() && selected == kOrder.size(); ++i) {
        if (word.find(kOrder[i]) != std::u16string_view::npos) {
            selected = i;
        }
    }
    const bool hasLower = word.find_first_of(u"nyrsfmw") != std::u16string_view::npos;
    const bool hasUpper = word.find_first_of(u"NYRSFMW") != std::u16string_view::npos;
    if (selected == kOrder.size() || (hasLower && hasUpper)) {
        return std::u16string(word); // no meaning is defined for these
    }

    // The word becomes a format: "$" -> "%", n y r s f m w -> "d",
    // N Y R S F M -> "s", W -> "c"; it is then formatted with the values.
    const std::array<int, 6> fields = {time.year, time.month,  time.day,
                                       time.hour, time.minute, time.second};
    const bool weekday = kOrder[selected] == u'W';
    const std::size_t first = selected % 6;
    const std::size_t available = weekday ? 1 : fields.size() - first;
    const char16_t conversion = weekday ? u'c' : selected < 6 ? u'd' : u's';
    auto converted = [](char16_t c) -> char16_t {
        if (std::u16string_view(u"nyrsfmw").find(c) != std::u16string_view::npos) {
            return u'd';
        }
        if (kNumeralFields.find(c) != std::u16string_view::npos) {
            return u's';
        }
        return c == u'W' ? u'c' : c == u'$' ? u'%' : c;
    };
    std::u16string out;
    std::size_t used = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char16_t c = converted(word[i]);
        if (c != u'%') {
            out.push_back(c);
            continue;
        }
        const char16_t spec = i + 1 < word.size() ? converted(word[++i]) : u'\0';
        if (spec == u'%') {
            out.push_back(u'%');
            continue;
        }
        // A conversion of another kind, or more fields than values: the
        // template has no defined meaning and stays as written.
        if (spec != conversion || used == available) {
            return std::u16string(word);
        }
        if (weekday) {
            out.push_back(kWeekdays[static_cast<std::size_t>(time.weekday) % 7]);
        } else {
            const int value = fields[first + used];
            out += conversion == u'd' ? DecimalText(value) : ChineseNumeral(value);
        }
        ++used;
    }
    return out;
}

} // namespace tide
