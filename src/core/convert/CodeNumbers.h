// Numbering the distinct codes of a table in the order they are first met,
// for the passes over a whole table (conversion, statistics) that must not
// allocate per code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tide {

// The distinct codes of a table, numbered in the order first met: open
// addressing over one array, no allocation per code. A slot holds a code's
// number plus one (0: free) and the high half of its hash, so a probe
// compares codes only when the hashes agree.
class CodeNumbers {
public:
    explicit CodeNumbers(std::size_t capacity) {
        std::size_t size = 16;
        while (size < capacity * 2) {
            size *= 2;
        }
        slots_.resize(size);
        codes_.reserve(capacity);
    }

    static std::uint64_t Hash(std::string_view code) { return std::hash<std::string_view>()(code); }

    // Asks the memory for the slot a code of `hash` starts at: numbering many
    // codes, the array's cache misses then overlap.
    void Prefetch(std::uint64_t hash) const {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
#else
        (void)hash;
#endif
    }

    // The number of `code`, of `hash`; the next one when it is new.
    std::uint32_t NumberOf(std::string_view code, std::uint64_t hash) {
        const std::uint64_t tag = hash >> 32 << 32;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0) {
                codes_.push_back(code);
                slots_[i] = tag | codes_.size();
                return static_cast<std::uint32_t>(codes_.size() - 1);
            }
            const auto number = static_cast<std::uint32_t>((slot & 0xFFFFFFFF) - 1);
            if ((slot >> 32 << 32) == tag && codes_[number] == code) {
                return number;
            }
        }
    }
    std::size_t size() const {
        return codes_.size();
    }

private:
    std::vector<std::uint64_t> slots_;
    std::vector<std::string_view> codes_;
};

} // namespace tide
