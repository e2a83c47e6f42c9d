#pragma once

#include "data/database.h"
#include "data/table.h"

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace hrln::data {

// Records set aside on the connection until they are added to their table in
// one transaction. An import checks and keeps its records a batch at a time,
// so that its window stays responsive, and writes the table once: a commit
// per batch would write the pages of every key of the table again and again.
// The records wait in a temporary table of the connection's own, which no
// other station sees and which goes with the connection.
class StagedRecordsBase {
public:
    StagedRecordsBase(const StagedRecordsBase&) = delete;
    StagedRecordsBase& operator=(const StagedRecordsBase&) = delete;

    Database& database() const { return db_; }
    // Records kept and not yet added: those of transactions rolled back since
    // are not.
    std::int64_t count();
    // Whether the records kept went with a connection closed since.
    bool lost() const;

    // Writes `to` over every text of `column` that is exactly `from`.
    int replaceText(int column, std::string_view from, std::string_view to);
    struct Moved {
        std::int64_t added = 0;
        std::int64_t updated = 0;   // records of the table that had a record's identity
        std::int64_t repeated = 0;  // records dropped for a later one of the same identity
    };
    // Adds every record kept to the table, in the order kept, inside the
    // caller's transaction; with `numbered` >= 0 that column is numbered
    // `first`, `first` + 1, ... When the records kept outnumber those stored,
    // the table's keys are built afresh after the load, which is much faster
    // than an entry at a time. The records stay kept until clear().
    // A record kept with an identity (see record_uid.h) is written over the
    // table's record that has it, keeping that one's number, or else added
    // with it; of several kept with one identity the last counts.
    int moveToTable(int numbered = -1, std::int64_t first = 0, Moved* moved = nullptr);
    // Forgets the records kept, once they are in the table.
    int clear();

protected:
    StagedRecordsBase(Database& db, const TableSchema& schema);
    ~StagedRecordsBase();

    // The insert into the temporary table, reset, for the caller to bind the
    // fields to from the first parameter on; null on a failure, kept in `err`.
    sqlite3_stmt* keepStatement(int& err);
    int stepKeep(sqlite3_stmt* stmt);
    // The parameter of the identity in the insert keepStatement() gives.
    int identityParam() const { return static_cast<int>(schema_.columns().size()) + 1; }

private:
    int execute(const std::string& sql);
    // Writes the records kept with an identity the table has over their
    // records and leaves the others to be added; the counts into `moved`.
    int matchIdentities(int numbered, Moved& moved);
    // Gives the records just added after row `before` the identities kept with them.
    int giveIdentities(std::int64_t before);
    // The records in `table`; -1 on a failure.
    std::int64_t countOf(const std::string& table);
    // The first column of the query's first row; -1 on a failure.
    std::int64_t valueOf(const std::string& sql);
    int create();
    void drop();

    Database& db_;
    const TableSchema& schema_;
    std::string name_;      // of the temporary table
    std::string columns_;   // the table's columns, quoted, in order
    sqlite3_stmt* keep_ = nullptr;
    std::uint64_t generation_ = 0;
};

template <class R>
class StagedRecords : public StagedRecordsBase {
public:
    explicit StagedRecords(Database& db) : StagedRecordsBase(db, R::schema()) {}

    // `identity` empty: the record gets a new one when it is added.
    int keep(const R& record, std::string_view identity = {})
    {
        std::lock_guard lock(database().mutex());
        int err = kOk;
        sqlite3_stmt* stmt = keepStatement(err);
        if (stmt == nullptr)
            return err;
        BindRecord(stmt, record, 1);
        if (!identity.empty())
            BindText(stmt, identityParam(), identity);
        return stepKeep(stmt);
    }
};

}  // namespace hrln::data
