#include "win/Sha256.h"

#include <wincrypt.h>

#include <vector>

#include "win/Handles.h"

namespace tide {
namespace {

// Declared by the SDK only for targets from XP SP3 on; the program targets
// XP and finds out at run time.
constexpr ALG_ID kSha256Algorithm = ALG_CLASS_HASH | ALG_TYPE_ANY | 12; // CALG_SHA_256

struct CryptProviderTraits {
    using Value = HCRYPTPROV;
    static Value Invalid() noexcept { return 0; }
    static void Close(Value value) noexcept { ::CryptReleaseContext(value, 0); }
};
struct CryptHashTraits {
    using Value = HCRYPTHASH;
    static Value Invalid() noexcept { return 0; }
    static void Close(Value value) noexcept { ::CryptDestroyHash(value); }
};

// A SHA-256 hash being fed; `valid()` false when the provider could not
// start one.
class Sha256Hash {
public:
    Sha256Hash() {
        if (::CryptAcquireContextW(provider_.put(), nullptr, nullptr, PROV_RSA_AES,
                                   CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
            ::CryptCreateHash(provider_.get(), kSha256Algorithm, 0, 0, hash_.put());
        }
    }
    bool valid() const { return hash_.valid(); }

    bool Add(const void* data, DWORD size) {
        return ::CryptHashData(hash_.get(), static_cast<const BYTE*>(data), size, 0) != FALSE;
    }

    std::optional<Sha256Digest> Finish() {
        Sha256Digest digest{};
        DWORD size = static_cast<DWORD>(digest.size());
        if (!::CryptGetHashParam(hash_.get(), HP_HASHVAL, digest.data(), &size, 0) ||
            size != digest.size()) {
            return std::nullopt;
        }
        return digest;
    }

private:
    UniqueResource<CryptProviderTraits> provider_;
    UniqueResource<CryptHashTraits> hash_;
};

} // namespace

std::optional<Sha256Digest> Sha256OfBytes(const void* data, std::size_t size) {
    Sha256Hash hash;
    if (!hash.valid()) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD piece = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        if (!hash.Add(bytes, piece)) {
            return std::nullopt;
        }
        bytes += piece;
        size -= piece;
    }
    return hash.Finish();
}

std::optional<Sha256Digest> Sha256OfFile(HANDLE file) {
    Sha256Hash hash;
    if (!hash.valid()) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(256 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            return hash.Finish();
        }
        if (!hash.Add(buffer.data(), read)) {
            return std::nullopt;
        }
    }
}

} // namespace tide
