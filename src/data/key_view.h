#pragma once

#include "data/database.h"
#include "data/table.h"

#include <cstdint>
#include <vector>

struct sqlite3_stmt;

namespace hrln::data {

// One key of a table seen as an ordered list, optionally narrowed to the
// entries whose leading components equal given values (compared as the key
// compares them). Every question is one statement over the key's index, so a
// list of any length costs what its page costs, never the whole table.
class KeyView {
public:
    // An entry's place in the key: its key values, and its row id as the
    // tie-breaker of keys that allow duplicates.
    struct Entry {
        std::int64_t rowid = 0;
        std::vector<Value> values;
    };

    // A further condition on the entries, over the table's columns and
    // `rowid`, with its parameters: a view of the records marked elsewhere.
    struct Restriction {
        std::string sql;
        std::vector<Value> values;
    };

    KeyView(Database& db, const TableSchema& schema, int key, std::vector<Value> prefix = {},
            Restriction restriction = {});
    ~KeyView();
    KeyView(const KeyView&) = delete;
    KeyView& operator=(const KeyView&) = delete;

    int key() const { return key_; }
    const std::vector<Value>& prefix() const { return prefix_; }

    // Entries in the view; 0 on any error (kept for error()).
    std::int64_t count();
    // Up to `n` entries from ordinal `first` (0-based) on, in key order; `total`
    // is the count when the caller holds it (-1: count anew).
    std::vector<Entry> at(std::int64_t first, int n, std::int64_t total = -1);
    // Up to `n` entries right after `anchor`, or right before it (returned in key order).
    std::vector<Entry> after(const Entry& anchor, int n);
    std::vector<Entry> before(const Entry& anchor, int n);
    // The ordinal of the record with row id `rowid`; -1 when it is not in the view.
    std::int64_t ordinalOf(std::int64_t rowid);

    int error() const { return error_; }

private:
    enum Op { Count, Forward, Backward, FromEnd, After, Before, Locate, Ordinal };
    sqlite3_stmt* statement(Op op);
    std::string sql(Op op) const;
    // Binds the prefix and the restriction from parameter 1 on; returns the next parameter.
    int bindPrefix(sqlite3_stmt* stmt) const;
    std::vector<Entry> collect(sqlite3_stmt* stmt, bool reversed);
    void finalizeAll();

    Database& db_;
    const TableSchema& schema_;
    int key_;
    std::vector<Value> prefix_;
    Restriction restriction_;
    std::vector<sqlite3_stmt*> statements_;
    std::uint64_t generation_ = 0;
    int error_ = kOk;
};

}  // namespace hrln::data
