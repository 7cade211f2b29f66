#include "core/dict/PackagedDictionary.h"

#include <lzma.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "core/base/ByteIo.h"

namespace tide {
namespace {

constexpr std::uint8_t kMagic[4] = {'T', 'I', 'D', 'C'};
constexpr std::uint8_t kMaxProperties = 9 * 5 * 5; // lc < 9, lp < 5, pb < 5
constexpr std::uint32_t kMinDictionarySize = 4096;
// The output starts at what the package is likely to hold and grows as data
// really decodes: a package only claiming a large size costs nothing.
constexpr std::size_t kInitialOutputSize = 1u << 20;
constexpr std::size_t kLikelyRatio = 16;

// Ends an lzma_stream on every path.
class LzmaStream {
public:
    LzmaStream() = default;
    LzmaStream(const LzmaStream&) = delete;
    LzmaStream& operator=(const LzmaStream&) = delete;
    ~LzmaStream() { lzma_end(&stream_); }
    lzma_stream* get() { return &stream_; }

private:
    lzma_stream stream_ = LZMA_STREAM_INIT;
};

} // namespace

UnpackResult UnpackDictionary(std::span<const std::uint8_t> package) {
    UnpackResult result;
    if (package.size() < sizeof(kMagic) ||
        !std::equal(std::begin(kMagic), std::end(kMagic), package.begin())) {
        result.status = UnpackStatus::NotAPackage;
        return result;
    }
    const ByteReader reader(package);
    if (package.size() < kPackageHeaderSize) {
        return result;
    }
    const std::uint32_t unpackedSize = *reader.U32(4);
    std::uint8_t properties = *reader.U8(8);
    const std::uint32_t dictionarySize = std::max(*reader.U32(9), kMinDictionarySize);
    if (unpackedSize == 0 || unpackedSize > kMaxUnpackedSize || properties >= kMaxProperties) {
        return result;
    }

    lzma_options_lzma options = {};
    // Matches never reach back past the start of the data, so the decoder
    // needs no dictionary larger than the unpacked size, whatever the header asks.
    options.dict_size = std::min(dictionarySize, std::max(unpackedSize, kMinDictionarySize));
    options.lc = properties % 9;
    properties /= 9;
    options.lp = properties % 5;
    options.pb = properties / 5;
    // The unpacked size is known; the stream may or may not carry an end marker.
    options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
    options.ext_size_low = unpackedSize;
    options.ext_size_high = 0;
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    LzmaStream stream;
    if (lzma_raw_decoder(stream.get(), filters) != LZMA_OK) {
        return result; // properties the decoder does not support (lc + lp > 4)
    }
    std::vector<std::uint8_t>& out = result.library;
    lzma_stream* s = stream.get();
    s->next_in = package.data() + kPackageHeaderSize;
    s->avail_in = package.size() - kPackageHeaderSize;
    try {
        out.resize(std::min<std::size_t>(
            unpackedSize, std::max(kInitialOutputSize, package.size() * kLikelyRatio)));
        for (;;) {
            s->next_out = out.data() + s->total_out;
            s->avail_out = out.size() - static_cast<std::size_t>(s->total_out);
            const lzma_ret ret = lzma_code(s, LZMA_FINISH);
            if (ret == LZMA_STREAM_END) {
                break;
            }
            // The decoder stops by itself at the unpacked size, so a full
            // buffer below it only means the data goes on.
            if (ret != LZMA_OK || s->avail_out != 0 || out.size() == unpackedSize) {
                out.clear();
                return result;
            }
            out.resize(std::min<std::size_t>(unpackedSize, out.size() * 2));
        }
    } catch (const std::bad_alloc&) {
        out.clear();
        return result;
    }
    if (s->total_out != unpackedSize) {
        out.clear();
        return result;
    }
    out.resize(unpackedSize);
    result.status = UnpackStatus::Ok;
    return result;
}

std::vector<std::uint8_t> PackDictionary(std::span<const std::uint8_t> library,
                                         std::uint32_t preset) {
    std::vector<std::uint8_t> package;
    lzma_options_lzma options = {};
    if (library.empty() || library.size() > kMaxUnpackedSize ||
        lzma_lzma_preset(&options, preset)) {
        return package;
    }
    // No need for a dictionary larger than the data; sizes of the form 2^n or
    // 2^n + 2^(n-1) are what other LZMA tools expect to see.
    std::uint32_t dictionary = kMinDictionarySize;
    while (dictionary < library.size() && dictionary < options.dict_size) {
        const std::uint32_t half = dictionary / 2;
        dictionary =
            (dictionary & (dictionary - 1)) == 0 ? dictionary + half : (dictionary / 3) * 4;
    }
    options.dict_size = std::min(dictionary, options.dict_size);
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    LzmaStream stream;
    if (lzma_raw_encoder(stream.get(), filters) != LZMA_OK) {
        return package;
    }
    package.resize(kPackageHeaderSize + library.size() + library.size() / 2 + 65536);
    std::memcpy(package.data(), kMagic, sizeof(kMagic));
    ByteWriter writer(package);
    writer.PutU32(4, static_cast<std::uint32_t>(library.size()));
    package[8] = static_cast<std::uint8_t>((options.pb * 5 + options.lp) * 9 + options.lc);
    writer.PutU32(9, options.dict_size);

    lzma_stream* s = stream.get();
    s->next_in = library.data();
    s->avail_in = library.size();
    s->next_out = package.data() + kPackageHeaderSize;
    s->avail_out = package.size() - kPackageHeaderSize;
    if (lzma_code(s, LZMA_FINISH) != LZMA_STREAM_END) {
        return {};
    }
    package.resize(kPackageHeaderSize + s->total_out);
    return package;
}

} // namespace tide
