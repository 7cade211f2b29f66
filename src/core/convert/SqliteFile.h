// The rows of a table in an SQLite 3 database file, read from its bytes: the
// file format's table b-trees, overflow pages and records, every offset and
// count checked against the file, every page visited at most once. Read
// only, UTF-8 databases only; enough for the tables other input methods
// ship (ibus-table's *.db).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tide {

struct SqliteValue {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes; // Text and Blob; valid during the row's call only

    // The value as text: Text as it is, an Integer in decimal, else empty.
    std::string Text() const;
};

// A table as the schema names it: its b-tree's root page and its CREATE statement.
struct SqliteTable {
    std::string name;
    std::uint32_t root = 0;
    std::string sql;
};

class SqliteFile {
public:
    // True when the bytes start like an SQLite 3 database.
    static bool LooksLikeSqlite(std::span<const std::uint8_t> bytes);

    // Checks the header; `error` tells why the bytes cannot be read.
    SqliteFile(std::span<const std::uint8_t> bytes, std::string& error);

    // Calls `row` with the values of each row of the table `name`, in the
    // order of its b-tree. False, with `error` set, when the table is missing
    // or the file is damaged (rows already handed out may then be incomplete).
    bool ReadTable(std::string_view name,
                   const std::function<void(std::span<const SqliteValue>)>& row,
                   std::string& error) const;

    // The table `name` from the schema; false with `error` set when it is
    // missing or the schema is damaged.
    bool FindTable(std::string_view name, SqliteTable& table, std::string& error) const;
    // ReadTable for a table found already.
    bool ReadRows(const SqliteTable& table,
                  const std::function<void(std::span<const SqliteValue>)>& row,
                  std::string& error) const;

private:
    // The table b-tree whose root is `root`, each row's record handed out.
    bool WalkTable(std::uint32_t root, const std::function<void(std::span<const SqliteValue>)>& row,
                   std::string& error) const;
    // A cell's whole payload: in place, or gathered from its overflow pages into `gathered`.
    bool Payload(std::span<const std::uint8_t> page, std::size_t cell, std::string& gathered,
                 std::string_view& payload, std::string& error) const;
    std::span<const std::uint8_t> Page(std::uint32_t number) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t pageSize_ = 0;
    std::size_t usable_ = 0;
    std::uint32_t pageCount_ = 0;
};

// The values of one record (the payload of a table row); false when damaged.
bool DecodeSqliteRecord(std::string_view payload, std::vector<SqliteValue>& values);

} // namespace tide
