// The configuration record: 476 bytes, little-endian, shared byte for byte by
// "Tide.cfg", the "TIDE_Configure" mapping the input method reads, and the
// settings backup files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/config/OptionBits.h"
#include "core/contract/ImeContract.h"

namespace tide {

inline constexpr std::size_t kConfigNameUnits = 32; // font and file names, terminator included
inline constexpr std::size_t kSymbolKeyCount = 48;  // character keys of the soft keyboard
inline constexpr std::size_t kUserSymbolUnits = 2 * kSymbolKeyCount;

struct ConfigRecord {
    std::uint16_t RecordSize;         // 476; the format version of backups
    std::uint16_t AssociationDelay;   // index into "无", "1" .. "4"
    std::uint16_t CandidatesPerPage;  // 3 to 9
    std::uint16_t FontSize;           // candidate window font size
    std::uint16_t SettingsHotkey;     // Hotkey encoding
    std::uint16_t WordMakingHotkey;   // Hotkey encoding
    std::uint16_t SoftKeyboardHotkey; // Hotkey encoding
    std::uint16_t SoftKeyboardLayout; // 0 to 13
    // The 64-bit option set, as two 32-bit words (bits 0-31, then 32-63) so
    // that the record keeps its 4-byte alignment and 476-byte size.
    std::uint32_t OptionWords[2];
    char16_t CodeFontName[kConfigNameUnits];
    char16_t CandidateFontName[kConfigNameUnits];
    char16_t DictionaryFileName[kConfigNameUnits]; // in InstallDir
    char16_t SkinFileName[kConfigNameUnits];       // in InstallDir\Skin
    // Characters of the 48 keys, then their shifted characters, in key order.
    char16_t UserSymbols[kUserSymbolUnits];
    std::uint8_t Reserved[4]; // not ours: carried through unchanged

    std::uint64_t Options() const {
        return std::uint64_t{OptionWords[0]} | std::uint64_t{OptionWords[1]} << 32;
    }
    void SetOptions(std::uint64_t options) {
        OptionWords[0] = static_cast<std::uint32_t>(options);
        OptionWords[1] = static_cast<std::uint32_t>(options >> 32);
    }
};

static_assert(sizeof(ConfigRecord) == kConfigRecordSize);
static_assert(offsetof(ConfigRecord, RecordSize) == 0);
static_assert(offsetof(ConfigRecord, AssociationDelay) == 2);
static_assert(offsetof(ConfigRecord, CandidatesPerPage) == 4);
static_assert(offsetof(ConfigRecord, FontSize) == 6);
static_assert(offsetof(ConfigRecord, SettingsHotkey) == 8);
static_assert(offsetof(ConfigRecord, WordMakingHotkey) == 10);
static_assert(offsetof(ConfigRecord, SoftKeyboardHotkey) == 12);
static_assert(offsetof(ConfigRecord, SoftKeyboardLayout) == 14);
static_assert(offsetof(ConfigRecord, OptionWords) == 16);
static_assert(offsetof(ConfigRecord, CodeFontName) == 24);
static_assert(offsetof(ConfigRecord, CandidateFontName) == 88);
static_assert(offsetof(ConfigRecord, DictionaryFileName) == 152);
static_assert(offsetof(ConfigRecord, SkinFileName) == 216);
static_assert(offsetof(ConfigRecord, UserSymbols) == 280);
static_assert(offsetof(ConfigRecord, Reserved) == 472);

// Hotkey fields: virtual-key code in bits 0-7, bit 8 enabled, bit 9 Alt;
// Ctrl is always part of the combination.
struct Hotkey {
    std::uint8_t virtualKey = 0;
    bool enabled = false;
    bool alt = false;

    static constexpr Hotkey Decode(std::uint16_t value) {
        return {static_cast<std::uint8_t>(value & 0xFF), (value & 0x100) != 0,
                (value & 0x200) != 0};
    }
    constexpr std::uint16_t Encode() const {
        return static_cast<std::uint16_t>(virtualKey | (enabled ? 0x100 : 0) | (alt ? 0x200 : 0));
    }
    friend constexpr bool operator==(const Hotkey&, const Hotkey&) = default;
};

// Key order of UserSymbols and the soft keyboard: Space, "0"-"9", A-Z, then
// the OEM keys ; = , - . / ` [ \ ] '.
constexpr std::uint8_t VirtualKeyForSymbolIndex(std::size_t index) {
    if (index == 0) {
        return 0x20; // VK_SPACE
    }
    if (index <= 10) {
        return static_cast<std::uint8_t>(index + 47); // "0".."9"
    }
    if (index <= 36) {
        return static_cast<std::uint8_t>(index + 54); // "A".."Z"
    }
    if (index <= 43) {
        return static_cast<std::uint8_t>(index + 149); // VK_OEM_1 .. VK_OEM_3
    }
    return static_cast<std::uint8_t>(index + 175); // VK_OEM_4 .. VK_OEM_7
}
std::optional<std::size_t> SymbolIndexForVirtualKey(std::uint8_t virtualKey);

// The default "用户符号" layout: plain and shifted character of each key.
struct SymbolKeyDefault {
    char16_t plain;
    char16_t shifted;
};
extern const std::array<SymbolKeyDefault, kSymbolKeyCount> kDefaultUserSymbols;

inline constexpr std::u16string_view kDefaultFontName = u"微软雅黑";
inline constexpr std::uint16_t kDefaultSettingsHotkey = 0x01BD;     // Ctrl + "-"
inline constexpr std::uint16_t kDefaultWordMakingHotkey = 0x01BB;   // Ctrl + "="
inline constexpr std::uint16_t kDefaultSoftKeyboardHotkey = 0x01DC; // Ctrl + "\"

// Every field but the two file names and the reserved tail takes its default.
void SetDefaultFixedFields(ConfigRecord& record);

// The record as bytes, and back; `FromBytes` takes the first 476 bytes and
// refuses fewer.
std::span<const std::uint8_t, kConfigRecordSize> RecordBytes(const ConfigRecord& record);
std::optional<ConfigRecord> RecordFromBytes(std::span<const std::uint8_t> bytes);

// A settings backup file's bytes as the restore command takes them: its first
// two bytes are the version (the record size); fewer than two bytes, or a
// record of this version cut short, is damaged. `record` is set only for Ok.
enum class BackupCheck { Ok, Damaged, OtherVersion };
struct CheckedBackup {
    BackupCheck check = BackupCheck::Damaged;
    ConfigRecord record = {};
};
CheckedBackup CheckConfigBackup(std::span<const std::uint8_t> bytes);

} // namespace tide
