#include "core/skin/SkinFormat.h"

#include <algorithm>
#include <cstring>

#include "core/base/ByteIo.h"
#include "core/base/FixedText.h"

namespace tide {
namespace {

constexpr std::u16string_view kDefaultSkinFont = u"微软雅黑";

SkinTextItem NewTextItem(std::int32_t fontHeight) {
    SkinTextItem item = {};
    item.font.lfHeight = fontHeight;
    std::copy(kDefaultSkinFont.begin(), kDefaultSkinFont.end(), item.font.lfFaceName);
    item.x = 1;
    item.y = 1;
    return item;
}

} // namespace

std::u16string_view SkinText(const SkinTextItem& item) {
    return FixedText(item.text);
}

bool SetSkinText(SkinTextItem& item, std::u16string_view text) {
    return SetFixedText(item.text, text);
}

SkinRecord NewSkinRecord(std::uint32_t grayText, std::int32_t fontHeight) {
    SkinRecord r;
    std::memset(&r, 0, sizeof(r));
    r.logoBox = {1, 1, 20, 20};
    r.langButtonBox = {21, 1, 20, 20};
    r.shapeButtonBox = {41, 1, 20, 20};
    r.punctButtonBox = {61, 1, 20, 20};
    r.softkbButtonBox = {81, 1, 20, 20};
    r.menuButtonBox = {101, 1, 20, 20};
    r.horzMargins = r.vertMargins = {1, 1, 1, 1};
    r.horzFixedEdges = r.vertFixedEdges = {1, 1, 1, 1};
    r.horzSeparatorLeft = r.horzSeparatorRight = r.horzSeparatorWidth = r.horzSeparatorGap = 1;
    r.vertSeparatorLeft = r.vertSeparatorRight = r.vertSeparatorWidth = r.vertSeparatorGap = 1;
    r.horzSeparatorColor = r.vertSeparatorColor = grayText;
    r.horzPagerAfterCode = r.horzPagerEdgeDistance = 1;
    r.vertPagerAfterCode = r.vertPagerEdgeDistance = 1;
    r.horzCodeColor = r.vertCodeColor = grayText;
    r.horzSelectionBoxColor = r.horzSelectedItemColor = r.horzItemColor = grayText;
    r.vertSelectionBoxColor = r.vertSelectedItemColor = r.vertItemColor = grayText;
    r.horzItemHeight = 1.5f;
    r.horzItemSpacing = 1.0f;
    r.vertItemHeight = 1.5f;
    r.statusPreviewX = 1;
    r.statusPreviewY = 1;
    r.horzPreviewX = 1;
    r.horzPreviewY = 100;
    r.vertPreviewX = 1;
    r.vertPreviewY = 250;
    r.name = r.version = r.author = r.otherInfo = NewTextItem(fontHeight);
    return r;
}

std::optional<ParsedSkin> ParseSkin(std::span<const std::uint8_t> bytes, SkinParseError* error) {
    auto fail = [error](SkinParseError why) {
        if (error) {
            *error = why;
        }
        return std::nullopt;
    };
    if (bytes.size() < kSkinBlobsOffset) {
        return fail(SkinParseError::TooShort);
    }
    ParsedSkin skin;
    std::memcpy(&skin.record, bytes.data(), kSkinRecordSize);
    if (skin.record.name.text[0] == u'\0') {
        return fail(SkinParseError::NoName);
    }
    const ByteReader reader(bytes);
    std::size_t offset = kSkinBlobsOffset;
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        skin.sizes[slot] = *reader.U32(kSkinSizeTableOffset + 4 * slot);
        if (!RangeFits(offset, skin.sizes[slot], bytes.size())) {
            return fail(SkinParseError::BlobsPastEnd);
        }
        skin.blobs[slot] = bytes.subspan(offset, skin.sizes[slot]);
        offset += skin.sizes[slot];
    }
    if (skin.sizes[SlotStatus] == 0) {
        return fail(SkinParseError::NoStatusImage);
    }
    if (skin.sizes[SlotHorzCand] == 0 && skin.sizes[SlotVertCand] == 0) {
        return fail(SkinParseError::NoCandidateImage);
    }
    if (error) {
        *error = SkinParseError::None;
    }
    return skin;
}

std::vector<std::uint8_t>
SerializeSkin(const SkinRecord& record,
              const std::array<std::vector<std::uint8_t>, kSkinSlotCount>& blobs) {
    std::size_t total = kSkinBlobsOffset;
    for (const auto& blob : blobs) {
        total += blob.size();
    }
    std::vector<std::uint8_t> bytes(total, 0);
    std::memcpy(bytes.data(), &record, kSkinRecordSize);
    ByteWriter writer(bytes);
    std::size_t offset = kSkinBlobsOffset;
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        writer.PutU32(kSkinSizeTableOffset + 4 * slot,
                      static_cast<std::uint32_t>(blobs[slot].size()));
        if (!blobs[slot].empty()) {
            std::memcpy(bytes.data() + offset, blobs[slot].data(), blobs[slot].size());
        }
        offset += blobs[slot].size();
    }
    return bytes;
}

} // namespace tide
