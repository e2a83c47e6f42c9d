#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <limits>
#include <type_traits>
#include <vector>

#include "common/fixed_text.h"

namespace hrln::data {

enum class ColumnKind { Text, Memo, Integer };

struct ColumnDef {
    std::string name;
    ColumnKind kind = ColumnKind::Integer;
    int width = 0;  // characters, for text and memo
    std::int64_t min = 0;
    std::int64_t max = 0;  // integer range of the field
};

struct KeyDef {
    std::string name;
    std::vector<int> columns;  // indices into TableSchema::columns
    bool unique = false;
    bool excludesEmpty = true;
    bool primary = false;
};

struct KeySpec {
    const char* name;
    std::vector<const char*> components;
    bool unique;
    bool excludesEmpty;
    bool primary = false;
};

// A table of a database file: its stored name, its columns in record order and
// its keys. Every key is case-insensitive and sorts its components ascending.
class TableSchema {
public:
    TableSchema(std::string name, std::string prefix, std::string sqlName, std::vector<ColumnDef> columns,
                const std::vector<KeySpec>& keys, bool holdsPlaceholders = false);

    const std::string& name() const { return name_; }        // "Schedule"
    const std::string& prefix() const { return prefix_; }    // "SCH"
    const std::string& sqlName() const { return sqlName_; }  // "S"
    const std::vector<ColumnDef>& columns() const { return columns_; }
    const std::vector<KeyDef>& keys() const { return keys_; }
    const KeyDef& key(int index) const { return keys_.at(static_cast<std::size_t>(index)); }
    int columnIndex(std::string_view name) const;  // -1 when unknown

    std::string indexName(const KeyDef& key) const;        // "S_KeyDateEnabled"
    std::string createTableSql() const;
    std::string createIndexSql(const KeyDef& key) const;
    // The condition a record meets to stand in `key`, "1" for keys that keep empty records.
    std::string keyFilterSql(const KeyDef& key) const;

    // Whether a form adds a placeholder to this table on an insert: a record
    // holding only its primary key's fields, marked as its station's (see
    // TableBase::placeholderAdds), which no list shows.
    bool holdsPlaceholders() const { return holdsPlaceholders_; }
    // The condition, to add to a list's, that leaves placeholders out of
    // `key` (of the table in file order when null); empty when the key cannot
    // hold one: a placeholder's other fields are empty, so only keys that keep
    // empty records or name a field of the primary key take it in.
    std::string hidePlaceholdersSql(const KeyDef* key) const;

private:
    std::string name_;
    std::string prefix_;
    std::string sqlName_;
    std::vector<ColumnDef> columns_;
    std::vector<KeyDef> keys_;
    bool holdsPlaceholders_ = false;
};

// Column definitions derived from a record's field list.
template <class R>
std::vector<ColumnDef> ColumnsOf()
{
    std::vector<ColumnDef> columns;
    R sample{};
    R::fields(sample, [&](const char* name, auto& field) {
        using T = std::remove_cvref_t<decltype(field)>;
        ColumnDef c;
        c.name = name;
        if constexpr (std::is_integral_v<T>) {
            c.kind = ColumnKind::Integer;
            c.min = std::numeric_limits<T>::min();
            c.max = std::numeric_limits<T>::max();
        } else {
            c.kind = std::is_same_v<T, FixedText<T::kWidth>> ? ColumnKind::Text : ColumnKind::Memo;
            c.width = T::kWidth;
        }
        columns.push_back(std::move(c));
    });
    return columns;
}

// The collation of every text key: upper-case folding, trailing blanks ignored.
inline constexpr const char* kKeyCollation = "HRLNCASE";

}  // namespace hrln::data
