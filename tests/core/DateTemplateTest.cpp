#include "core/dict/DateTemplate.h"

#include <gtest/gtest.h>

namespace tide {
namespace {

const LocalDateTime kTime = {2026, 12, 8, 15, 4, 9, 2}; // a Tuesday

TEST(ChineseNumeral, DigitsTensAndYears) {
    EXPECT_EQ(ChineseNumeral(0), u"〇");
    EXPECT_EQ(ChineseNumeral(7), u"七");
    EXPECT_EQ(ChineseNumeral(10), u"十");
    EXPECT_EQ(ChineseNumeral(15), u"十五");
    EXPECT_EQ(ChineseNumeral(20), u"二十");
    EXPECT_EQ(ChineseNumeral(23), u"二十三");
    EXPECT_EQ(ChineseNumeral(2026), u"二〇二六");
    EXPECT_EQ(ChineseNumeral(1000), u"一〇〇〇");
}

TEST(ExpandDateTemplate, FieldsFollowTheFirstFieldLetter) {
    EXPECT_EQ(ExpandDateTemplate(u"$n年$y月$r日", kTime), u"2026年12月8日");
    EXPECT_EQ(ExpandDateTemplate(u"$Y月$R日", kTime), u"十二月八日");
    EXPECT_EQ(ExpandDateTemplate(u"$N年", kTime), u"二〇二六年");
    EXPECT_EQ(ExpandDateTemplate(u"$s:$f:$m", kTime), u"15:4:9");
    EXPECT_EQ(ExpandDateTemplate(u"星期$W", kTime), u"星期二");
    EXPECT_EQ(ExpandDateTemplate(u"100$$", kTime), u"100$$") << "no field letter: unchanged";
    EXPECT_EQ(ExpandDateTemplate(u"今天", kTime), u"今天");
}

TEST(ExpandDateTemplate, TemplatesWithoutAMeaningStayAsWritten) {
    EXPECT_EQ(ExpandDateTemplate(u"$n年$Y月", kTime), u"$n年$Y月") << "mixed cases";
    EXPECT_EQ(ExpandDateTemplate(u"$w", kTime), u"$w") << "a lone lower-case w";
    EXPECT_EQ(ExpandDateTemplate(u"$m$m", kTime), u"$m$m") << "more fields than values";
    EXPECT_EQ(ExpandDateTemplate(u"$n$", kTime), u"$n$") << "a marker without a field";
    EXPECT_EQ(ExpandDateTemplate(u"$W$W", kTime), u"$W$W");
    // Field letters outside a "$" become plain text of the format, as ever.
    EXPECT_EQ(ExpandDateTemplate(u"$n-y", kTime), u"2026-d");
}

} // namespace
} // namespace tide
