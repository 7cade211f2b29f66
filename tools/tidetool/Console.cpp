#include "Console.h"

#include "core/base/Utf.h"

namespace tide::tool {

using std::filesystem::path;

void Print(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintLine(std::FILE* stream, std::string_view text) {
    Print(stream, text);
    Print(stream, "\n");
}

std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}

std::string CleanUtf8(std::string_view bytes) {
    std::string clean;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view sequence = bytes.substr(i, length);
        // Well-formed exactly when it decodes to one code point that encodes back to it.
        if (sequence.size() == length && Utf8(FromUtf8(sequence)) == sequence) {
            clean += sequence;
            i += length;
        } else {
            clean += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return clean;
}

#ifdef _WIN32
namespace {

std::u16string ArgumentUnits(const path& argument) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const std::wstring& native = argument.native();
    return {reinterpret_cast<const char16_t*>(native.data()), native.size()};
}

} // namespace

std::string PathText(const path& file) {
    return Utf8(ArgumentUnits(file));
}

std::optional<std::u16string> ArgumentText(const path& argument) {
    std::u16string text = ArgumentUnits(argument);
    if (FromUtf8(Utf8(text)) != text) {
        return std::nullopt;
    }
    return text;
}
#else
std::string PathText(const path& file) {
    return CleanUtf8(file.native());
}

std::optional<std::u16string> ArgumentText(const path& argument) {
    if (PathText(argument) != argument.native()) {
        return std::nullopt;
    }
    return FromUtf8(argument.native());
}
#endif

int Fail(const std::string& message) {
    PrintLine(stderr, "tidetool: " + message);
    return 1;
}

} // namespace tide::tool
