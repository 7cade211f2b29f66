#include "FileIo.h"

#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tide::tool {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return std::nullopt;
    }
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return bytes;
}

bool ReplaceFileWith(const std::filesystem::path& target, std::string_view bytes) {
    std::filesystem::path temporary = target;
    temporary += ".tidetool-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
            !out.flush()) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
#ifdef _WIN32
    const bool moved = ::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    const bool moved = !error;
#endif
    if (!moved) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
    return moved;
}

} // namespace tide::tool
