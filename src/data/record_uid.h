#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct sqlite3_stmt;

// The identity a schedule or to-do record shows other programs' calendars:
// 128 random bits given when the record is added, kept while it lives (its
// row id stays through every write), and gone with it, so that a later record
// never takes it over, even where it gets the same task number or row id.
// Two files never give the same one. The identities live in the "_Uid" table
// beside the records; triggers of the file give and remove them, whichever
// connection or program writes.
namespace hrln::data {

class Database;
class TableBase;

// The table and its triggers, as internal tables of the main layout (name and
// statements). Each trigger's statements also give an identity to every record
// that has none yet, as in a file made before them.
std::vector<std::pair<std::string, std::string>> RecordUidObjects();

// The identity of the record the buffer last read or added; empty when it
// has none (no record, or a table without identities).
std::string RecordUid(const TableBase& record);

// The same for many records of one connection, over one prepared statement:
// an export of a whole table asks once per record, and preparing the query
// each time would cost more than the rest of writing the record.
class RecordUidReader {
public:
    explicit RecordUidReader(Database& db) : db_(db) {}
    ~RecordUidReader();
    RecordUidReader(const RecordUidReader&) = delete;
    RecordUidReader& operator=(const RecordUidReader&) = delete;

    std::string of(const TableBase& record);

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::uint64_t generation_ = 0;
};

}  // namespace hrln::data
