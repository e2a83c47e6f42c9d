#include "data/record_uid.h"

#include "data/database.h"
#include "data/records.h"
#include "data/table.h"

#include <sqlite3.h>

#include <mutex>

namespace hrln::data {
namespace {

std::vector<const TableSchema*> TablesWithUids()
{
    return {&ScheduleRecord::schema(), &TodoRecord::schema()};
}

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

std::string Literal(const std::string& text)
{
    return "'" + text + "'";
}

}  // namespace

// 128 random bits are unique without a key to check them, which would cost
// every added record a write at a random place of the file.
std::vector<std::pair<std::string, std::string>> RecordUidObjects()
{
    std::vector<std::pair<std::string, std::string>> out = {
        {"_Uid", "CREATE TABLE \"_Uid\" (tbl TEXT NOT NULL, row INTEGER NOT NULL, uid TEXT NOT NULL,"
                 " PRIMARY KEY (tbl, row)) WITHOUT ROWID"}};
    const std::string fresh = "lower(hex(randomblob(16)))";
    for (const TableSchema* table : TablesWithUids()) {
        const std::string t = table->sqlName();
        const std::string add = "_Uid_" + t + "_add";
        const std::string remove = "_Uid_" + t + "_remove";
        // Without its triggers the table was made anew or before them: what
        // the identities name of it is gone, and its records have none.
        out.push_back(
            {add, "DELETE FROM \"_Uid\" WHERE tbl = " + Literal(t) + " AND row NOT IN (SELECT rowid FROM " + Quoted(t) +
                      ");"
                      "INSERT OR IGNORE INTO \"_Uid\" (tbl, row, uid) SELECT " +
                      Literal(t) + ", rowid, " + fresh + " FROM " + Quoted(t) + ";CREATE TRIGGER " + Quoted(add) +
                      " AFTER INSERT ON " + Quoted(t) + " BEGIN INSERT OR REPLACE INTO \"_Uid\" (tbl, row, uid) VALUES (" +
                      Literal(t) + ", NEW.rowid, " + fresh + "); END"});
        out.push_back({remove, "CREATE TRIGGER " + Quoted(remove) + " AFTER DELETE ON " + Quoted(t) +
                                   " BEGIN DELETE FROM \"_Uid\" WHERE tbl = " + Literal(t) + " AND row = OLD.rowid; END"});
    }
    return out;
}

std::string RecordUid(const TableBase& record)
{
    RecordUidReader reader(record.database());
    return reader.of(record);
}

RecordUidReader::~RecordUidReader()
{
    std::lock_guard lock(db_.mutex());
    sqlite3_finalize(stmt_);
}

std::string RecordUidReader::of(const TableBase& record)
{
    if (record.rowId() == 0 || &record.database() != &db_)
        return {};
    std::lock_guard lock(db_.mutex());
    if (db_.handle() == nullptr)
        return {};
    if (stmt_ && generation_ != db_.generation()) {
        sqlite3_finalize(stmt_);  // the connection it belonged to is gone
        stmt_ = nullptr;
    }
    if (!stmt_) {
        if (sqlite3_prepare_v2(db_.handle(), "SELECT uid FROM \"_Uid\" WHERE tbl = ?1 AND row = ?2", -1, &stmt_,
                               nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            return {};
        }
        generation_ = db_.generation();
    }
    sqlite3_reset(stmt_);
    sqlite3_bind_text(stmt_, 1, record.schema().sqlName().c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(stmt_, 2, record.rowId());
    std::string uid;
    if (sqlite3_step(stmt_) == SQLITE_ROW) {
        if (const unsigned char* text = sqlite3_column_text(stmt_, 0))
            uid = reinterpret_cast<const char*>(text);
    }
    sqlite3_reset(stmt_);
    return uid;
}

}  // namespace hrln::data
