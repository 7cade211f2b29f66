// Reading the product's version text ("3.1.4.261208": the fourth part is the
// build date).
#pragma once

#include <string>
#include <string_view>

namespace tide {

// "2026.12.08" from a version text ending in 261208; empty when the text is
// shorter than six characters.
std::u16string ReleaseDateFromVersion(std::u16string_view version);

} // namespace tide
