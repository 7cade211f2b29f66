#include "core/stats/StatisticsReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <vector>

#include "core/base/Utf.h"
#include "core/base/Utf16.h"
#include "core/stats/CharacterSets.h"

namespace tide {
namespace {

constexpr std::string_view kAccent = "#2f6db5";
constexpr std::string_view kSecondAccent = "#d9822b";
constexpr std::string_view kUnused = "#e3e7ec";

std::string Escape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// 136753 as "136,753".
std::string Count(std::size_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}

std::string Percent(double rate) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.2f%%", rate * 100);
    return text;
}

std::string Pixels(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", value);
    return text;
}

struct BarRow {
    std::string label;
    std::size_t value = 0;
};

// Horizontal bars, a row each: the label, the bar scaled to the largest
// value, and the value after it.
std::string HorizontalBars(std::span<const BarRow> rows, std::string_view colour) {
    constexpr double kRowHeight = 24, kLabelWidth = 64, kBarWidth = 300, kValueWidth = 90;
    std::size_t largest = 1;
    for (const BarRow& row : rows) {
        largest = std::max(largest, row.value);
    }
    const double height = kRowHeight * static_cast<double>(rows.size()) + 4;
    std::string svg = "<svg class=\"chart\" width=\"" +
                      Pixels(kLabelWidth + kBarWidth + kValueWidth) + "\" height=\"" +
                      Pixels(height) + "\" role=\"img\">";
    double y = 2;
    for (const BarRow& row : rows) {
        const double length =
            row.value == 0 ? 0
                           : std::max(1.0, kBarWidth * static_cast<double>(row.value) / largest);
        svg += "<text x=\"" + Pixels(kLabelWidth - 8) + "\" y=\"" + Pixels(y + 16) +
               "\" text-anchor=\"end\">" + Escape(row.label) + "</text>";
        svg += "<rect x=\"" + Pixels(kLabelWidth) + "\" y=\"" + Pixels(y + 3) + "\" width=\"" +
               Pixels(length) + "\" height=\"" + Pixels(kRowHeight - 6) + "\" fill=\"" +
               std::string(colour) + "\"/>";
        svg += "<text x=\"" + Pixels(kLabelWidth + length + 6) + "\" y=\"" + Pixels(y + 16) +
               "\">" + Count(row.value) + "</text>";
        y += kRowHeight;
    }
    return svg + "</svg>";
}

// Each length's codes as a bar split into the used and the unused (空码).
std::string EmptyCodeBars(const TableStatistics& stats) {
    constexpr double kRowHeight = 28, kLabelWidth = 64, kBarWidth = 300;
    constexpr std::string_view kLabels[] = {"一码", "二码", "三码"};
    std::string svg = "<svg class=\"chart\" width=\"" + Pixels(kLabelWidth + kBarWidth + 190) +
                      "\" height=\"" + Pixels(kRowHeight * 3 + 4) + "\" role=\"img\">";
    std::size_t possible = 1;
    for (std::size_t length = 0; length < 3; ++length) {
        possible *= 26;
        const std::size_t empty = stats.emptyCodes[length].size();
        const double emptyWidth = kBarWidth * static_cast<double>(empty) / possible;
        const double y = 2 + kRowHeight * static_cast<double>(length);
        svg += "<text x=\"" + Pixels(kLabelWidth - 8) + "\" y=\"" + Pixels(y + 18) +
               "\" text-anchor=\"end\">" + std::string(kLabels[length]) + "</text>";
        svg += "<rect x=\"" + Pixels(kLabelWidth) + "\" y=\"" + Pixels(y + 4) + "\" width=\"" +
               Pixels(kBarWidth - emptyWidth) + "\" height=\"" + Pixels(kRowHeight - 8) +
               "\" fill=\"" + std::string(kAccent) + "\"/>";
        svg += "<rect x=\"" + Pixels(kLabelWidth + kBarWidth - emptyWidth) + "\" y=\"" +
               Pixels(y + 4) + "\" width=\"" + Pixels(emptyWidth) + "\" height=\"" +
               Pixels(kRowHeight - 8) + "\" fill=\"" + std::string(kUnused) + "\"/>";
        svg += "<text x=\"" + Pixels(kLabelWidth + kBarWidth + 8) + "\" y=\"" + Pixels(y + 18) +
               "\">空 " + Count(empty) + " / " + Count(possible) + "（" +
               Percent(static_cast<double>(empty) / possible) + "）</text>";
    }
    return svg + "</svg>";
}

// A colour between the palest and the accent for a share from 0 to 1.
std::string HeatColour(double share) {
    constexpr int kPale[] = {0xF1, 0xF5, 0xFA}, kDeep[] = {0x1F, 0x4F, 0x96};
    char text[8];
    int channel[3];
    for (int i = 0; i < 3; ++i) {
        channel[i] = static_cast<int>(std::lround(kPale[i] + (kDeep[i] - kPale[i]) * share));
    }
    std::snprintf(text, sizeof(text), "#%02x%02x%02x", channel[0], channel[1], channel[2]);
    return text;
}

// The letter keys in their rows, each coloured by the codes it starts.
std::string KeyboardPicture(const TableStatistics& stats) {
    constexpr std::string_view kRows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
    constexpr double kIndent[] = {0, 0.3, 0.8};
    constexpr double kKey = 52, kGap = 6;
    std::size_t most = 1;
    for (const std::size_t codes : stats.firstLetters) {
        most = std::max(most, codes);
    }
    const double width = 10 * (kKey + kGap) + 8;
    std::string svg = "<svg class=\"chart\" width=\"" + Pixels(width) + "\" height=\"" +
                      Pixels(3 * (kKey + kGap) + 34) + "\" role=\"img\">";
    for (std::size_t row = 0; row < std::size(kRows); ++row) {
        double x = 4 + kIndent[row] * (kKey + kGap);
        const double y = 4 + static_cast<double>(row) * (kKey + kGap);
        for (const char letter : kRows[row]) {
            const std::size_t codes = stats.firstLetters[static_cast<std::size_t>(letter - 'a')];
            // The square root spreads the light keys apart from one another.
            const double share = std::sqrt(static_cast<double>(codes) / most);
            const std::string_view ink = share > 0.55 ? " light" : "";
            svg += "<rect x=\"" + Pixels(x) + "\" y=\"" + Pixels(y) + "\" width=\"" + Pixels(kKey) +
                   "\" height=\"" + Pixels(kKey) + "\" rx=\"6\" fill=\"" + HeatColour(share) +
                   "\" stroke=\"#b8c2cc\"/>";
            svg += "<text x=\"" + Pixels(x + kKey / 2) + "\" y=\"" + Pixels(y + 24) +
                   "\" text-anchor=\"middle\" class=\"key" + std::string(ink) + "\">" +
                   static_cast<char>(letter - 'a' + 'A') + "</text>";
            svg += "<text x=\"" + Pixels(x + kKey / 2) + "\" y=\"" + Pixels(y + 42) +
                   "\" text-anchor=\"middle\" class=\"small" + std::string(ink) + "\">" +
                   Count(codes) + "</text>";
            x += kKey + kGap;
        }
    }
    // The scale under the keys.
    const double legendY = 3 * (kKey + kGap) + 10;
    svg += "<defs><linearGradient id=\"heat\">";
    for (int stop = 0; stop <= 4; ++stop) {
        svg += "<stop offset=\"" + std::to_string(stop * 25) + "%\" stop-color=\"" +
               HeatColour(stop / 4.0) + "\"/>";
    }
    svg += "</linearGradient></defs>";
    svg += "<text x=\"4\" y=\"" + Pixels(legendY + 13) + "\" class=\"small\">少</text>";
    svg += "<rect x=\"22\" y=\"" + Pixels(legendY + 2) +
           "\" width=\"160\" height=\"14\" fill=\"url(#heat)\" stroke=\"#b8c2cc\"/>";
    svg += "<text x=\"188\" y=\"" + Pixels(legendY + 13) +
           "\" class=\"small\">多（以该键开头的编码数）</text>";
    return svg + "</svg>";
}

// A table of label and value pairs.
std::string FigureTable(std::span<const std::pair<std::string, std::string>> rows) {
    std::string html = "<table class=\"figures\">";
    for (const auto& [label, value] : rows) {
        html += "<tr><th>" + Escape(label) + "</th><td>" + Escape(value) + "</td></tr>";
    }
    return html + "</table>";
}

std::string ShareText(const Share& share) {
    return Count(share.count) + " / " + Count(share.of) + "（" + Percent(share.Rate()) + "）";
}

std::string Summary(const TableStatistics& stats) {
    std::vector<std::pair<std::string, std::string>> rows = {
        {"条目", Count(stats.entries)},
        {"单字条目", Count(stats.characters)},
        {"词组条目", Count(stats.phrases)},
        {"编码（不同的）", Count(stats.codes)},
        {"码长", std::to_string(stats.codeLength)},
    };
    if (stats.userEntries > 0) {
        rows.emplace_back("其中用户词条", Count(stats.userEntries));
    }
    rows.emplace_back("静态重码率（单字全码）", ShareText(stats.sharedFullCodes));
    rows.emplace_back("与他词同码的条目", ShareText(stats.sharedCodes));
    rows.emplace_back("选重率",
                      stats.weighted && stats.totalWeight > 0
                          ? Percent(stats.laterWeight / stats.totalWeight) + "（按码表词频）"
                          : std::string("码表无词频，未计算"));
    rows.emplace_back("单字：只有简码", Count(stats.shortCodeOnly));
    rows.emplace_back("单字：只有全码", Count(stats.fullCodeOnly));
    rows.emplace_back("单字：全码和简码", Count(stats.fullAndShortCodes));
    return FigureTable(rows);
}

std::string CoverageTable(const TableStatistics& stats) {
    constexpr std::string_view kNames[kCoverageSetCount] = {
        "GB 2312", "基本区", "扩展 A", "扩展 B 及以后", "兼容汉字", "私用区部件",
    };
    std::string html =
        "<table class=\"coverage\"><tr><th>字集</th><th>字数</th><th>有编码</th>"
        "<th>缺</th><th>覆盖率</th></tr>";
    for (std::size_t set = 0; set < kCoverageSetCount; ++set) {
        const Coverage& coverage = stats.coverage[set];
        const std::size_t size = coverage.present + coverage.missing;
        html += "<tr><td>" + std::string(kNames[set]) + "</td><td>" + Count(size) + "</td><td>" +
                Count(coverage.present) + "</td><td>" + Count(coverage.missing) + "</td><td>" +
                Percent(size == 0 ? 0.0 : static_cast<double>(coverage.present) / size) +
                "</td></tr>";
    }
    return html + "</table>";
}

std::string DamageSection(const TableStatistics& stats) {
    std::string html = "<h2>值得修正的问题</h2>";
    html += "<h3>重复的条目：" + Count(stats.duplicates) + "</h3>";
    if (!stats.duplicateExamples.empty()) {
        html += "<table class=\"list\"><tr><th>编码</th><th>词</th><th>多出</th></tr>";
        for (const DuplicateEntry& entry : stats.duplicateExamples) {
            html += "<tr><td>" + Escape(entry.code) + "</td><td>" + Escape(entry.word) +
                    "</td><td>" + Count(entry.copies) + "</td></tr>";
        }
        html += "</table>";
    }
    if (stats.hasRules) {
        html += "<h3>编码与构词规则不符的词组：" + Count(stats.ruleMismatches) +
                "（其中规则无法编码 " + Count(stats.underived) + "）</h3>";
        if (!stats.mismatchExamples.empty()) {
            html +=
                "<table "
                "class=\"list\"><tr><th>词</th><th>码表中的编码</th><th>规则给出的编码</th></tr>";
            for (const RuleMismatch& mismatch : stats.mismatchExamples) {
                html += "<tr><td>" + Escape(mismatch.word) + "</td><td>" + Escape(mismatch.listed) +
                        "</td><td>" + (mismatch.derived.empty() ? "—" : Escape(mismatch.derived)) +
                        "</td></tr>";
            }
            html += "</table>";
        }
    } else {
        html += "<h3>码表没有构词规则，词组编码未核对</h3>";
    }
    html += "<h3>词组用到而没有编码的字：" + Count(stats.uncodedCharacters) + "</h3>";
    if (!stats.uncodedExamples.empty()) {
        std::u16string characters;
        for (const char32_t c : stats.uncodedExamples) {
            if (c > 0xFFFF) {
                characters += {HighSurrogateOf(c), LowSurrogateOf(c)};
            } else {
                characters += static_cast<char16_t>(c);
            }
            characters += u' ';
        }
        html += "<p class=\"characters\">" + Escape(ToUtf8(characters)) + "</p>";
    }
    return html;
}

constexpr std::string_view kStyle =
    "body{font-family:'Microsoft YaHei','WenQuanYi Micro Hei','Noto Sans CJK SC',sans-serif;"
    "margin:24px 32px;color:#1b2733;background:#fff;max-width:1000px}"
    "h1{font-size:22px;margin:0 0 4px}h2{font-size:17px;margin:28px 0 8px;"
    "border-bottom:1px solid #d5dce3;padding-bottom:4px}h3{font-size:14px;margin:14px 0 6px}"
    ".source{color:#5b6b7a;margin:0 0 16px}"
    "table{border-collapse:collapse;font-size:13px}th,td{padding:3px 12px 3px 0;text-align:left}"
    ".figures th{font-weight:normal;color:#5b6b7a}.figures td{text-align:right}"
    ".coverage td,.coverage th,.list td,.list th{border-bottom:1px solid "
    "#eef1f4;padding-right:18px}"
    ".coverage td:not(:first-child){text-align:right}"
    ".charts{display:flex;flex-wrap:wrap;gap:12px 40px}.charts figure{margin:0}"
    "figcaption{font-size:13px;color:#5b6b7a;margin-bottom:4px}"
    ".chart text{font-size:12px;fill:#1b2733}.chart text.key{font-size:16px;font-weight:bold}"
    ".chart text.small{font-size:11px}.chart "
    "text.light{fill:#fff}.characters{font-size:16px;letter-spacing:2px}";

std::vector<BarRow> LengthRows(const std::vector<std::size_t>& lengths, std::size_t shown) {
    std::vector<BarRow> rows;
    for (std::size_t length = 1; length <= shown; ++length) {
        rows.push_back(
            {std::to_string(length) + " 码", length < lengths.size() ? lengths[length] : 0});
    }
    return rows;
}

} // namespace

std::string StatisticsReportHtml(const TableStatistics& stats, std::string_view source) {
    const std::size_t longest = LongestShownLength(stats);
    std::vector<BarRow> candidates;
    for (std::size_t n = 1; n <= kManyCandidates; ++n) {
        candidates.push_back(
            {n == kManyCandidates ? std::to_string(n) + "+ 个" : std::to_string(n) + " 个",
             stats.candidates[n]});
    }

    std::string html =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        "<title>码表体检：" +
        Escape(source) + "</title><style>" + std::string(kStyle) + "</style></head><body>\n";
    html += "<h1>码表体检</h1><p class=\"source\">" + Escape(source) + "</p>\n";
    html += "<h2>概要</h2>" + Summary(stats) + "\n";
    html += "<h2>码长分布</h2><div class=\"charts\"><figure><figcaption>单字条目</figcaption>" +
            HorizontalBars(LengthRows(stats.characterLengths, longest), kAccent) +
            "</figure><figure><figcaption>词组条目</figcaption>" +
            HorizontalBars(LengthRows(stats.phraseLengths, longest), kSecondAccent) +
            "</figure></div>\n";
    html +=
        "<h2>重码：每个编码下的候选数</h2><div "
        "class=\"charts\"><figure><figcaption>编码数</figcaption>" +
        HorizontalBars(candidates, kAccent) + "</figure></div>\n";
    html +=
        "<h2>空码</h2><div class=\"charts\"><figure><figcaption>深色为已用的编码，浅色为空码"
        "</figcaption>" +
        EmptyCodeBars(stats) + "</figure></div>\n";
    html +=
        "<h2>首码键位</h2><div "
        "class=\"charts\"><figure><figcaption>每个键开头的编码数</figcaption>" +
        KeyboardPicture(stats) + "</figure></div>\n";
    html += "<h2>字符覆盖</h2>" + CoverageTable(stats) + "\n";
    html += DamageSection(stats) + "\n</body></html>\n";
    return html;
}

} // namespace tide
