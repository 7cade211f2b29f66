#include "win/ImageCodec.h"

#include <cstring>

namespace tide {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// The PNG encoder of GDI+.
constexpr wchar_t kPngEncoderId[] = L"{557cf406-1a04-11d3-9a73-0000f81ef32e}";

struct ComReleaseTraits {
    using Value = IUnknown*;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { value->Release(); }
};

// A stream over a copy of the bytes; the stream owns (and frees) the copy.
IStream* StreamOverCopy(std::span<const std::uint8_t> bytes) {
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    {
        GlobalLockGuard locked(memory.get());
        if (!locked.get()) {
            return nullptr;
        }
        std::memcpy(locked.get(), bytes.data(), bytes.size());
    }
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) {
        return nullptr;
    }
    memory.release(); // the stream frees it now
    return stream;
}

GdiplusImage ImageFromStream(IStream* stream) {
    if (!stream) {
        return {};
    }
    UniqueResource<ComReleaseTraits> ownStream(stream);
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromStream(stream, &bitmap) != Ok) {
        return {};
    }
    return GdiplusImage(bitmap);
}

} // namespace

GdiplusImage ImageFromBytes(std::span<const std::uint8_t> bytes) {
    return bytes.empty() ? GdiplusImage() : ImageFromStream(StreamOverCopy(bytes));
}

GdiplusImage ImageFromResource(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC resource = ::FindResourceW(module, name, type);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!data || size == 0) {
        return {};
    }
    return ImageFromStream(StreamOverCopy({static_cast<const std::uint8_t*>(data), size}));
}

std::optional<std::vector<std::uint8_t>> EncodePng(GpImage* image) {
    CLSID encoder;
    IStream* rawStream = nullptr;
    if (!image || FAILED(::CLSIDFromString(kPngEncoderId, &encoder)) ||
        FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, &rawStream))) {
        return std::nullopt;
    }
    UniqueResource<ComReleaseTraits> stream(rawStream);
    if (GdipSaveImageToStream(image, rawStream, &encoder, nullptr) != Ok) {
        return std::nullopt;
    }
    ULARGE_INTEGER end = {};
    const LARGE_INTEGER zero = {};
    if (FAILED(rawStream->Seek(zero, STREAM_SEEK_END, &end)) || end.QuadPart > 0x7FFFFFFF ||
        FAILED(rawStream->Seek(zero, STREAM_SEEK_SET, nullptr))) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end.QuadPart));
    ULONG read = 0;
    if (FAILED(rawStream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) ||
        read != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

SIZE ImageSize(GpImage* image) {
    UINT width = 0;
    UINT height = 0;
    if (image) {
        GdipGetImageWidth(image, &width);
        GdipGetImageHeight(image, &height);
    }
    return {static_cast<LONG>(width), static_cast<LONG>(height)};
}

} // namespace tide
