#include "core/stats/CharacterSets.h"

#include <cstdint>
#include <vector>

#include "core/base/Gb18030.h"

namespace tide {
namespace {

struct BlockRange {
    char32_t first;
    char32_t last;
    CoverageSet set;
};

// The ranges of CharSlots.cpp that are ideographs (radicals, strokes and 〇
// are left out), by the set they count for.
// clang-format off
constexpr BlockRange kBlockRanges[] = {
    {0x3400,  0x4DBF,  CoverageSet::ExtA},
    {0x4E00,  0x9FFC,  CoverageSet::CjkBasic},
    {0xE815,  0xE864,  CoverageSet::PrivateUse},
    {0xF900,  0xFAD9,  CoverageSet::Compatibility},
    {0x20000, 0x2A6DD, CoverageSet::ExtBPlus},
    {0x2A700, 0x2B734, CoverageSet::ExtBPlus},
    {0x2B740, 0x2B81D, CoverageSet::ExtBPlus},
    {0x2B820, 0x2CEA1, CoverageSet::ExtBPlus},
    {0x2CEB0, 0x2EBE0, CoverageSet::ExtBPlus},
    {0x2F800, 0x2FA1D, CoverageSet::Compatibility},
    {0x30000, 0x3134A, CoverageSet::ExtBPlus},
};
// clang-format on

// GB 2312's hanzi are the two-byte codes of rows 16 to 87 (leads 0xB0 to
// 0xF7, trails 0xA1 to 0xFE). Row 55 ends five places early: GB18030 gives
// those five private-use code points, which are no characters of GB 2312.
class Gb2312Set {
public:
    Gb2312Set() : members_(0x10000, false) {
        for (unsigned lead = 0xB0; lead <= 0xF7; ++lead) {
            for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
                const auto c = DecodeGb18030Pair(static_cast<std::uint8_t>(lead),
                                                 static_cast<std::uint8_t>(trail));
                if (c && *c < members_.size() && !(*c >= 0xE000 && *c <= 0xF8FF)) {
                    members_[*c] = true;
                    ++size_;
                }
            }
        }
    }
    bool Holds(char32_t c) const { return c < members_.size() && members_[c]; }
    std::size_t size() const { return size_; }

private:
    std::vector<bool> members_;
    std::size_t size_ = 0;
};

const Gb2312Set& Gb2312() {
    static const Gb2312Set set;
    return set;
}

} // namespace

bool InGb2312(char32_t codePoint) {
    return Gb2312().Holds(codePoint);
}

std::optional<CoverageSet> CjkBlockOf(char32_t codePoint) {
    for (const BlockRange& range : kBlockRanges) {
        if (codePoint < range.first) {
            break;
        }
        if (codePoint <= range.last) {
            return range.set;
        }
    }
    return std::nullopt;
}

std::size_t CoverageSetSize(CoverageSet set) {
    if (set == CoverageSet::Gb2312) {
        return Gb2312().size();
    }
    std::size_t size = 0;
    for (const BlockRange& range : kBlockRanges) {
        size += range.set == set ? range.last - range.first + 1 : 0;
    }
    return size;
}

} // namespace tide
