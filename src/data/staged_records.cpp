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
    if (const int err = execute("CREATE TEMP TABLE " + Quoted(name_) + " (" + columns_ + ")"); err != kOk)
        return err;
    const std::string sql = "INSERT INTO temp." + Quoted(name_) + " VALUES (" + [&] {
        std::string params;
        for (std::size_t i = 0; i < schema_.columns().size(); ++i)
            params += i == 0 ? "?" : ", ?";
        return params;
    }() + ")";
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
    sqlite3_stmt* stmt = nullptr;
    std::int64_t n = -1;
    if (sqlite3_prepare_v2(db_.handle(), ("SELECT COUNT(*) FROM " + table).c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
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

int StagedRecordsBase::moveToTable(int numbered, std::int64_t first)
{
    std::lock_guard lock(db_.mutex());
    if (keep_ == nullptr)
        return kOk;
    if (lost() || !db_.isOpen())
        return kFileNotOpen;
    const std::string table = Quoted(schema_.sqlName());
    const std::int64_t kept = countOf("temp." + Quoted(name_));
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
            values += std::to_string(first) + " + rowid - (SELECT MIN(rowid) FROM temp." + Quoted(name_) + ")";
        else
            values += Quoted(schema_.columns()[i].name);
    }
    if (const int err = execute("INSERT INTO " + table + " (" + columns_ + ") SELECT " + values + " FROM temp." +
                                Quoted(name_) + " ORDER BY rowid");
        err != kOk)
        return undo(err);
    if (rebuild)
        for (const KeyDef& key : schema_.keys())
            if (const int err = execute(schema_.createIndexSql(key)); err != kOk)
                return undo(err);
    return db_.releaseSavepoint();
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
