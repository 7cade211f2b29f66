#include "core/skin/SkinRecordText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/base/FixedText.h"
#include "core/base/Utf.h"

namespace tide {
namespace {

enum class FieldKind { Int, Color, Float, Byte, Text };

struct Field {
    std::string name;
    std::size_t offset;
    FieldKind kind;
};

void AddBox(std::vector<Field>& fields, const std::string& name, std::size_t offset) {
    const char* parts[] = {"x", "y", "cx", "cy"};
    for (int i = 0; i < 4; ++i) {
        fields.push_back({name + "." + parts[i], offset + 4 * i, FieldKind::Int});
    }
}

void AddEdges(std::vector<Field>& fields, const std::string& name, std::size_t offset) {
    const char* parts[] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        fields.push_back({name + "." + parts[i], offset + 4 * i, FieldKind::Int});
    }
}

void AddTextItem(std::vector<Field>& fields, const std::string& name, std::size_t offset) {
    fields.push_back({name + ".text", offset, FieldKind::Text});
    const std::size_t font = offset + offsetof(SkinTextItem, font);
    const char* ints[] = {"height", "width", "escapement", "orientation", "weight"};
    for (int i = 0; i < 5; ++i) {
        fields.push_back({name + ".font." + ints[i], font + 4 * i, FieldKind::Int});
    }
    const char* bytes[] = {"italic",       "underline",     "strikeOut", "charSet",
                           "outPrecision", "clipPrecision", "quality",   "pitchAndFamily"};
    for (int i = 0; i < 8; ++i) {
        fields.push_back({name + ".font." + bytes[i], font + 20 + i, FieldKind::Byte});
    }
    fields.push_back(
        {name + ".font.face", font + offsetof(SkinLogFont, lfFaceName), FieldKind::Text});
    fields.push_back({name + ".color", offset + offsetof(SkinTextItem, color), FieldKind::Color});
    fields.push_back({name + ".x", offset + offsetof(SkinTextItem, x), FieldKind::Int});
    fields.push_back({name + ".y", offset + offsetof(SkinTextItem, y), FieldKind::Int});
}

// Every byte of the record belongs to exactly one field, in record order.
const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = [] {
        std::vector<Field> f;
#define TIDE_FIELD(member, kind)                                                                   \
    f.push_back({#member, offsetof(SkinRecord, member), FieldKind::kind})
        TIDE_FIELD(complete, Int);
        AddBox(f, "logoBox", offsetof(SkinRecord, logoBox));
        AddBox(f, "langButtonBox", offsetof(SkinRecord, langButtonBox));
        AddBox(f, "shapeButtonBox", offsetof(SkinRecord, shapeButtonBox));
        AddBox(f, "punctButtonBox", offsetof(SkinRecord, punctButtonBox));
        AddBox(f, "softkbButtonBox", offsetof(SkinRecord, softkbButtonBox));
        AddBox(f, "menuButtonBox", offsetof(SkinRecord, menuButtonBox));
        AddEdges(f, "horzMargins", offsetof(SkinRecord, horzMargins));
        AddEdges(f, "vertMargins", offsetof(SkinRecord, vertMargins));
        AddEdges(f, "horzFixedEdges", offsetof(SkinRecord, horzFixedEdges));
        AddEdges(f, "vertFixedEdges", offsetof(SkinRecord, vertFixedEdges));
        TIDE_FIELD(horzSeparatorLeft, Int);
        TIDE_FIELD(horzSeparatorRight, Int);
        TIDE_FIELD(horzSeparatorWidth, Int);
        TIDE_FIELD(horzSeparatorGap, Int);
        TIDE_FIELD(horzSeparatorColor, Color);
        TIDE_FIELD(vertSeparatorLeft, Int);
        TIDE_FIELD(vertSeparatorRight, Int);
        TIDE_FIELD(vertSeparatorWidth, Int);
        TIDE_FIELD(vertSeparatorGap, Int);
        TIDE_FIELD(vertSeparatorColor, Color);
        TIDE_FIELD(horzPagerAfterCode, Int);
        TIDE_FIELD(horzPagerEdgeDistance, Int);
        TIDE_FIELD(vertPagerAfterCode, Int);
        TIDE_FIELD(vertPagerEdgeDistance, Int);
        TIDE_FIELD(horzCodeEmbedded, Int);
        TIDE_FIELD(horzCodeColor, Color);
        TIDE_FIELD(vertCodeEmbedded, Int);
        TIDE_FIELD(vertCodeColor, Color);
        TIDE_FIELD(horzSelectionStyle, Int);
        TIDE_FIELD(horzSelectionBoxColor, Color);
        TIDE_FIELD(horzSelectedItemColor, Color);
        TIDE_FIELD(horzItemColor, Color);
        TIDE_FIELD(horzItemHeight, Float);
        TIDE_FIELD(horzItemSpacing, Float);
        TIDE_FIELD(vertSelectionStyle, Int);
        TIDE_FIELD(vertSelectionBoxColor, Color);
        TIDE_FIELD(vertSelectedItemColor, Color);
        TIDE_FIELD(vertItemColor, Color);
        TIDE_FIELD(vertItemHeight, Float);
        TIDE_FIELD(reserved, Int);
        TIDE_FIELD(statusPreviewX, Int);
        TIDE_FIELD(statusPreviewY, Int);
        TIDE_FIELD(horzPreviewX, Int);
        TIDE_FIELD(horzPreviewY, Int);
        TIDE_FIELD(vertPreviewX, Int);
        TIDE_FIELD(vertPreviewY, Int);
#undef TIDE_FIELD
        AddTextItem(f, "name", offsetof(SkinRecord, name));
        AddTextItem(f, "version", offsetof(SkinRecord, version));
        AddTextItem(f, "author", offsetof(SkinRecord, author));
        AddTextItem(f, "otherInfo", offsetof(SkinRecord, otherInfo));
        return f;
    }();
    return fields;
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 15]);
    }
    return text;
}

bool ParseHex(std::string_view text, std::uint8_t* out, std::size_t count) {
    if (text.size() != 2 * count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, out[i], 16).ptr !=
            text.data() + 2 * i + 2) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::string SkinRecordToText(const SkinRecord& record) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    std::string out =
        "# Skin record: one field per line. Colours are 0x00BBGGRR; texts are UTF-8.\n";
    for (const Field& field : Fields()) {
        const std::uint8_t* at = bytes + field.offset;
        std::string value;
        std::int32_t i32;
        std::uint32_t u32;
        std::memcpy(&i32, at, 4);
        std::memcpy(&u32, at, 4);
        switch (field.kind) {
        case FieldKind::Int:
            value = std::to_string(i32);
            break;
        case FieldKind::Byte:
            value = std::to_string(*at);
            break;
        case FieldKind::Color: {
            char text[16];
            std::snprintf(text, sizeof(text), "0x%08X", u32);
            value = text;
            break;
        }
        case FieldKind::Float: {
            const float number = std::bit_cast<float>(u32);
            char text[32];
            const auto end = std::to_chars(text, text + sizeof(text), number).ptr;
            value.assign(text, end);
            // Anything decimal text cannot give back exactly is kept as its bits.
            float back = 0;
            if (std::isnan(number) || std::from_chars(text, end, back).ptr != end ||
                std::bit_cast<std::uint32_t>(back) != u32) {
                value = "bits:" + Hex(at, 4);
            }
            break;
        }
        case FieldKind::Text: {
            char16_t units[kSkinTextUnits];
            std::memcpy(units, at, sizeof(units));
            const std::u16string_view text = FixedText(units);
            const std::size_t length = text.size();
            // Texts with bytes after their end, or that a line cannot give back
            // exactly (line breaks, edge spaces, invalid UTF-16), stay raw.
            bool clean = length < kSkinTextUnits;
            for (std::size_t k = length; clean && k < kSkinTextUnits; ++k) {
                clean = units[k] == 0;
            }
            value = ToUtf8(text);
            if (!clean || value.find_first_of("\r\n") != std::string::npos ||
                value != Trim(value) || value.starts_with("bytes:") || FromUtf8(value) != text) {
                value = "bytes:" + Hex(at, sizeof(units));
            }
            break;
        }
        }
        out += field.name + " = " + value + "\n";
    }
    return out;
}

std::optional<SkinRecord> SkinRecordFromText(std::string_view text, const SkinRecord& base,
                                             std::string* error) {
    SkinRecord record = base;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&record);
    std::size_t lineNumber = 0;
    auto fail = [&](const std::string& why) {
        if (error) {
            *error = "line " + std::to_string(lineNumber) + ": " + why;
        }
        return std::nullopt;
    };
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return fail("expected field = value");
        }
        const std::string_view name = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        const Field* field = nullptr;
        for (const Field& candidate : Fields()) {
            if (candidate.name == name) {
                field = &candidate;
            }
        }
        if (!field) {
            return fail("unknown field " + std::string(name));
        }
        std::uint8_t* at = bytes + field->offset;
        auto parsed = [&](auto& number, int base) {
            const auto result =
                std::from_chars(value.data(), value.data() + value.size(), number, base);
            return result.ec == std::errc() && result.ptr == value.data() + value.size();
        };
        bool ok = true;
        switch (field->kind) {
        case FieldKind::Int: {
            std::int32_t number = 0;
            ok = parsed(number, 10);
            std::memcpy(at, &number, 4);
            break;
        }
        case FieldKind::Byte: {
            std::uint8_t number = 0;
            ok = parsed(number, 10);
            *at = number;
            break;
        }
        case FieldKind::Color: {
            std::uint32_t number = 0;
            ok = value.starts_with("0x") || value.starts_with("0X");
            if (ok) {
                const std::string_view digits = value.substr(2);
                const auto result =
                    std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
                ok = result.ec == std::errc() && result.ptr == digits.data() + digits.size();
            }
            std::memcpy(at, &number, 4);
            break;
        }
        case FieldKind::Float: {
            if (value.starts_with("bits:")) {
                ok = ParseHex(value.substr(5), at, 4);
                break;
            }
            float number = 0;
            const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
            ok = result.ec == std::errc() && result.ptr == value.data() + value.size();
            std::memcpy(at, &number, 4);
            break;
        }
        case FieldKind::Text: {
            if (value.starts_with("bytes:")) {
                ok = ParseHex(value.substr(6), at, 2 * kSkinTextUnits);
                break;
            }
            const std::u16string units = FromUtf8(value);
            ok = units.size() < kSkinTextUnits;
            if (ok) {
                std::memset(at, 0, 2 * kSkinTextUnits);
                std::memcpy(at, units.data(), units.size() * 2);
            } else if (error) {
                return fail(std::string(name) + " holds at most 31 characters");
            }
            break;
        }
        }
        if (!ok) {
            return fail("cannot read the value of " + std::string(name));
        }
    }
    return record;
}

} // namespace tide
