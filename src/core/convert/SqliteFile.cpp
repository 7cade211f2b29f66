#include "core/convert/SqliteFile.h"

#include <algorithm>
#include <cstring>

namespace tide {
namespace {

constexpr std::string_view kMagic{"SQLite format 3\0", 16};
constexpr std::size_t kFileHeader = 100;
constexpr std::uint8_t kInteriorTable = 0x05;
constexpr std::uint8_t kLeafTable = 0x0D;
// Deeper than any real table b-tree (a page holds at least four cells).
constexpr std::size_t kDeepest = 40;
// The largest payload read: no row of a table of words comes near it.
constexpr std::uint64_t kLargestPayload = std::uint64_t{64} << 20;

std::uint64_t BigEndian(const std::uint8_t* p, std::size_t n) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        value = value << 8 | p[i];
    }
    return value;
}

// A varint of the file format at `at` in `bytes`; false when it runs off them.
bool ReadVarint(std::span<const std::uint8_t> bytes, std::size_t& at, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at >= bytes.size()) {
            return false;
        }
        const std::uint8_t byte = bytes[at++];
        if (i == 8) {
            value = value << 8 | byte;
            return true;
        }
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return true;
        }
    }
    return true;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

} // namespace

std::string SqliteValue::Text() const {
    if (kind == Kind::Text) {
        return std::string(bytes);
    }
    return kind == Kind::Integer ? std::to_string(integer) : std::string();
}

bool SqliteFile::LooksLikeSqlite(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kMagic.size() &&
           std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) == 0;
}

SqliteFile::SqliteFile(std::span<const std::uint8_t> bytes, std::string& error) : bytes_(bytes) {
    if (!LooksLikeSqlite(bytes) || bytes.size() < kFileHeader) {
        error = "not an SQLite 3 database";
        return;
    }
    const std::size_t size = BigEndian(bytes.data() + 16, 2);
    pageSize_ = size == 1 ? 65536 : size;
    const std::size_t reserved = bytes[20];
    if (pageSize_ < 512 || (pageSize_ & (pageSize_ - 1)) != 0 || pageSize_ <= reserved ||
        pageSize_ - reserved < 480) {
        error = "the database header names no valid page size";
        pageSize_ = 0;
        return;
    }
    if (BigEndian(bytes.data() + 56, 4) > 1) {
        error = "the database keeps its text in UTF-16, which is not read here";
        pageSize_ = 0;
        return;
    }
    usable_ = pageSize_ - reserved;
    pageCount_ = static_cast<std::uint32_t>(
        std::min<std::size_t>(bytes.size() / pageSize_, std::uint32_t{0x7FFFFFFF}));
    if (pageCount_ == 0) {
        error = "the database is shorter than one page";
        pageSize_ = 0;
    }
}

std::span<const std::uint8_t> SqliteFile::Page(std::uint32_t number) const {
    if (number == 0 || number > pageCount_) {
        return {};
    }
    return bytes_.subspan((static_cast<std::size_t>(number) - 1) * pageSize_, usable_);
}

bool SqliteFile::FindTable(std::string_view name, SqliteTable& table, std::string& error) const {
    if (pageSize_ == 0) {
        error = "not a readable SQLite 3 database";
        return false;
    }
    // The schema table, rooted on page 1: type, name, tbl_name, rootpage, sql.
    table = {std::string(name), 0, {}};
    const bool schemaRead = WalkTable(
        1,
        [&](std::span<const SqliteValue> values) {
            if (table.root == 0 && values.size() >= 5 && values[0].Text() == "table" &&
                values[1].Text() == name && values[3].kind == SqliteValue::Kind::Integer &&
                values[3].integer > 0 && values[3].integer <= 0x7FFFFFFF) {
                table.root = static_cast<std::uint32_t>(values[3].integer);
                table.sql = values[4].Text();
            }
        },
        error);
    if (!schemaRead) {
        error = "the database's schema is damaged: " + error;
        return false;
    }
    if (table.root == 0) {
        error = "the database has no table \"" + std::string(name) + "\"";
        return false;
    }
    return true;
}

bool SqliteFile::ReadTable(std::string_view name,
                           const std::function<void(std::span<const SqliteValue>)>& row,
                           std::string& error) const {
    SqliteTable table;
    return FindTable(name, table, error) && ReadRows(table, row, error);
}

bool SqliteFile::ReadRows(const SqliteTable& table,
                          const std::function<void(std::span<const SqliteValue>)>& row,
                          std::string& error) const {
    if (!WalkTable(table.root, row, error)) {
        error = "the database's table \"" + table.name + "\" is damaged: " + error;
        return false;
    }
    return true;
}

bool SqliteFile::WalkTable(std::uint32_t root,
                           const std::function<void(std::span<const SqliteValue>)>& row,
                           std::string& error) const {
    std::vector<bool> visited(static_cast<std::size_t>(pageCount_) + 1);
    struct Pending {
        std::uint32_t page;
        std::size_t depth;
    };
    std::vector<Pending> pending{{root, 0}};
    std::vector<SqliteValue> values;
    std::string gathered;
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        const std::span<const std::uint8_t> page = Page(next.page);
        if (page.empty()) {
            error = "page " + std::to_string(next.page) + " lies outside the file";
            return false;
        }
        if (visited[next.page] || next.depth > kDeepest) {
            error = "page " + std::to_string(next.page) + " is reached twice";
            return false;
        }
        visited[next.page] = true;
        const std::size_t header = next.page == 1 ? kFileHeader : 0;
        if (page.size() < header + 12) {
            error = "page " + std::to_string(next.page) + " is too short";
            return false;
        }
        const std::uint8_t type = page[header];
        if (type != kInteriorTable && type != kLeafTable) {
            error = "page " + std::to_string(next.page) + " is no table page";
            return false;
        }
        const std::size_t cells = BigEndian(page.data() + header + 3, 2);
        const std::size_t pointers = header + (type == kInteriorTable ? 12 : 8);
        if (pointers + 2 * cells > page.size()) {
            error = "page " + std::to_string(next.page) + " lists more cells than it holds";
            return false;
        }
        std::vector<std::uint32_t> children;
        for (std::size_t i = 0; i < cells; ++i) {
            const std::size_t cell = BigEndian(page.data() + pointers + 2 * i, 2);
            if (cell < pointers + 2 * cells || cell + 4 > page.size()) {
                error = "a cell of page " + std::to_string(next.page) + " lies outside it";
                return false;
            }
            if (type == kInteriorTable) {
                children.push_back(static_cast<std::uint32_t>(BigEndian(page.data() + cell, 4)));
                continue;
            }
            std::string_view payload;
            if (!Payload(page, cell, gathered, payload, error) ||
                !DecodeSqliteRecord(payload, values)) {
                if (error.empty()) {
                    error = "a record of page " + std::to_string(next.page) + " is damaged";
                }
                return false;
            }
            row(values);
        }
        if (type == kInteriorTable) {
            children.push_back(static_cast<std::uint32_t>(BigEndian(page.data() + header + 8, 4)));
            // Left to right: the stack takes them last first.
            for (auto child = children.rbegin(); child != children.rend(); ++child) {
                pending.push_back({*child, next.depth + 1});
            }
        }
    }
    return true;
}

bool SqliteFile::Payload(std::span<const std::uint8_t> page, std::size_t cell,
                         std::string& gathered, std::string_view& payload,
                         std::string& error) const {
    std::size_t at = cell;
    std::uint64_t size = 0;
    std::uint64_t rowid = 0;
    if (!ReadVarint(page, at, size) || !ReadVarint(page, at, rowid) || size > kLargestPayload) {
        error = "a cell's sizes are damaged";
        return false;
    }
    // How much of the payload stays on the page (the file format's rule).
    const std::uint64_t usable = usable_;
    const std::uint64_t most = usable - 35;
    std::uint64_t local = size;
    if (size > most) {
        const std::uint64_t least = (usable - 12) * 32 / 255 - 23;
        const std::uint64_t k = least + (size - least) % (usable - 4);
        local = k <= most ? k : least;
    }
    if (at + local > page.size() || (local < size && at + local + 4 > page.size())) {
        error = "a cell runs off its page";
        return false;
    }
    const auto* start = reinterpret_cast<const char*>(page.data() + at);
    if (local == size) {
        payload = std::string_view(start, static_cast<std::size_t>(size));
        return true;
    }
    gathered.assign(start, static_cast<std::size_t>(local));
    std::uint32_t overflow = static_cast<std::uint32_t>(BigEndian(page.data() + at + local, 4));
    // The chain is followed for as many pages as the size asks, no further.
    while (gathered.size() < size) {
        const std::span<const std::uint8_t> next = Page(overflow);
        if (next.size() < 4) {
            error = "an overflow page lies outside the file";
            return false;
        }
        const std::size_t take = static_cast<std::size_t>(
            std::min<std::uint64_t>(size - gathered.size(), next.size() - 4));
        gathered.append(reinterpret_cast<const char*>(next.data() + 4), take);
        overflow = static_cast<std::uint32_t>(BigEndian(next.data(), 4));
    }
    payload = gathered;
    return true;
}

bool DecodeSqliteRecord(std::string_view payload, std::vector<SqliteValue>& values) {
    values.clear();
    const std::span<const std::uint8_t> bytes = AsBytes(payload);
    std::size_t at = 0;
    std::uint64_t headerSize = 0;
    if (!ReadVarint(bytes, at, headerSize) || headerSize < at || headerSize > bytes.size()) {
        return false;
    }
    std::size_t body = static_cast<std::size_t>(headerSize);
    while (at < headerSize) {
        std::uint64_t type = 0;
        if (!ReadVarint(bytes.first(static_cast<std::size_t>(headerSize)), at, type)) {
            return false;
        }
        SqliteValue value;
        std::size_t length = 0;
        if (type >= 1 && type <= 6) {
            constexpr std::size_t kIntegerBytes[] = {0, 1, 2, 3, 4, 6, 8};
            length = kIntegerBytes[type];
            value.kind = SqliteValue::Kind::Integer;
        } else if (type == 7) {
            length = 8;
            value.kind = SqliteValue::Kind::Real;
        } else if (type == 8 || type == 9) {
            value.kind = SqliteValue::Kind::Integer;
            value.integer = type == 9 ? 1 : 0;
        } else if (type >= 12) {
            length =
                static_cast<std::size_t>(std::min<std::uint64_t>((type - 12) / 2, bytes.size()));
            value.kind = type % 2 ? SqliteValue::Kind::Text : SqliteValue::Kind::Blob;
        } else if (type != 0) {
            return false; // 10 and 11 are reserved
        }
        if (length > bytes.size() - body) {
            return false;
        }
        const std::uint8_t* content = bytes.data() + body;
        if (value.kind == SqliteValue::Kind::Integer && length > 0) {
            const std::uint64_t raw = BigEndian(content, length);
            const std::uint64_t sign = std::uint64_t{1} << (8 * length - 1);
            value.integer = length == 8 ? static_cast<std::int64_t>(raw)
                                        : static_cast<std::int64_t>((raw ^ sign) - sign);
        } else if (value.kind == SqliteValue::Kind::Real) {
            const std::uint64_t raw = BigEndian(content, 8);
            std::memcpy(&value.real, &raw, sizeof(raw));
        } else if (value.kind == SqliteValue::Kind::Text || value.kind == SqliteValue::Kind::Blob) {
            value.bytes = payload.substr(body, length);
        }
        body += length;
        values.push_back(value);
    }
    return true;
}

} // namespace tide
