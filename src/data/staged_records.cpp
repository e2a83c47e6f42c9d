#include "data/staged_records.h"

#include <sqlite3.h>

#include <atomic>

namespace hrln::data {
namespace {

// Below this many records an import gives the keys their entries one by one:
// building them afresh costs about as much as the whole table's worth.
constexpr std::int64_t kRebuildKeysFrom = 5000;

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// Whether a statement of the connection is part way through its rows, as an
// export or a report holds one between batches.
bool Reading(sqlite3* db)
{
    for (sqlite3_stmt* stmt = sqlite3_next_stmt(db, nullptr); stmt != nullptr; stmt = sqlite3_next_stmt(db, stmt))
        if (sqlite3_stmt_busy(stmt) != 0)
            return true;
    return false;
}

}  // namespace

StagedRecordsBase::StagedRecordsBase(Database& db, const TableSchema& schema) : db_(db), schema_(schema)
{
    static std::atomic<int> made{0};
    name_ = "hrln_staged_" + std::to_string(++made);
    for (const ColumnDef& c : schema_.columns())
        columns_ += (columns_.empty() ? "" : ", ") + Quoted(c.name);
}

StagedRecordsBase::~StagedRecordsBase()
{
    std::lock_guard lock(db_.mutex());
    drop();
}

bool StagedRecordsBase::lost() const
{
    return keep_ != nullptr && (!db_.isOpen() || generation_ != db_.generation());
}

int StagedRecordsBase::execute(const std::string& sql)
{
    return db_.mapError(sqlite3_exec(db_.handle(), sql.c_str(), nullptr, nullptr, nullptr));
}

int StagedRecordsBase::create()
{
    // Each record kept is a transaction of the connection's temporary
    // database: its undo log in memory spares a journal file written and cut
    // back for every one. Without it they are only slower.
    execute("PRAGMA temp.journal_mode = MEMORY");
    // Untyped columns keep each value as it is bound.
    // Beside the fields, the identity the record comes with and the row of
    // the table that has it.
    if (const int err = execute("CREATE TEMP TABLE " + Quoted(name_) + " (" + columns_ + ", _uid, _row)"); err != kOk)
        return err;
    const std::string sql = "INSERT INTO temp." + Quoted(name_) + " VALUES (" + [&] {
        std::string params;
        for (std::size_t i = 0; i < schema_.columns().size(); ++i)
            params += i == 0 ? "?" : ", ?";
        return params;
    }() + ", ?, NULL)";
    const int rc = sqlite3_prepare_v3(db_.handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &keep_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(keep_);
        keep_ = nullptr;
        execute("DROP TABLE temp." + Quoted(name_));
        return db_.mapError(rc);
    }
    generation_ = db_.generation();
    return kOk;
}

void StagedRecordsBase::drop()
{
    if (keep_ == nullptr)
        return;
    const bool ours = db_.isOpen() && generation_ == db_.generation();
    sqlite3_finalize(keep_);
    keep_ = nullptr;
    // A connection opened since never had the table.
    if (ours)
        execute("DROP TABLE IF EXISTS temp." + Quoted(name_));
}

sqlite3_stmt* StagedRecordsBase::keepStatement(int& err)
{
    if (lost() || !db_.isOpen()) {
        err = kFileNotOpen;
        return nullptr;
    }
    if (keep_ == nullptr && (err = create()) != kOk)
        return nullptr;
    sqlite3_reset(keep_);
    sqlite3_clear_bindings(keep_);
    return keep_;
}

int StagedRecordsBase::stepKeep(sqlite3_stmt* stmt)
{
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    return rc == SQLITE_DONE ? kOk : db_.mapError(rc);
}

std::int64_t StagedRecordsBase::count()
{
    std::lock_guard lock(db_.mutex());
    if (keep_ == nullptr || lost())
        return 0;
    return countOf("temp." + Quoted(name_));
}

std::int64_t StagedRecordsBase::countOf(const std::string& table)
{
    return valueOf("SELECT COUNT(*) FROM " + table);
}

std::int64_t StagedRecordsBase::valueOf(const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    std::int64_t n = -1;
    if (sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

int StagedRecordsBase::replaceText(int column, std::string_view from, std::string_view to)
{
    std::lock_guard lock(db_.mutex());
    if (lost())
        return kFileNotOpen;
    if (keep_ == nullptr)
        return kOk;
    const std::string name = Quoted(schema_.columns()[static_cast<std::size_t>(column)].name);
    const std::string sql =
        "UPDATE temp." + Quoted(name_) + " SET " + name + " = ?1 WHERE " + name + " = ?2 COLLATE BINARY";
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        BindText(stmt, 1, to);
        BindText(stmt, 2, from);
        rc = sqlite3_step(stmt);
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE ? kOk : db_.mapError(rc);
}

int StagedRecordsBase::moveToTable(int numbered, std::int64_t first, Moved* moved)
{
    std::lock_guard lock(db_.mutex());
    Moved counts;
    if (moved != nullptr)
        *moved = counts;
    if (keep_ == nullptr)
        return kOk;
    if (lost() || !db_.isOpen())
        return kFileNotOpen;
    const std::string table = Quoted(schema_.sqlName());
    const std::string staged = "temp." + Quoted(name_);
    std::int64_t kept = countOf(staged);
    const std::int64_t stored = countOf(table);
    if (kept < 0 || stored < 0)
        return db_.mapError(sqlite3_errcode(db_.handle()));
    if (kept == 0)
        return kOk;
    if (const int err = db_.savepoint(); err != kOk)
        return err;
    const auto undo = [&](int err) {
        db_.rollbackToSavepoint();
        return err;
    };
    const std::int64_t identified = countOf(staged + " WHERE _uid IS NOT NULL");
    if (identified < 0)
        return undo(db_.mapError(sqlite3_errcode(db_.handle())));
    const std::int64_t before = identified > 0 ? valueOf("SELECT IFNULL(MAX(rowid), 0) FROM " + table) : 0;
    if (before < 0)
        return undo(db_.mapError(sqlite3_errcode(db_.handle())));
    if (identified > 0) {
        if (const int err = matchIdentities(numbered, counts); err != kOk)
            return undo(err);
        kept -= counts.updated + counts.repeated;
    }
    // Keys cannot be dropped under a statement of the connection still
    // reading, and undoing a failed drop would end that statement: the
    // records then go in an entry at a time.
    bool rebuild = kept >= kRebuildKeysFrom && kept >= stored && !Reading(db_.handle());
    if (rebuild) {
        for (const KeyDef& key : schema_.keys()) {
            if (execute("DROP INDEX " + Quoted(schema_.indexName(key))) != kOk) {
                db_.rollbackToSavepoint();
                if (const int err = db_.savepoint(); err != kOk)
                    return err;
                rebuild = false;
                break;
            }
        }
    }
    std::string values;
    for (std::size_t i = 0; i < schema_.columns().size(); ++i) {
        values += i == 0 ? "" : ", ";
        if (static_cast<int>(i) == numbered)
            values += std::to_string(first) + " - 1 + row_number() OVER (ORDER BY rowid)";
        else
            values += Quoted(schema_.columns()[i].name);
    }
    if (const int err = execute("INSERT INTO " + table + " (" + columns_ + ") SELECT " + values + " FROM " + staged +
                                " WHERE _row IS NULL ORDER BY rowid");
        err != kOk)
        return undo(err);
    counts.added = sqlite3_changes64(db_.handle());
    if (rebuild)
        for (const KeyDef& key : schema_.keys())
            if (const int err = execute(schema_.createIndexSql(key)); err != kOk)
                return undo(err);
    if (identified > counts.updated + counts.repeated)
        if (const int err = giveIdentities(before); err != kOk)
            return undo(err);
    if (const int err = db_.releaseSavepoint(); err != kOk)
        return err;
    if (moved != nullptr)
        *moved = counts;
    return kOk;
}

int StagedRecordsBase::matchIdentities(int numbered, Moved& moved)
{
    const std::string staged = "temp." + Quoted(name_);
    const std::string tbl = "'" + schema_.sqlName() + "'";
    // A file that gives one identity twice means the later record.
    if (const int err = execute("DELETE FROM " + staged + " WHERE _uid IS NOT NULL AND rowid NOT IN (SELECT MAX(rowid) FROM " +
                                staged + " WHERE _uid IS NOT NULL GROUP BY _uid)");
        err != kOk)
        return err;
    moved.repeated = sqlite3_changes64(db_.handle());
    // The identities have no key of their own (see record_uid.h): one pass
    // over them finds the records kept through a key of the kept ones.
    if (const int err = execute("CREATE INDEX IF NOT EXISTS temp." + Quoted(name_ + "_uid") + " ON " + Quoted(name_) +
                                " (_uid)");
        err != kOk)
        return err;
    if (const int err = execute("UPDATE " + staged + " SET _row = u.row FROM main.\"_Uid\" AS u WHERE u.tbl = " + tbl +
                                " AND u.uid = " + staged + "._uid");
        err != kOk)
        return err;
    // As the record's form writes it over; placeholders are nobody's to overwrite.
    std::string sets;
    for (std::size_t i = 0; i < schema_.columns().size(); ++i)
        if (static_cast<int>(i) != numbered)
            sets += Quoted(schema_.columns()[i].name) + " = kept." + Quoted(schema_.columns()[i].name) + ", ";
    if (const int err = execute("UPDATE " + Quoted(schema_.sqlName()) + " SET " + sets +
                                "_rowver = _rowver + 1, _claim = 0 FROM " + staged + " AS kept WHERE " +
                                Quoted(schema_.sqlName()) + ".rowid = kept._row AND _claim >= 0");
        err != kOk)
        return err;
    moved.updated = sqlite3_changes64(db_.handle());
    // A placeholder's identity stays its own: the record comes in beside it.
    if (const int err = execute("UPDATE " + staged + " SET _uid = NULL, _row = NULL WHERE _row IN (SELECT rowid FROM " +
                                Quoted(schema_.sqlName()) + " WHERE _claim < 0)");
        err != kOk)
        return err;
    return kOk;
}

int StagedRecordsBase::giveIdentities(std::int64_t before)
{
    // The records went in in the order kept, after the table's last row.
    const std::string table = Quoted(schema_.sqlName());
    return execute("UPDATE main.\"_Uid\" SET uid = m.uid FROM (SELECT t.r AS r, s.u AS uid FROM (SELECT rowid AS r, "
                   "row_number() OVER (ORDER BY rowid) AS n FROM " + table + " WHERE rowid > " +
                   std::to_string(before) + ") AS t JOIN (SELECT _uid AS u, row_number() OVER (ORDER BY rowid) AS n FROM temp." +
                   Quoted(name_) + " WHERE _row IS NULL) AS s ON t.n = s.n WHERE s.u IS NOT NULL) AS m WHERE "
                   "\"_Uid\".tbl = '" + schema_.sqlName() + "' AND \"_Uid\".row = m.r");
}

int StagedRecordsBase::clear()
{
    std::lock_guard lock(db_.mutex());
    if (lost())
        return kFileNotOpen;
    drop();
    return kOk;
}

}  // namespace hrln::data
