#pragma once

#include "data/database.h"
#include "data/table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3_stmt;

namespace hrln::data {

// Which entries a stream gives: those where every listed field equals its
// value, or (with `holds` false) those where not all of them do. No fields:
// every entry.
struct FieldMatch {
    std::vector<std::pair<std::string, std::int64_t>> equal;
    bool holds = true;
};

// The entries of one key read once from start to end in key order with a
// single read-only statement, for a whole list (a record buffer seeks the key
// again for every next()). Only the fields named are read into the buffer; the
// others keep their values. The statement keeps its snapshot of the file until
// the stream ends or is destroyed.
class RecordStreamBase {
public:
    // In place of a key: every record, in the order the file holds them. The
    // walk for a scan whose order does not matter: it reads each page once,
    // where a key's order jumps about the file.
    static constexpr int kFileOrder = -1;

    RecordStreamBase(const RecordStreamBase&) = delete;
    RecordStreamBase& operator=(const RecordStreamBase&) = delete;

    // kOk with the next entry in the buffer; kRecordNotAvailable past the last.
    int next();
    int error() const { return error_; }
    // The row id of the entry in the buffer, to mark or fetch it again.
    std::int64_t rowId() const { return rowid_; }

protected:
    // `index`: an index of the file's own to walk instead of the key's, one
    // that holds exactly the entries `match` gives, in the key's order.
    RecordStreamBase(Database& db, const TableSchema& schema, int key, const std::vector<std::string_view>& fields,
                     FieldMatch match, std::string index = {});
    virtual ~RecordStreamBase();

    // Reads the result columns, from 0 on, into the fields that `wanted` marks (record order).
    virtual void readFields(sqlite3_stmt* stmt, const std::vector<bool>& wanted) = 0;

private:
    int start();
    void finish();

    Database& db_;
    const TableSchema& schema_;
    int key_;
    std::vector<bool> wanted_;
    FieldMatch match_;
    std::string index_;
    sqlite3_stmt* stmt_ = nullptr;
    std::uint64_t generation_ = 0;
    int rowidColumn_ = 0;
    std::int64_t rowid_ = 0;
    bool done_ = false;
    int error_ = kOk;
};

template <class R>
class RecordStream : public RecordStreamBase {
public:
    RecordStream(Database& db, int key, const std::vector<std::string_view>& fields, FieldMatch match = {},
                 std::string index = {})
        : RecordStreamBase(db, R::schema(), key, fields, std::move(match), std::move(index))
    {
    }

    R rec;

protected:
    void readFields(sqlite3_stmt* stmt, const std::vector<bool>& wanted) override
    {
        std::size_t index = 0;
        int column = 0;
        R::fields(rec, [&](const char*, auto& field) {
            if (wanted[index++])
                ReadColumn(stmt, column++, field);
        });
    }
};

}  // namespace hrln::data
