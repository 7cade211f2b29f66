#include "core/config/ConfigRecord.h"

#include <algorithm>
#include <cstring>

namespace tide {

// clang-format off
const std::array<SymbolKeyDefault, kSymbolKeyCount> kDefaultUserSymbols = {{
    {u'\u3000', u'\u3000'}, // Space
    {u'Ⅹ', u'⑩'},           // 0
    {u'Ⅰ', u'①'},           // 1
    {u'Ⅱ', u'②'},           // 2
    {u'Ⅲ', u'③'},           // 3
    {u'Ⅳ', u'④'},           // 4
    {u'Ⅴ', u'⑤'},           // 5
    {u'Ⅵ', u'⑥'},           // 6
    {u'Ⅶ', u'⑦'},           // 7
    {u'Ⅷ', u'⑧'},           // 8
    {u'Ⅸ', u'⑨'},           // 9
    {u'∵', u'∴'},           // A
    {u'φ', u'ρ'},           // B
    {u'δ', u'Δ'},           // C
    {u'∠', u'⌒'},           // D
    {u'＞', u'＜'},         // E
    {u'⊙', u'\u3000'},      // F
    {u'≌', u'∽'},           // G
    {u'○', u'●'},           // H
    {u'∫', u'∮'},           // I
    {u'…', u'‰'},           // J
    {u'℃', u'°'},           // K
    {u'²', u'³'},           // L
    {u'μ', u'λ'},           // M
    {u'Ω', u'ω'},           // N
    {u'∝', u'∞'},           // O
    {u'∧', u'∨'},           // P
    {u'≈', u'≡'},           // Q
    {u'≥', u'≤'},           // R
    {u'⊥', u'∥'},           // S
    {u'≯', u'≮'},           // T
    {u'÷', u'／'},          // U
    {u'σ', u'ξ'},           // V
    {u'＝', u'≠'},          // W
    {u'γ', u'θ'},           // X
    {u'±', u'＋'},          // Y
    {u'α', u'β'},           // Z
    {u'→', u'←'},           // ;
    {u'\u3000', u'\u3000'}, // =
    {u'η', u'π'},           // ,
    {u'□', u'■'},           // -
    {u'§', u'№'},           // .
    {u'☆', u'★'},           // /
    {u'〇', u'√'},          // `
    {u'∑', u'∏'},           // [
    {u'∈', u'\u3000'},      // backslash
    {u'∪', u'∩'},           // ]
    {u'↑', u'↓'},           // '
}};
// clang-format on

std::optional<std::size_t> SymbolIndexForVirtualKey(std::uint8_t virtualKey) {
    for (std::size_t index = 0; index < kSymbolKeyCount; ++index) {
        if (VirtualKeyForSymbolIndex(index) == virtualKey) {
            return index;
        }
    }
    return std::nullopt;
}

void SetDefaultFixedFields(ConfigRecord& record) {
    record.RecordSize = static_cast<std::uint16_t>(kConfigRecordSize);
    record.AssociationDelay = 0;
    record.CandidatesPerPage = 5;
    record.FontSize = 12;
    record.SettingsHotkey = kDefaultSettingsHotkey;
    record.WordMakingHotkey = kDefaultWordMakingHotkey;
    record.SoftKeyboardHotkey = kDefaultSoftKeyboardHotkey;
    record.SoftKeyboardLayout = 0;
    record.SetOptions(kDefaultOptions);
    SetFixedText(record.CodeFontName, kDefaultFontName);
    SetFixedText(record.CandidateFontName, kDefaultFontName);
    for (std::size_t key = 0; key < kSymbolKeyCount; ++key) {
        record.UserSymbols[key] = kDefaultUserSymbols[key].plain;
        record.UserSymbols[kSymbolKeyCount + key] = kDefaultUserSymbols[key].shifted;
    }
}

std::span<const std::uint8_t, kConfigRecordSize> RecordBytes(const ConfigRecord& record) {
    return std::span<const std::uint8_t, kConfigRecordSize>(
        reinterpret_cast<const std::uint8_t*>(&record), kConfigRecordSize);
}

std::optional<ConfigRecord> RecordFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kConfigRecordSize) {
        return std::nullopt;
    }
    ConfigRecord record;
    std::memcpy(&record, bytes.data(), kConfigRecordSize);
    return record;
}

CheckedBackup CheckConfigBackup(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < sizeof(std::uint16_t)) {
        return {};
    }
    const auto version = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
    if (version != kConfigRecordSize) {
        return {BackupCheck::OtherVersion, {}};
    }
    const std::optional<ConfigRecord> record = RecordFromBytes(bytes);
    return record ? CheckedBackup{BackupCheck::Ok, *record} : CheckedBackup{};
}

} // namespace tide
