#pragma once

#include "data/database.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

struct sqlite3_stmt;

namespace hrln::data {

using Value = std::variant<std::int64_t, std::string>;

// Every field of a record by its place in the record: numbers and texts.
template <class R>
std::vector<Value> RecordValues(const R& record)
{
    std::vector<Value> out;
    R::fields(record, [&](const char*, const auto& field) {
        if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(field)>>)
            out.emplace_back(static_cast<std::int64_t>(field));
        else
            out.emplace_back(field.str());
    });
    return out;
}

// Plain access to statement parameters and columns, so the record templates
// need no SQLite header.
void BindInteger(sqlite3_stmt* stmt, int param, std::int64_t value);
void BindText(sqlite3_stmt* stmt, int param, std::string_view value);
std::int64_t ColumnInteger(sqlite3_stmt* stmt, int column);
std::string_view ColumnText(sqlite3_stmt* stmt, int column);
// Binds `values` from parameter `firstParam` on; returns the next parameter.
int BindValues(sqlite3_stmt* stmt, const std::vector<Value>& values, int firstParam);

// Every field of `record` to the statement's parameters from `firstParam` on.
template <class R>
void BindRecord(sqlite3_stmt* stmt, const R& record, int firstParam)
{
    int param = firstParam;
    R::fields(record, [&](const char*, const auto& field) {
        if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(field)>>)
            BindInteger(stmt, param++, field);
        else
            BindText(stmt, param++, field.view());
    });
}

// Column `column` into a record field: a number held to the field's range, a
// text cut to its width.
template <class Field>
void ReadColumn(sqlite3_stmt* stmt, int column, Field& field)
{
    if constexpr (std::is_integral_v<Field>) {
        const std::int64_t v = ColumnInteger(stmt, column);
        field = static_cast<Field>(
            std::clamp<std::int64_t>(v, std::numeric_limits<Field>::min(), std::numeric_limits<Field>::max()));
    } else {
        field = ColumnText(stmt, column);
    }
}

// A record buffer with its own cursor over one table. Every operation returns
// an error code (0 on success) and keeps it for error(). Several buffers may
// share a table; each sees the others' writes on its next read.
class TableBase {
public:
    TableBase(const TableBase&) = delete;
    TableBase& operator=(const TableBase&) = delete;

    int error() const { return error_; }
    Database& database() const { return db_; }
    const TableSchema& schema() const { return schema_; }

    // Positions on `key` at its start: next() then reads its first entry,
    // previous() its last.
    int set(int key);
    // Positions on `key` at the buffer's values: next() reads the first entry
    // not below them, previous() the last entry not above them.
    int setFrom(int key);
    // Reads in key order; kRecordNotAvailable past either end.
    int next();
    int previous();
    // Reads the first record whose `key` components equal the buffer's; kRecordNotFound otherwise.
    int get(int key);
    // Adds the buffer as a new record; kDuplicateKey (table unchanged) when a unique key would clash.
    int add();
    // Writes the buffer over the record last read or added. kRecordChanged when
    // another buffer or process changed it since, kRecordNotAvailable when it is gone.
    int put();
    // Deletes the record last read or added.
    int remove();
    // Reads the record with row id `rowid` (a position kept from an earlier read,
    // see rowId()) and positions `key` on it; kRecordNotFound when it is gone.
    int reget(int key, std::int64_t rowid);
    // The row id of the record last read or added (0: none).
    std::int64_t rowId() const { return currentRowid_; }
    // Reads the record last read or added again, wherever it now stands in its
    // keys; the cursor stays where it was. kRecordNotAvailable when it is gone.
    int reread();
    // Whether the buffer's values would clash with another record in `key`.
    bool duplicate(int key);
    // Whether the buffer stands for a stored record (last read or added).
    bool hasCurrent() const { return currentRowid_ != 0; }
    // Records in the table.
    int count();

    // The buffer's hold on its stored record, as put() and remove() check it.
    // A write inside a transaction that is then rolled back moves the hold on
    // while the record stays as it was: giving the earlier hold back keeps the
    // next put() from taking that for another station's change.
    struct Hold {
        std::int64_t rowid = 0;
        std::int64_t version = 0;
        std::int64_t claim = 0;
    };
    Hold hold() const { return {currentRowid_, currentVersion_, currentClaim_}; }
    void restore(const Hold& held);

    // Marks the record last read as being worked on by station `holder`, with
    // one conditional write that succeeds only while the record is as it was
    // read. The next put() or remove() ends the claim. kRecordChanged when
    // another buffer or station changed or claimed it first.
    int claim(std::int64_t holder);
    // The station whose claim stood on the record last read (0: none).
    std::int64_t claimHolder() const { return currentRowid_ != 0 ? currentClaim_ : 0; }

    // While on, add() stores a placeholder for the buffer: a record with only
    // the primary key's fields, marked as the placeholder of the connection's
    // station (Database::station()). It reserves its key from the start, and
    // the first put() makes it an ordinary record. Walking a key passes over
    // placeholders, so no list, no other window and no other station shows
    // one; get() by key value and reget() still read it.
    void placeholderAdds(bool on) { placing_ = on; }
    // Makes this buffer's walks read placeholders too: for numbering, which
    // must not hand out a number a placeholder holds, and for the work on
    // children that must take them along.
    void seePlaceholders();
    // Whether the record last read or added is a placeholder, and the station
    // that owns it (0: one of a program that had no station number).
    bool isPlaceholder() const { return currentRowid_ != 0 && currentClaim_ < 0; }
    static std::int64_t PlaceholderOwner(std::int64_t claim) { return claim == kNoOwner ? 0 : -claim; }

protected:
    TableBase(Database& db, const TableSchema& schema);
    virtual ~TableBase();

    virtual Value fieldValue(int column) const = 0;
    virtual void bindFields(sqlite3_stmt* stmt, int firstParam) const = 0;
    virtual void readFields(sqlite3_stmt* stmt, int firstColumn) = 0;
    void forgetCurrent() { currentRowid_ = 0; }

private:
    enum Op {
        NextStart,
        NextFrom,
        NextAfter,
        PrevStart,
        PrevFrom,
        PrevAfter,
        Get,
        Dup,
        Insert,
        InsertPlaceholder,
        Update,
        Delete,
        Version,
        Count,
        Claim,
        ByRowid,
    };
    enum class Position { None, Start, AtValues, After };

    // Reads select the row id, the row version and the claim before the fields.
    static constexpr int kFirstField = 3;
    // The claim of a placeholder added without a station number.
    static constexpr std::int64_t kNoOwner = std::numeric_limits<std::int64_t>::min();

    sqlite3_stmt* statement(Op op, int key);
    std::string buildSql(Op op, int key) const;
    int read(Op op);
    int step(sqlite3_stmt* stmt, bool forRead, int notFound);
    int fail(int code) { return error_ = code; }
    // Binds the buffer's values of `key` from the first parameter on; returns the next parameter.
    int bindBufferKey(sqlite3_stmt* stmt, int key) const;
    bool validKey(int key) const;
    void finalizeAll();

    Database& db_;
    const TableSchema& schema_;
    std::map<int, sqlite3_stmt*> statements_;
    std::uint64_t generation_ = 0;

    int key_ = -1;
    Position position_ = Position::None;
    std::vector<Value> bound_;  // key values (and row id) of the position
    std::int64_t currentRowid_ = 0;
    std::int64_t currentVersion_ = 0;
    std::int64_t currentClaim_ = 0;
    int error_ = kOk;
    bool placing_ = false;
    bool seesPlaceholders_ = false;
};

template <class R>
class Table : public TableBase {
public:
    explicit Table(Database& db) : TableBase(db, R::schema()) {}

    R rec;

    // Text fields to blanks, numbers to 0.
    void clear() { rec = R{}; }

protected:
    Value fieldValue(int column) const override
    {
        Value out;
        int i = 0;
        R::fields(rec, [&](const char*, const auto& field) {
            if (i++ != column)
                return;
            if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(field)>>)
                out = static_cast<std::int64_t>(field);
            else
                out = field.str();
        });
        return out;
    }

    void bindFields(sqlite3_stmt* stmt, int firstParam) const override { BindRecord(stmt, rec, firstParam); }

    void readFields(sqlite3_stmt* stmt, int firstColumn) override
    {
        int column = firstColumn;
        R::fields(rec, [&](const char*, auto& field) { ReadColumn(stmt, column++, field); });
    }
};

}  // namespace hrln::data
