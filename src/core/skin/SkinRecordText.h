// The skin record as a readable text file ("field = value" per line), so skin
// makers can edit it in any editor; the text and the record convert both ways
// without losing a byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/skin/SkinFormat.h"

namespace tide {

std::string SkinRecordToText(const SkinRecord& record);

// Fields missing from the text keep their values in `base`; an unknown field
// or a value that does not parse fails with a message naming the line.
std::optional<SkinRecord> SkinRecordFromText(std::string_view text, const SkinRecord& base,
                                             std::string* error = nullptr);

} // namespace tide
