// Every name, size and code that this program shares with the input method.
// The input method is built separately; these values bind both sides, so code
// elsewhere takes them from here and nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tide {

// The configuration record, page-file backed, read and written by both sides.
inline constexpr std::u16string_view kConfigMappingName = u"TIDE_Configure";
inline constexpr std::size_t kConfigRecordSize = 476;

// The current word library and the current skin are mapped over their files
// under these prefixes plus the file name (see MappingNameForFile).
inline constexpr std::u16string_view kLibraryMappingPrefix = u"TIDE_CODETABLE_";
inline constexpr std::u16string_view kSkinMappingPrefix = u"TIDE_SKIN_";

// Text handed over for word-making: UTF-16, zero-terminated, at most 41
// characters in 84 bytes.
inline constexpr std::u16string_view kWordMakingMappingName = u"TIDE_SSTRING";
inline constexpr std::size_t kWordMakingMappingSize = 84;
inline constexpr std::size_t kWordMakingMaxChars = 41;
static_assert((kWordMakingMaxChars + 1) * sizeof(char16_t) == kWordMakingMappingSize);

// Registered window message, posted to HWND_BROADCAST with lParam 0.
inline constexpr std::u16string_view kNotifyMessageName = u"WM_TIDE_NOTIFY";

enum class ChangeCode : std::uintptr_t {
    ConfigSaved = 1,       // the configuration record was rewritten
    DictionaryChanged = 2, // the current word library changed
    SkinChanged = 3,       // the current skin changed, or skins were added or removed
};

// The whole command line that starts word-making instead of the launcher.
inline constexpr std::u16string_view kWordMakingSwitch = u"/e";

// The input-method module in the 32-bit system folder: "Tide%d.ime".
inline constexpr std::u16string_view kImeFileNamePrefix = u"Tide";
inline constexpr std::u16string_view kImeFileNameSuffix = u".ime";

// Names of the files in the installation directory that both sides use.
inline constexpr std::u16string_view kInstallSubdirectory = u"Tide";
inline constexpr std::u16string_view kConfigFileName = u"Tide.cfg";

// True only for exactly "/e": case matters and nothing may follow.
inline bool IsWordMakingCommandLine(std::u16string_view commandLine) {
    return commandLine == kWordMakingSwitch;
}

// Mapping name of a library or skin file: the prefix, then the file's name
// (no folder) with its first "." replaced by "_". "Tide.imc" under the library
// prefix gives "TIDE_CODETABLE_Tide_imc".
std::u16string MappingNameForFile(std::u16string_view prefix, std::u16string_view fileName);

// The number in "Tide%d.ime" for a fixed file version A.B.C.D given as its two
// 32-bit halves: 1000A + 100B + 10C + D, in unsigned arithmetic, each part
// taken whole (3.1.4.15 gives 3155).
std::uint32_t ImeModuleNumber(std::uint32_t versionHigh, std::uint32_t versionLow);

// "Tide" + number + ".ime".
std::u16string ImeFileNameForNumber(std::uint32_t number);

} // namespace tide
