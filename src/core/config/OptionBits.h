// The option bits of ConfigRecord::Options: one table gives each bit its name,
// its default and the settings page that edits it. The enum, the default
// value and the pages all come from this table.
#pragma once

#include <cstdint>
#include <string_view>

namespace tide {

// Settings pages that edit option bits.
enum class OptionPage : std::uint8_t {
    None,      // not edited by the manager: carried through unchanged
    General,   // 常规
    Interface, // 界面
    Keys,      // 按键
    Output,    // 字符输出
};

// clang-format off
//        name                          bit default page
#define TIDE_OPTION_BITS(X)                                      \
    X(OptPureCodeInput,                   0, 0, General)          \
    X(OptTempPinyin,                      1, 0, General)          \
    X(OptStandardCharset,                 2, 1, General)          \
    X(OptGB18030OnEmpty,                  3, 0, General)          \
    X(OptKeyByKeyHint,                    4, 1, General)          \
    X(OptSingleCharInput,                 5, 0, General)          \
    X(OptOverflowCommit,                  6, 0, General)          \
    X(OptPunctuationCommit,               7, 1, General)          \
    X(OptUniqueCandidateCommit,           8, 0, General)          \
    X(OptUniqueFullCodeCommit,            9, 0, General)          \
    X(OptWordAssociation,                10, 0, General)          \
    X(OptCandidatesFollowCursor,         11, 1, Interface)        \
    X(OptHideCandidateWindow,            12, 0, Interface)        \
    X(OptHorizontalCandidates,           13, 0, Interface)        \
    X(OptVerticalWhenLong,               14, 0, Interface)        \
    X(OptFullWidthSpace,                 15, 0, Output)           \
    X(OptHalfWidthNumpad,                16, 1, Output)           \
    X(OptHalfWidthDotAfterDigit,         17, 1, Output)           \
    X(OptBracketsPlain,                  18, 1, Output)           \
    X(OptBracketsLenticular,             19, 0, Output)           \
    X(OptSlashEnumerationComma,          20, 1, Output)           \
    X(OptSlashFullWidth,                 21, 0, Output)           \
    X(OptBracesPlain,                    22, 1, Output)           \
    X(OptSingleQuotesCurly,              23, 1, Output)           \
    X(OptDoubleQuotesCurly,              24, 1, Output)           \
    X(OptPageKeysMinusEquals,            25, 1, Interface)        \
    X(OptPageKeysBrackets,               26, 1, Interface)        \
    X(OptPageKeysShiftTab,               27, 0, Interface)        \
    X(OptSecondThirdSemicolonQuote,      28, 1, Keys)             \
    X(OptSecondThirdCommaPeriod,         29, 0, Keys)             \
    X(OptSwitchLeftShift,                30, 1, Keys)             \
    X(OptSwitchRightShift,               31, 1, Keys)             \
    X(OptSwitchCapsLock,                 32, 0, Keys)             \
    X(OptPunctSwitchCtrlPeriod,          33, 1, Keys)             \
    X(OptWidthSwitchShiftSpace,          34, 1, Keys)             \
    X(OptStatusToggleKey,                35, 1, Interface)        \
    X(OptStatusToggleCtrl,               36, 1, Interface)        \
    X(OptStartChinese,                   37, 1, Output)           \
    X(OptStartHalfWidth,                 38, 1, Output)           \
    X(OptStartChinesePunct,              39, 1, Output)           \
    X(OptPunctIndependent,               40, 0, Output)           \
    X(OptStatusBottomRight,              41, 1, Interface)        \
    X(OptStatusBottomLeft,               42, 0, Interface)        \
    X(OptStatusSleep,                    43, 0, Interface)        \
    X(OptAutoFrequency,                  44, 0, Output)           \
    X(OptAutoWordMaking,                 45, 0, Output)           \
    X(OptSemicolonShortcut,              46, 1, General)          \
    X(OptTempEnglish,                    47, 1, General)          \
    X(OptSoundOnDuplicateOrEmpty,        48, 0, Output)           \
    X(OptEnterCommitsCode,               49, 0, Keys)             \
    X(OptOneKeySwitch,                   50, 1, Keys)             \
    X(OptOneKeySwitchCtrl9,              51, 1, Keys)             \
    X(OptEmptyCodeClear,                 54, 1, General)          \
    X(OptEmptyCodeFullLengthClear,       55, 0, General)

// Bits the manager never edits, with the values a fresh record gives them.
//        bit default
#define TIDE_UNEDITED_OPTION_BITS(X) \
    X(52, 0) X(53, 1) X(56, 0) X(57, 0) X(58, 0) X(59, 0) X(60, 0) X(61, 0) X(62, 0) X(63, 0)
// clang-format on

enum OptionBit : unsigned {
#define TIDE_OPTION_ENUM(name, bit, def, page) name = bit,
    TIDE_OPTION_BITS(TIDE_OPTION_ENUM)
#undef TIDE_OPTION_ENUM
};

struct OptionBitInfo {
    std::string_view name;
    OptionBit bit;
    bool defaultValue;
    OptionPage page;
};

inline constexpr OptionBitInfo kOptionBits[] = {
#define TIDE_OPTION_INFO(name, bit, def, page) {#name, name, def != 0, OptionPage::page},
    TIDE_OPTION_BITS(TIDE_OPTION_INFO)
#undef TIDE_OPTION_INFO
};

constexpr std::uint64_t OptionMask(unsigned bit) {
    return std::uint64_t{1} << bit;
}

// The bits the manager edits; every other bit is carried through as it is.
inline constexpr std::uint64_t kEditedOptionsMask = [] {
    std::uint64_t mask = 0;
    for (const auto& info : kOptionBits) {
        mask |= OptionMask(info.bit);
    }
    return mask;
}();

inline constexpr std::uint64_t kDefaultOptions = [] {
    std::uint64_t value = 0;
    for (const auto& info : kOptionBits) {
        value |= info.defaultValue ? OptionMask(info.bit) : 0;
    }
#define TIDE_UNEDITED_DEFAULT(bit, def) value |= (def) ? OptionMask(bit) : 0;
    TIDE_UNEDITED_OPTION_BITS(TIDE_UNEDITED_DEFAULT)
#undef TIDE_UNEDITED_DEFAULT
    return value;
}();
static_assert(kDefaultOptions == 0x006CC2FE'D7D70894ull, "option table and default disagree");
static_assert(kEditedOptionsMask == 0x00CFFFFF'FFFFFFFFull, "bits 52, 53, 56-63 are not edited");

// Two bits that a page shows as three radio buttons: the first, the second,
// or neither. Where both are set, the first wins.
struct OptionPair {
    OptionBit first;
    OptionBit second;
};

inline constexpr OptionPair kOptionPairs[] = {
    {OptUniqueCandidateCommit, OptUniqueFullCodeCommit},
    {OptBracketsPlain, OptBracketsLenticular},
    {OptSlashEnumerationComma, OptSlashFullWidth},
    {OptSecondThirdSemicolonQuote, OptSecondThirdCommaPeriod},
    {OptStatusBottomRight, OptStatusBottomLeft},
    {OptEmptyCodeClear, OptEmptyCodeFullLengthClear},
};

enum class PairChoice : std::uint8_t { First, Second, Neither };

constexpr bool HasOption(std::uint64_t options, OptionBit bit) {
    return (options & OptionMask(bit)) != 0;
}

constexpr std::uint64_t WithOption(std::uint64_t options, OptionBit bit, bool set) {
    return set ? options | OptionMask(bit) : options & ~OptionMask(bit);
}

constexpr PairChoice ReadPair(std::uint64_t options, OptionPair pair) {
    if (HasOption(options, pair.first)) {
        return PairChoice::First;
    }
    return HasOption(options, pair.second) ? PairChoice::Second : PairChoice::Neither;
}

constexpr std::uint64_t WritePair(std::uint64_t options, OptionPair pair, PairChoice choice) {
    options = WithOption(options, pair.first, choice == PairChoice::First);
    return WithOption(options, pair.second, choice == PairChoice::Second);
}

} // namespace tide
