#include "core/dict/LibraryLayout.h"

#include <algorithm>
#include <cstdint>

#include "core/dict/LibraryBuilder.h"

namespace tide {

std::size_t ImportRoom(std::size_t units) {
    const std::uint64_t lines = std::uint64_t{units} / 2 + 1;
    const std::uint64_t nodes = std::min<std::uint64_t>(3 * lines, kMaxIndexNodes);
    const std::uint64_t room = nodes * kIndexNodeSize + lines * RecordSize(kMaxCharCodeWidth, 0) +
                               3 * std::uint64_t{units};
    return static_cast<std::size_t>(std::min<std::uint64_t>(room, kMaxLibraryBytes));
}

} // namespace tide
