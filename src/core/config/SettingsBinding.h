// What a control of a settings page shows of the configuration record and
// how its state goes back into the record. The pages are tables of rows with
// one binding each; filling and collecting follow from the bindings alone, so
// they are tested here without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/config/ConfigRecord.h"

namespace tide {

// The 16-bit and text fields a control can edit.
enum class RecordField : std::uint8_t {
    None,
    AssociationDelay,
    CandidatesPerPage,
    FontSize,
    CodeFontName,
    CandidateFontName,
    SettingsHotkey,
    WordMakingHotkey,
    SoftKeyboardHotkey,
    SoftKeyboardLayout,
};

enum class BindKind : std::uint8_t {
    None,        // headings and labels
    Bit,         // check box or radio: checked while the bit is set; stores it
    BitClear,    // radio: checked while the bit is clear; its partner stores the bit
    PairFirst,   // first of three radios over a pair of bits: the first bit
    PairSecond,  // second: the second bit (shown only while the first is clear)
    PairNeither, // third: neither bit; stores nothing (the other two clear them)
    ListIndex,   // list: the field minus `offset` is the selected index
    NumberText,  // list of numbers: the item reading the field in decimal
    FaceName,    // list of font faces: the item reading the field's text
    HotkeyOn,    // check: bit 8 of a hotkey field
    HotkeyAlt,   // check: bit 9 of a hotkey field
    HotkeyKey,   // edit: the virtual key in bits 0-7 of a hotkey field
};

struct Binding {
    BindKind kind = BindKind::None;
    OptionBit bit = OptionBit{}; // Bit, BitClear, PairFirst
    OptionPair pair = {};        // PairFirst, PairSecond, PairNeither
    RecordField field = RecordField::None;
    std::int16_t offset = 0; // ListIndex: field value of item 0
};

constexpr Binding BindBit(OptionBit bit) {
    return {BindKind::Bit, bit, {}, RecordField::None, 0};
}
constexpr Binding BindBitClear(OptionBit bit) {
    return {BindKind::BitClear, bit, {}, RecordField::None, 0};
}
constexpr Binding BindPair(BindKind which, OptionPair pair) {
    return {which, pair.first, pair, RecordField::None, 0};
}
constexpr Binding BindField(BindKind kind, RecordField field, std::int16_t offset = 0) {
    return {kind, OptionBit{}, {}, field, offset};
}

// The state of one control: a check mark, a list selection (-1: none) and
// its text, or the virtual key an edit stands for.
struct ControlState {
    bool checked = false;
    int selection = -1;
    std::u16string text;
    std::uint8_t virtualKey = 0;
};

// What the control shows for `record`. For NumberText and FaceName the text
// to look for in the list is given (the list's own order decides the index);
// for HotkeyKey the virtual key to show.
ControlState FillState(const Binding& binding, const ConfigRecord& record);

// Stores the control's state. A list without a selection leaves its field as
// it was: a face not installed here, or a size not in the list, is kept
// rather than erased. Rows that store nothing (BitClear, PairNeither, None)
// leave the record alone.
void CollectState(const Binding& binding, const ControlState& state, ConfigRecord& record);

} // namespace tide
