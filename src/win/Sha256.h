// SHA-256 with the system's cryptography provider (the RSA/AES provider type,
// present from Windows XP SP3 on).
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "core/update/InstallerCheck.h"

namespace tide {

// Nothing when the provider is missing or refuses.
std::optional<Sha256Digest> Sha256OfBytes(const void* data, std::size_t size);

// The digest of what `file` holds from its current position to its end;
// nothing when it cannot be read or hashed.
std::optional<Sha256Digest> Sha256OfFile(HANDLE file);

} // namespace tide
