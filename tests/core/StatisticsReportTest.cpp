// The HTML report: a page whole in itself, whose pictures show the figures
// they are drawn from.
#include "core/stats/StatisticsReport.h"

#include <gtest/gtest.h>

#include <string>

namespace tide {
namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TableStatistics SmallFigures() {
    TableStatistics stats;
    stats.codeLength = 4;
    stats.entries = 7;
    stats.characters = 5;
    stats.phrases = 2;
    stats.codes = 6;
    stats.characterLengths = {0, 1, 1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0};
    stats.phraseLengths = {0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    stats.candidates[1] = 5;
    stats.candidates[2] = 1;
    stats.emptyCodes[0] = {"b", "c"};
    stats.firstLetters[0] = 4;  // a
    stats.firstLetters[25] = 2; // z
    stats.duplicates = 1;
    stats.duplicateExamples.push_back({"aaaa", "工<b>", 1});
    stats.hasRules = true;
    stats.ruleMismatches = 1;
    stats.mismatchExamples.push_back({"工人", "aaww", "aawy"});
    stats.uncodedCharacters = 1;
    stats.uncodedExamples.push_back(U'𠀀');
    return stats;
}

TEST(StatisticsReport, IsAWholePageThatFetchesNothingAndEscapesWhatTheTableSays) {
    const std::string html = StatisticsReportHtml(SmallFigures(), "my <table> & more.txt");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos) << "nothing fetched, no link out";
    EXPECT_EQ(html.find("src="), std::string::npos);
    EXPECT_NE(html.find("my &lt;table&gt; &amp; more.txt"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos) << "a word is text, not markup";
    EXPECT_NE(html.find("工&lt;b&gt;"), std::string::npos);
    EXPECT_NE(html.find("𠀀"), std::string::npos) << "a character beyond the BMP as UTF-8";
    // Code lengths twice, candidates, 空码, the keyboard.
    EXPECT_EQ(Occurrences(html, "<svg"), 5u);
    EXPECT_EQ(Occurrences(html, "<svg"), Occurrences(html, "</svg>"));
    EXPECT_EQ(Occurrences(html, "<tr>"), Occurrences(html, "</tr>"));
}

TEST(StatisticsReport, PicturesAreScaledToTheirFigures) {
    const std::string html = StatisticsReportHtml(SmallFigures(), "t");
    // Lengths 1 to the full length 4, for characters and phrases.
    EXPECT_EQ(Occurrences(html, ">4 码<"), 2u);
    EXPECT_EQ(Occurrences(html, ">5 码<"), 0u);
    // A header may declare any length: the rows stop at the lengths counted.
    TableStatistics declared = SmallFigures();
    declared.codeLength = 822222222;
    const std::string longHeader = StatisticsReportHtml(declared, "t");
    EXPECT_EQ(Occurrences(longHeader, ">12 码<"), 2u);
    EXPECT_EQ(Occurrences(longHeader, ">13 码<"), 0u);
    // The largest bar of a chart is its whole width; the others in proportion.
    EXPECT_NE(html.find("width=\"300.0\" height=\"18.0\""), std::string::npos);
    EXPECT_NE(html.find("width=\"100.0\" height=\"18.0\""), std::string::npos) << "1 of 3";
    EXPECT_NE(html.find("width=\"60.0\" height=\"18.0\""), std::string::npos) << "1 of 5";
    // 2 of 26 one-letter codes are empty.
    EXPECT_NE(html.find("空 2 / 26（7.69%）"), std::string::npos);
    EXPECT_NE(html.find("空 0 / 676（0.00%）"), std::string::npos);
    // The key that starts most codes is the deepest colour, a key that starts
    // none the palest.
    const auto colourOfKey = [&html](char letter) {
        const std::size_t label = html.find(std::string(">") + letter + "</text>");
        const std::size_t fill = html.find("fill=\"", html.rfind("<rect", label));
        return label == std::string::npos ? std::string() : html.substr(fill + 6, 7);
    };
    const std::string colourOfA = colourOfKey('A'), colourOfB = colourOfKey('B');
    EXPECT_EQ(colourOfA, "#1f4f96");
    EXPECT_EQ(colourOfB, "#f1f5fa");
}

} // namespace
} // namespace tide
