#include "core/config/SettingsBinding.h"

#include "core/base/DecimalText.h"

namespace tide {
namespace {

template <typename Record>
auto& HotkeyOf(Record& record, RecordField field) {
    switch (field) {
    case RecordField::WordMakingHotkey:
        return record.WordMakingHotkey;
    case RecordField::SoftKeyboardHotkey:
        return record.SoftKeyboardHotkey;
    default:
        return record.SettingsHotkey;
    }
}

// The field of `record` (const or not) that a binding edits.
template <typename Record>
auto& NumberField(Record& record, RecordField field) {
    switch (field) {
    case RecordField::AssociationDelay:
        return record.AssociationDelay;
    case RecordField::CandidatesPerPage:
        return record.CandidatesPerPage;
    case RecordField::FontSize:
        return record.FontSize;
    case RecordField::SoftKeyboardLayout:
        return record.SoftKeyboardLayout;
    default:
        return HotkeyOf(record, field);
    }
}

template <typename Record>
auto& NameField(Record& record, RecordField field) {
    return field == RecordField::CandidateFontName ? record.CandidateFontName : record.CodeFontName;
}

} // namespace

ControlState FillState(const Binding& binding, const ConfigRecord& record) {
    const std::uint64_t options = record.Options();
    ControlState state;
    switch (binding.kind) {
    case BindKind::None:
        break;
    case BindKind::Bit:
        state.checked = HasOption(options, binding.bit);
        break;
    case BindKind::BitClear:
        state.checked = !HasOption(options, binding.bit);
        break;
    case BindKind::PairFirst:
        state.checked = ReadPair(options, binding.pair) == PairChoice::First;
        break;
    case BindKind::PairSecond:
        state.checked = ReadPair(options, binding.pair) == PairChoice::Second;
        break;
    case BindKind::PairNeither:
        state.checked = ReadPair(options, binding.pair) == PairChoice::Neither;
        break;
    case BindKind::ListIndex:
        state.selection = NumberField(record, binding.field) - binding.offset;
        break;
    case BindKind::NumberText:
        state.text = DecimalText(NumberField(record, binding.field));
        break;
    case BindKind::FaceName:
        state.text = FixedText(NameField(record, binding.field));
        break;
    case BindKind::HotkeyOn:
        state.checked = Hotkey::Decode(HotkeyOf(record, binding.field)).enabled;
        break;
    case BindKind::HotkeyAlt:
        state.checked = Hotkey::Decode(HotkeyOf(record, binding.field)).alt;
        break;
    case BindKind::HotkeyKey:
        state.virtualKey = Hotkey::Decode(HotkeyOf(record, binding.field)).virtualKey;
        break;
    }
    return state;
}

void CollectState(const Binding& binding, const ControlState& state, ConfigRecord& record) {
    std::uint64_t options = record.Options();
    switch (binding.kind) {
    case BindKind::None:
    case BindKind::BitClear:
    case BindKind::PairNeither:
        return;
    case BindKind::Bit:
        options = WithOption(options, binding.bit, state.checked);
        break;
    case BindKind::PairFirst:
        options = WithOption(options, binding.pair.first, state.checked);
        break;
    case BindKind::PairSecond:
        options = WithOption(options, binding.pair.second, state.checked);
        break;
    case BindKind::ListIndex:
        if (state.selection >= 0) {
            NumberField(record, binding.field) =
                static_cast<std::uint16_t>(state.selection + binding.offset);
        }
        return;
    case BindKind::NumberText:
        if (state.selection >= 0) {
            std::uint32_t value = 0;
            for (char16_t c : state.text) {
                if (c < u'0' || c > u'9' || value > 0xFFFF) {
                    return; // not a number the field can hold: kept
                }
                value = value * 10 + (c - u'0');
            }
            if (!state.text.empty() && value <= 0xFFFF) {
                NumberField(record, binding.field) = static_cast<std::uint16_t>(value);
            }
        }
        return;
    case BindKind::FaceName:
        if (state.selection >= 0) {
            SetFixedText(NameField(record, binding.field), state.text);
        }
        return;
    case BindKind::HotkeyOn:
    case BindKind::HotkeyAlt:
    case BindKind::HotkeyKey: {
        std::uint16_t& field = HotkeyOf(record, binding.field);
        Hotkey hotkey = Hotkey::Decode(field);
        if (binding.kind == BindKind::HotkeyOn) {
            hotkey.enabled = state.checked;
        } else if (binding.kind == BindKind::HotkeyAlt) {
            hotkey.alt = state.checked;
        } else {
            hotkey.virtualKey = state.virtualKey;
        }
        field = hotkey.Encode();
        return;
    }
    }
    record.SetOptions(options);
}

} // namespace tide
