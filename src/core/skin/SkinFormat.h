// The skin file (".ims"): a 980-byte settings record, a table of 22 image
// sizes, then the 22 PNG images back to back in a fixed slot order. Read by
// the input method through a read-only mapping, so laid out byte for byte.
#pragma once

#include <array>
#include <optional>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tide {

struct SkinBox {
    std::int32_t x, y, cx, cy; // pixels, relative to the status-bar window image
};
struct SkinEdges {
    std::int32_t left, top, right, bottom;
};

// LOGFONTW in its Windows layout (92 bytes), so the record needs no Windows header.
struct SkinLogFont {
    std::int32_t lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    std::uint8_t lfItalic, lfUnderline, lfStrikeOut, lfCharSet;
    std::uint8_t lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
    char16_t lfFaceName[32];
};
static_assert(sizeof(SkinLogFont) == 92);
static_assert(offsetof(SkinLogFont, lfItalic) == 20);
static_assert(offsetof(SkinLogFont, lfFaceName) == 28);

inline constexpr std::size_t kSkinTextUnits = 32; // 31 characters and the terminator

// A text drawn onto the preview picture.
struct SkinTextItem {
    char16_t text[kSkinTextUnits];
    SkinLogFont font;
    std::uint32_t color; // COLORREF
    std::int32_t x, y;
};
static_assert(sizeof(SkinTextItem) == 168);
static_assert(offsetof(SkinTextItem, font) == 64);
static_assert(offsetof(SkinTextItem, color) == 156);
static_assert(offsetof(SkinTextItem, x) == 160);
static_assert(offsetof(SkinTextItem, y) == 164);

struct SkinRecord {
    std::uint32_t complete; // status image, a candidate background and a name
    SkinBox logoBox;
    SkinBox langButtonBox;
    SkinBox shapeButtonBox;
    SkinBox punctButtonBox;
    SkinBox softkbButtonBox;
    SkinBox menuButtonBox;
    SkinEdges horzMargins;
    SkinEdges vertMargins;
    SkinEdges horzFixedEdges;
    SkinEdges vertFixedEdges;
    std::int32_t horzSeparatorLeft, horzSeparatorRight, horzSeparatorWidth, horzSeparatorGap;
    std::uint32_t horzSeparatorColor;
    std::int32_t vertSeparatorLeft, vertSeparatorRight, vertSeparatorWidth, vertSeparatorGap;
    std::uint32_t vertSeparatorColor;
    std::int32_t horzPagerAfterCode, horzPagerEdgeDistance;
    std::int32_t vertPagerAfterCode, vertPagerEdgeDistance;
    std::int32_t horzCodeEmbedded;
    std::uint32_t horzCodeColor;
    std::int32_t vertCodeEmbedded;
    std::uint32_t vertCodeColor;
    std::int32_t horzSelectionStyle; // 0 none, 1 square-cornered, 2 rounded
    std::uint32_t horzSelectionBoxColor, horzSelectedItemColor, horzItemColor;
    float horzItemHeight;  // in heights of a Chinese character
    float horzItemSpacing; // in widths of a Chinese character
    std::int32_t vertSelectionStyle;
    std::uint32_t vertSelectionBoxColor, vertSelectedItemColor, vertItemColor;
    float vertItemHeight;
    std::int32_t reserved; // always written 0
    std::int32_t statusPreviewX, statusPreviewY;
    std::int32_t horzPreviewX, horzPreviewY;
    std::int32_t vertPreviewX, vertPreviewY;
    SkinTextItem name;
    SkinTextItem version;
    SkinTextItem author;
    SkinTextItem otherInfo;
};

inline constexpr std::size_t kSkinRecordSize = 980;
static_assert(sizeof(SkinRecord) == kSkinRecordSize);
static_assert(sizeof(float) == 4);
static_assert(offsetof(SkinRecord, logoBox) == 4);
static_assert(offsetof(SkinRecord, langButtonBox) == 20);
static_assert(offsetof(SkinRecord, shapeButtonBox) == 36);
static_assert(offsetof(SkinRecord, punctButtonBox) == 52);
static_assert(offsetof(SkinRecord, softkbButtonBox) == 68);
static_assert(offsetof(SkinRecord, menuButtonBox) == 84);
static_assert(offsetof(SkinRecord, horzMargins) == 100);
static_assert(offsetof(SkinRecord, vertMargins) == 116);
static_assert(offsetof(SkinRecord, horzFixedEdges) == 132);
static_assert(offsetof(SkinRecord, vertFixedEdges) == 148);
static_assert(offsetof(SkinRecord, horzSeparatorLeft) == 164);
static_assert(offsetof(SkinRecord, horzSeparatorRight) == 168);
static_assert(offsetof(SkinRecord, horzSeparatorWidth) == 172);
static_assert(offsetof(SkinRecord, horzSeparatorGap) == 176);
static_assert(offsetof(SkinRecord, horzSeparatorColor) == 180);
static_assert(offsetof(SkinRecord, vertSeparatorLeft) == 184);
static_assert(offsetof(SkinRecord, vertSeparatorGap) == 196);
static_assert(offsetof(SkinRecord, vertSeparatorColor) == 200);
static_assert(offsetof(SkinRecord, horzPagerAfterCode) == 204);
static_assert(offsetof(SkinRecord, horzPagerEdgeDistance) == 208);
static_assert(offsetof(SkinRecord, vertPagerAfterCode) == 212);
static_assert(offsetof(SkinRecord, vertPagerEdgeDistance) == 216);
static_assert(offsetof(SkinRecord, horzCodeEmbedded) == 220);
static_assert(offsetof(SkinRecord, horzCodeColor) == 224);
static_assert(offsetof(SkinRecord, vertCodeEmbedded) == 228);
static_assert(offsetof(SkinRecord, vertCodeColor) == 232);
static_assert(offsetof(SkinRecord, horzSelectionStyle) == 236);
static_assert(offsetof(SkinRecord, horzSelectionBoxColor) == 240);
static_assert(offsetof(SkinRecord, horzSelectedItemColor) == 244);
static_assert(offsetof(SkinRecord, horzItemColor) == 248);
static_assert(offsetof(SkinRecord, horzItemHeight) == 252);
static_assert(offsetof(SkinRecord, horzItemSpacing) == 256);
static_assert(offsetof(SkinRecord, vertSelectionStyle) == 260);
static_assert(offsetof(SkinRecord, vertSelectionBoxColor) == 264);
static_assert(offsetof(SkinRecord, vertSelectedItemColor) == 268);
static_assert(offsetof(SkinRecord, vertItemColor) == 272);
static_assert(offsetof(SkinRecord, vertItemHeight) == 276);
static_assert(offsetof(SkinRecord, reserved) == 280);
static_assert(offsetof(SkinRecord, statusPreviewX) == 284);
static_assert(offsetof(SkinRecord, horzPreviewX) == 292);
static_assert(offsetof(SkinRecord, vertPreviewX) == 300);
static_assert(offsetof(SkinRecord, vertPreviewY) == 304);
static_assert(offsetof(SkinRecord, name) == 308);
static_assert(offsetof(SkinRecord, version) == 476);
static_assert(offsetof(SkinRecord, author) == 644);
static_assert(offsetof(SkinRecord, otherInfo) == 812);

// Image slots in file order.
enum SkinSlot : std::size_t {
    SlotStatus,
    SlotLogo,
    SlotChineseButton,
    SlotEnglishButton,
    SlotCapsLockButton,
    SlotFullShapeButton,
    SlotHalfShapeButton,
    SlotCSymbolButton,
    SlotESymbolButton,
    SlotSoftkbButton,
    SlotConfigButton,
    SlotHorzCand,
    SlotHPrevPage,
    SlotHNextPage,
    SlotHHomePage,
    SlotHEndPage,
    SlotVertCand,
    SlotVPrevPage,
    SlotVNextPage,
    SlotVHomePage,
    SlotVEndPage,
    SlotPreview,
};
inline constexpr std::size_t kSkinSlotCount = 22;

struct SkinSlotInfo {
    SkinSlot slot;
    std::u16string_view displayName; // how an editor field names the image the skin holds
    std::string_view fileName;       // the image's file when a skin is unpacked
};

// clang-format off
inline constexpr SkinSlotInfo kSkinSlots[kSkinSlotCount] = {
    {SlotStatus,          u"IMS:\\Status.png",          "Status.png"},
    {SlotLogo,            u"IMS:\\Logo.png",            "Logo.png"},
    {SlotChineseButton,   u"IMS:\\ChineseButton.png",   "ChineseButton.png"},
    {SlotEnglishButton,   u"IMS:\\EnglishButton.png",   "EnglishButton.png"},
    {SlotCapsLockButton,  u"IMS:\\CapsLockButton.png",  "CapsLockButton.png"},
    {SlotFullShapeButton, u"IMS:\\FullShapeButton.png", "FullShapeButton.png"},
    {SlotHalfShapeButton, u"IMS:\\HalfShapeButton.png", "HalfShapeButton.png"},
    {SlotCSymbolButton,   u"IMS:\\CSymbolButton.png",   "CSymbolButton.png"},
    {SlotESymbolButton,   u"IMS:\\ESymbolButton.png",   "ESymbolButton.png"},
    {SlotSoftkbButton,    u"IMS:\\SoftkbButton.png",    "SoftkbButton.png"},
    {SlotConfigButton,    u"IMS:\\ConfigButton.png",    "ConfigButton.png"},
    {SlotHorzCand,        u"IMS:\\HorzCand.png",        "HorzCand.png"},
    {SlotHPrevPage,       u"IMS:\\HPrevPage.png",       "HPrevPage.png"},
    {SlotHNextPage,       u"IMS:\\HNextPage.png",       "HNextPage.png"},
    {SlotHHomePage,       u"IMS:\\HHomePage.png",       "HHomePage.png"},
    {SlotHEndPage,        u"IMS:\\HEndPage.png",        "HEndPage.png"},
    {SlotVertCand,        u"IMS:\\VertCand.png",        "VertCand.png"},
    {SlotVPrevPage,       u"IMS:\\VPrevPage.png",       "VPrevPage.png"},
    {SlotVNextPage,       u"IMS:\\VNextPage.png",       "VNextPage.png"},
    {SlotVHomePage,       u"IMS:\\VHomePage.png",       "VHomePage.png"},
    {SlotVEndPage,        u"IMS:\\VEndPage.png",        "VEndPage.png"},
    {SlotPreview,         u"",                          "Preview.png"},
};
// clang-format on

inline constexpr std::size_t kSkinSizeTableOffset = kSkinRecordSize;
inline constexpr std::size_t kSkinBlobsOffset = kSkinSizeTableOffset + 4 * kSkinSlotCount; // 1068

// True when the text names an image the skin already holds ("IMS:" first).
constexpr bool IsSkinImageRef(std::u16string_view text) {
    return text.substr(0, 4) == u"IMS:";
}

// The text of a SkinTextItem (up to its terminator, or all 32 units).
std::u16string_view SkinText(const SkinTextItem& item);
// Stores at most 31 characters; false (field unchanged) when longer.
bool SetSkinText(SkinTextItem& item, std::u16string_view text);

// The record of a new, empty skin. `grayText` is the system's grey text
// colour and `fontHeight` the LOGFONT height of 12 points on this screen.
SkinRecord NewSkinRecord(std::uint32_t grayText, std::int32_t fontHeight);

// Why a skin's bytes do not load.
enum class SkinParseError {
    None,
    TooShort,         // not even the record and the size table
    NoName,           // a skin without a name does not load
    BlobsPastEnd,     // the size table claims more bytes than there are
    NoStatusImage,    // slot 0 is empty
    NoCandidateImage, // neither candidate background is present
};

struct ParsedSkin {
    SkinRecord record;
    std::array<std::uint32_t, kSkinSlotCount> sizes;
    std::array<std::span<const std::uint8_t>, kSkinSlotCount> blobs; // empty for size 0
};

// Reads a skin's bytes (a mapped view); nothing outside them is read.
std::optional<ParsedSkin> ParseSkin(std::span<const std::uint8_t> bytes,
                                    SkinParseError* error = nullptr);

// The file's bytes: record, size table, then every non-empty blob in slot order.
std::vector<std::uint8_t>
SerializeSkin(const SkinRecord& record,
              const std::array<std::vector<std::uint8_t>, kSkinSlotCount>& blobs);

} // namespace tide
