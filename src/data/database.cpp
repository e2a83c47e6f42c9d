#include "data/database.h"

#include "common/text.h"
#include "data/record_uid.h"
#include "data/records.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>
#include <thread>

namespace hrln::data {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kMainApplicationId = 0x48524C4E;  // "HRLN"
constexpr std::int32_t kTagApplicationId = 0x48524C54;   // "HRLT"
// Main: 2 added the station and occurrence journal tables, 4 the records'
// identities for other calendars (record_uid.h), 5 the tasks' own date order, 6 the placeholders'
// own small keys. Both files: the
// version that first folds the case of every Unicode letter in text keys
// (main 3, tag file 2); the keys of older files are sorted again.
constexpr int kMainLayoutVersion = 6;
constexpr int kMainFoldingVersion = 3;
constexpr int kTagLayoutVersion = 2;
constexpr int kTagFoldingVersion = 2;

// Waits for another writer by trying again every millisecond: SQLite's own
// timeout sleeps ever longer between tries, so that a writer that releases
// and takes the lock again in quick batches would starve the waiting one.
int RetryEveryMillisecond(void* budget, int tries)
{
    if (tries >= *static_cast<const int*>(budget))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

int CompareKeyText(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return text::CompareNoCase(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                               std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

// A statement that finalizes itself.
class Query {
public:
    Query(sqlite3* db, const std::string& sql) { rc_ = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
    ~Query() { sqlite3_finalize(stmt_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    int prepared() const { return rc_; }
    int step() { return rc_ = sqlite3_step(stmt_); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string text(int column) const
    {
        const auto* p = sqlite3_column_text(stmt_, column);
        return p ? std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                 : std::string();
    }
    void bind(int param, const std::string& value) { sqlite3_bind_text(stmt_, param, value.c_str(), -1, SQLITE_TRANSIENT); }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
};

struct StoredObject {
    std::string type;
    std::string tableName;
    std::string sql;
};

// Every table and index in the file, by name.
int ReadCatalog(sqlite3* db, std::map<std::string, StoredObject>& out)
{
    Query q(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema WHERE name NOT LIKE 'sqlite_%'");
    if (q.prepared() != SQLITE_OK)
        return q.prepared();
    while (q.step() == SQLITE_ROW)
        out[q.text(1)] = {q.text(0), q.text(2), q.text(3)};
    return q.prepared() == SQLITE_DONE ? SQLITE_OK : q.prepared();
}

int ReadPragmaInt(sqlite3* db, const char* pragma, std::int64_t& value)
{
    Query q(db, std::string("PRAGMA ") + pragma);
    if (q.prepared() != SQLITE_OK)
        return q.prepared();
    const int rc = q.step();
    if (rc != SQLITE_ROW)
        return rc;
    value = q.integer(0);
    return SQLITE_OK;
}

struct ColumnInfo {
    std::string name;
    std::string type;
};

std::vector<ColumnInfo> ReadColumns(sqlite3* db, const std::string& table)
{
    std::vector<ColumnInfo> columns;
    Query q(db, "SELECT name, type FROM pragma_table_info(?)");
    q.bind(1, table);
    while (q.step() == SQLITE_ROW)
        columns.push_back({q.text(0), q.text(1)});
    return columns;
}

std::vector<ColumnInfo> ExpectedColumns(const TableSchema& schema)
{
    std::vector<ColumnInfo> columns = {{"rowid", "INTEGER"}, {"_rowver", "INTEGER"}, {"_claim", "INTEGER"}};
    for (const ColumnDef& c : schema.columns())
        columns.push_back({c.name, c.kind == ColumnKind::Integer ? "INTEGER" : "TEXT"});
    return columns;
}

std::string ColumnDefinitionSql(const ColumnDef& c)
{
    std::string sql = "\"" + c.name + "\" ";
    if (c.kind == ColumnKind::Integer)
        return sql + "INTEGER NOT NULL DEFAULT 0";
    if (c.kind == ColumnKind::Text)
        return sql + "TEXT NOT NULL DEFAULT '' COLLATE " + kKeyCollation;
    return sql + "TEXT NOT NULL DEFAULT ''";
}

// The file system's own words for a failure: its text and its number.
std::string SystemErrorText(const std::error_code& ec)
{
    return ec.message() + " (" + std::to_string(ec.value()) + ")";
}

// Reads the file's first bytes through SQLite's own file layer, never a
// descriptor of ours: closing any descriptor of a file cancels every lock
// the process holds on it, and the layer keeps its descriptor open while
// another connection of this process still holds a lock.
int ReadHeader(const std::string& path, std::array<unsigned char, 100>& header, std::string& failure)
{
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    auto* file = static_cast<sqlite3_file*>(sqlite3_malloc(vfs->szOsFile));
    if (file == nullptr) {
        failure = "out of memory";
        return kFileSystem;
    }
    std::memset(static_cast<void*>(file), 0, static_cast<std::size_t>(vfs->szOsFile));
    int flags = 0;
    errno = 0;
    int rc = vfs->xOpen(vfs, path.c_str(), file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &flags);
    const int openError = errno;
    int err = kOk;
    if (rc != SQLITE_OK) {
        failure = SystemErrorText(std::error_code(openError != 0 ? openError : EIO, std::generic_category()));
        err = kFileSystem;
    } else {
        rc = file->pMethods->xRead(file, header.data(), static_cast<int>(header.size()), 0);
        if (rc != SQLITE_OK)
            err = kBadData;  // shorter than a header, or unreadable
    }
    if (file->pMethods != nullptr)
        file->pMethods->xClose(file);
    sqlite3_free(file);
    return err;
}

// Reads the file's header before SQLite does: a file that is not an SQLite
// database, or one shorter than its header says, is damaged. A file system
// failure leaves its words in `failure`.
int CheckHeader(const std::string& path, std::string& failure)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) {
        failure = SystemErrorText(ec);
        return kFileSystem;
    }
    if (size == 0)
        return kOk;  // SQLite takes an empty file as an empty database
    std::array<unsigned char, 100> header{};
    if (int err = ReadHeader(path, header, failure); err != kOk)
        return err;
    static constexpr char kMagic[] = "SQLite format 3";
    if (!std::equal(std::begin(kMagic), std::end(kMagic), header.begin()))
        return kBadData;
    const auto be32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(header[at]) << 24 | static_cast<std::uint32_t>(header[at + 1]) << 16 |
               static_cast<std::uint32_t>(header[at + 2]) << 8 | header[at + 3];
    };
    std::uint32_t pageSize = static_cast<std::uint32_t>(header[16]) << 8 | header[17];
    if (pageSize == 1)
        pageSize = 65536;
    const std::uint32_t pages = be32(28);
    const bool headerCountValid = be32(92) == be32(24) && pages != 0;
    const auto walSize = fs::file_size(path + "-wal", ec);
    const bool walHoldsPages = !ec && walSize > 0;
    if (headerCountValid && !walHoldsPages && size < static_cast<std::uint64_t>(pages) * pageSize)
        return kBadData;
    return kOk;
}

void RemoveFileSet(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + "-wal", ec);
    fs::remove(path + "-shm", ec);
}

// The words for a failed call: the operating system's own text and number when
// the file system refused (a full disk is its "no space" failure), SQLite's
// otherwise.
std::string FailureText(sqlite3* db, int sqliteCode)
{
    const int primary = sqliteCode & 0xFF;
    int systemError = 0;
    if (primary == SQLITE_FULL)
        systemError = ENOSPC;
    else if (db != nullptr && (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN))
        systemError = sqlite3_system_errno(db);
    if (systemError != 0)
        return SystemErrorText(std::error_code(systemError, std::generic_category()));
    return std::string(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(sqliteCode)) + " (" +
           std::to_string(sqliteCode) + ")";
}

}  // namespace

const DatabaseLayout& MainLayout()
{
    static const DatabaseLayout layout{
        {&ScheduleRecord::schema(), &ScriptingRecord::schema(), &CategoryRecord::schema(), &TodoRecord::schema(),
         &ContactRecord::schema(), &ContactCategoryRecord::schema(), &LinkRecord::schema(),
         &ClipboardRecord::schema()},
        kMainApplicationId,
        kMainLayoutVersion,
        [] {
            std::vector<std::pair<std::string, std::string>> internal = {
                {"_Station",
                 "CREATE TABLE \"_Station\" (id INTEGER PRIMARY KEY AUTOINCREMENT, host TEXT NOT NULL, boot TEXT NOT NULL,"
                 " pid INTEGER NOT NULL, started INTEGER NOT NULL, heartbeat INTEGER NOT NULL)"},
                {"_Occurrence",
                 "CREATE TABLE \"_Occurrence\" (station INTEGER NOT NULL, serial INTEGER NOT NULL, task INTEGER NOT NULL,"
                 " recorded INTEGER NOT NULL, PRIMARY KEY (station, serial)) WITHOUT ROWID;"
                 "CREATE INDEX \"_Occurrence_recorded\" ON \"_Occurrence\" (recorded)"},
                {kTasksByDateIndex,
                 std::string("CREATE INDEX \"") + kTasksByDateIndex +
                     "\" ON \"S\" (\"Date\", \"Time\", rowid)"
                     " WHERE NOT (\"Disabled\" = 1 AND \"Completed\" = 1)"}};
            for (auto& object : RecordUidObjects())
                internal.push_back(std::move(object));
            // The start-up sweep finds the placeholders of programs that died
            // through keys of their own, which hold nothing while none is
            // left, instead of reading every record of the tables.
            for (const TableSchema* table : {&ScheduleRecord::schema(), &ContactRecord::schema(),
                                             &ScriptingRecord::schema()}) {
                const std::string name = "_" + table->sqlName() + "_Placeholders";
                internal.emplace_back(name, "CREATE INDEX \"" + name + "\" ON \"" + table->sqlName() +
                                                "\" (_claim) WHERE _claim < 0");
            }
            return internal;
        }(),
        kMainFoldingVersion};
    return layout;
}

const DatabaseLayout& TagLayout()
{
    static const DatabaseLayout layout{{&TagRecord::schema()}, kTagApplicationId, kTagLayoutVersion, {},
                                       kTagFoldingVersion};
    return layout;
}

namespace {

// Before SQLite's first use in the process. Its memory statistics put one
// process-wide lock around every allocation: an import's connection, freeing
// or filling its page cache on a thread of its own, then held the frame's
// every statement for seconds. Nothing here reads the statistics.
void ConfigureEngine()
{
    static const int configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)configured;  // SQLITE_MISUSE when something initialised SQLite first: it then keeps them
}

}  // namespace

Database::Database(std::string path, const DatabaseLayout& layout) : path_(std::move(path)), layout_(layout)
{
    ConfigureEngine();
}

Database::~Database()
{
    close();
}

int Database::mapError(int sqliteCode)
{
    if (db_ != nullptr && sqliteCode != SQLITE_OK && sqliteCode != SQLITE_ROW && sqliteCode != SQLITE_DONE)
        lastFileError_ = FailureText(db_, sqliteCode);
    switch (sqliteCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return kOk;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return kIsLocked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return kBadData;
    case SQLITE_CONSTRAINT:
        return kDuplicateKey;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return kAccessDenied;
    case SQLITE_TOOBIG:
        return kBadKeyLength;
    default:
        return kFileSystem;
    }
}

bool Database::UseFileCalls(const platform::FileLockCalls& calls)
{
    ConfigureEngine();
    sqlite3_vfs* vfs = sqlite3_vfs_find("unix");
    if (vfs == nullptr || vfs->iVersion < 3 || vfs->xSetSystemCall == nullptr)
        return false;
    // A call left empty is SQLite's own again.
    const auto set = [vfs](const char* name, sqlite3_syscall_ptr call) {
        return vfs->xSetSystemCall(vfs, name, call) == SQLITE_OK;
    };
    return set("open", reinterpret_cast<sqlite3_syscall_ptr>(calls.open)) &&
           set("close", reinterpret_cast<sqlite3_syscall_ptr>(calls.close)) &&
           set("fcntl", reinterpret_cast<sqlite3_syscall_ptr>(calls.fcntl));
}

int Database::openConnection(int flags)
{
    closeConnection();
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        lastFileError_ = FailureText(db_, rc);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return rc == SQLITE_CANTOPEN ? kFileSystem : mapError(rc);
    }
    sqlite3_extended_result_codes(db_, 1);
    // Our own windows' writes must reach the open lists too, and the version
    // the file keeps counts only other connections' commits.
    sqlite3_update_hook(db_, &Database::countChange, this);
    sqlite3_create_collation_v2(db_, kKeyCollation, SQLITE_UTF8, nullptr, CompareKeyText, nullptr);
    setBusyWait(lockWait_);
    if (checkpoint_ && (flags & SQLITE_OPEN_READWRITE) != 0)
        checkpoint_->attach(db_);
    for (const auto& [path, schema] : attached_)
        attachNow(path, schema);  // a failure shows as the statements over it fail
    return kOk;
}

void Database::closeConnection()
{
    if (db_ == nullptr)
        return;
    // The checkpoint's connection goes first, so that this one, the last,
    // folds the log into the file.
    if (checkpoint_)
        checkpoint_->stop();
    // Statements still held by record buffers are finalized by them; close_v2
    // completes the close once they are.
    sqlite3_close_v2(db_);
    db_ = nullptr;
    inTransaction_ = false;
    ++generation_;
}

int Database::attach(const std::string& path, const std::string& schema)
{
    std::lock_guard lock(mutex_);
    std::error_code ec;
    if (!fs::exists(path, ec))
        return kNoFile;
    for (const auto& entry : attached_)
        if (entry.second == schema)
            return kOk;
    attached_.emplace_back(path, schema);
    if (db_ == nullptr)
        return kOk;
    return attachNow(path, schema);
}

int Database::attachNow(const std::string& path, const std::string& schema)
{
    char* sql = sqlite3_mprintf("ATTACH DATABASE %Q AS %Q", path.c_str(), schema.c_str());
    const int err = exec(sql);
    sqlite3_free(sql);
    return err;
}

std::int64_t Database::dataVersion()
{
    std::lock_guard lock(mutex_);
    if (db_ == nullptr)
        return -1;
    Query q(db_, "PRAGMA data_version");
    if (q.prepared() != SQLITE_OK || q.step() != SQLITE_ROW)
        return -1;
    return q.integer(0) + ownChanges_.load(std::memory_order_relaxed);
}

void Database::countChange(void* self, int, const char*, const char* table, long long)
{
    if (table != nullptr && table[0] != '_')
        static_cast<Database*>(self)->ownChanges_.fetch_add(1, std::memory_order_relaxed);
}

void Database::checkpointInBackground()
{
    std::lock_guard lock(mutex_);
    if (!checkpoint_)
        checkpoint_ = std::make_unique<BackgroundCheckpoint>(path_);
    if (db_ != nullptr && mode_ == AccessMode::ReadWrite)
        checkpoint_->attach(db_);
}

int Database::exec(const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    return mapError(rc);
}

int Database::verify()
{
    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    int rc = ReadPragmaInt(db_, "application_id", applicationId);
    if (rc == SQLITE_OK)
        rc = ReadPragmaInt(db_, "user_version", version);
    if (rc != SQLITE_OK)
        return mapError(rc);
    if (applicationId != layout_.applicationId || version != layout_.version)
        return kBadLayout;
    std::map<std::string, StoredObject> catalog;
    if ((rc = ReadCatalog(db_, catalog)) != SQLITE_OK)
        return mapError(rc);
    for (const auto& [name, sql] : layout_.internalTables)
        if (catalog.count(name) == 0)
            return kBadLayout;
    bool keysWhole = true;
    for (const TableSchema* table : layout_.tables) {
        const auto found = catalog.find(table->sqlName());
        if (found == catalog.end() || found->second.type != "table")
            return kBadLayout;
        const auto actual = ReadColumns(db_, table->sqlName());
        const auto expected = ExpectedColumns(*table);
        if (actual.size() != expected.size())
            return kBadLayout;
        for (std::size_t i = 0; i < actual.size(); ++i)
            if (actual[i].name != expected[i].name || actual[i].type != expected[i].type)
                return kBadLayout;
        for (const KeyDef& key : table->keys()) {
            const auto index = catalog.find(table->indexName(key));
            if (index == catalog.end() || index->second.sql != table->createIndexSql(key))
                keysWhole = false;
        }
    }
    return keysWhole ? kOk : kBadKey;
}

int Database::probe()
{
    // Reads the root of every table and key, so a damaged or cut-off file shows
    // itself now rather than halfway through the user's work.
    for (const TableSchema* table : layout_.tables) {
        for (const KeyDef& key : table->keys()) {
            Query q(db_, "SELECT rowid FROM \"" + table->sqlName() + "\" INDEXED BY \"" + table->indexName(key) +
                             "\" WHERE " + table->keyFilterSql(key) + " LIMIT 1");
            int rc = q.prepared();
            if (rc == SQLITE_OK)
                rc = q.step();
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                return mapError(rc);
        }
        Query last(db_, "SELECT rowid FROM \"" + table->sqlName() + "\" ORDER BY rowid DESC LIMIT 1");
        const int rc = last.prepared() == SQLITE_OK ? last.step() : last.prepared();
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return mapError(rc);
    }
    return kOk;
}

int Database::checkPages()
{
    Query check(db_, "PRAGMA quick_check(1)");
    int rc = check.prepared();
    if (rc == SQLITE_OK)
        rc = check.step();
    if (rc != SQLITE_ROW)
        return mapError(rc);
    if (check.text(0) == "ok")
        return kOk;
    lastFileError_ = check.text(0);
    return kBadData;
}

int Database::open(AccessMode mode)
{
    std::lock_guard lock(mutex_);
    if (db_ != nullptr)
        return kOk;
    std::error_code ec;
    if (!fs::exists(path_, ec))
        return kNoFile;
    // Permission bits rather than access(): root may write anything, but a file
    // marked read-only is still not ours to change.
    const auto perms = fs::status(path_, ec).permissions();
    const bool writable = !ec && (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
                                     fs::perms::none;
    if (mode == AccessMode::ReadWrite && !writable) {
        lastFileError_ = "the file is read-only";
        return kAccessDenied;
    }
    if (int err = CheckHeader(path_, lastFileError_); err != kOk)
        return err;
    mode_ = mode;
    const int flags = (mode == AccessMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_FULLMUTEX;
    if (int err = openConnection(flags); err != kOk)
        return err;
    int err = verify();
    // A cache that holds the keys' upper levels of a large schedule: batch
    // deletes touch every key of the table.
    if (err == kOk)
        err = exec("PRAGMA cache_size=-32768");
    // Read before anything is written: switching a file to WAL rewrites its header.
    if (err == kOk)
        err = probe();
    if (err == kOk && mode == AccessMode::ReadWrite) {
        Query wal(db_, "PRAGMA journal_mode=WAL");
        const int rc = wal.prepared() == SQLITE_OK ? wal.step() : wal.prepared();
        err = rc == SQLITE_ROW ? kOk : mapError(rc);
        if (err == kOk)
            err = exec("PRAGMA synchronous=NORMAL");
    }
    if (err != kOk) {
        closeConnection();
        return err;
    }
    setBusyWait(kOperationWait);
    return kOk;
}

int Database::create()
{
    std::lock_guard lock(mutex_);
    std::error_code ec;
    if (fs::exists(path_, ec))
        return open();
    if (int err = openConnection(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX); err != kOk)
        return err;
    // The same durability as every later write: the file stays whole, and the
    // tables' creation costs no sync of its own before the first window.
    int err = exec("PRAGMA synchronous=NORMAL");
    if (err == kOk)
        err = exec("PRAGMA journal_mode=WAL");
    if (err == kOk)
        err = exec("BEGIN IMMEDIATE");
    if (err == kOk) {
        err = exec("PRAGMA application_id=" + std::to_string(layout_.applicationId));
        for (const TableSchema* table : layout_.tables) {
            if (err == kOk)
                err = exec(table->createTableSql());
            for (const KeyDef& key : table->keys())
                if (err == kOk)
                    err = exec(table->createIndexSql(key));
        }
        for (const auto& [name, sql] : layout_.internalTables)
            if (err == kOk)
                err = exec(sql);
        if (err == kOk)
            err = exec("PRAGMA user_version=" + std::to_string(layout_.version));
        err = err == kOk ? exec("COMMIT") : (exec("ROLLBACK"), err);
    }
    closeConnection();
    if (err != kOk) {
        RemoveFileSet(path_);  // only what this call made
        return err;
    }
    return open();
}

int Database::fixKeys(bool dropMismatched)
{
    std::map<std::string, StoredObject> catalog;
    if (int rc = ReadCatalog(db_, catalog); rc != SQLITE_OK)
        return mapError(rc);
    for (const TableSchema* table : layout_.tables) {
        for (const KeyDef& key : table->keys()) {
            const std::string name = table->indexName(key);
            const auto found = catalog.find(name);
            const std::string wanted = table->createIndexSql(key);
            if (found != catalog.end() && found->second.sql == wanted)
                continue;
            if (found != catalog.end()) {
                if (!dropMismatched)
                    return kBadKey;
                if (int err = exec("DROP INDEX \"" + name + "\""); err != kOk)
                    return err;
            }
            if (int err = exec(wanted); err != kOk)
                return err;
        }
    }
    return kOk;
}

int Database::convert()
{
    std::lock_guard lock(mutex_);
    std::error_code ec;
    if (!fs::exists(path_, ec))
        return kNoFile;
    if (int err = CheckHeader(path_, lastFileError_); err != kOk)
        return err;
    if (int err = openConnection(SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX); err != kOk)
        return err;
    int err = exec("BEGIN IMMEDIATE");
    if (err != kOk) {
        closeConnection();
        return err;
    }
    const auto fail = [&](int code) {
        exec("ROLLBACK");
        closeConnection();
        return code;
    };
    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    int rc = ReadPragmaInt(db_, "application_id", applicationId);
    if (rc == SQLITE_OK)
        rc = ReadPragmaInt(db_, "user_version", version);
    std::map<std::string, StoredObject> catalog;
    if (rc == SQLITE_OK)
        rc = ReadCatalog(db_, catalog);
    if (rc != SQLITE_OK)
        return fail(mapError(rc));
    const bool ours = applicationId == layout_.applicationId || (applicationId == 0 && version == 0);
    if (!ours || version > layout_.version)
        return fail(kBadLayout);
    // Every page is read before anything is written: a damaged file is left
    // byte for byte as it was, for whoever tries to rescue it.
    if (int damage = checkPages(); damage != kOk)
        return fail(damage);
    std::set<std::string> known;
    for (const TableSchema* table : layout_.tables)
        known.insert(table->sqlName());
    for (const auto& [name, sql] : layout_.internalTables)
        known.insert(name);
    for (const auto& [name, object] : catalog)
        if (object.type == "table" && known.count(name) == 0)
            return fail(kBadLayout);  // someone else's data: not ours to convert

    for (const TableSchema* table : layout_.tables) {
        if (catalog.count(table->sqlName()) == 0) {
            if ((err = exec(table->createTableSql())) != kOk)
                return fail(err);
            continue;
        }
        // Layouts only ever grow at the end: older fields must stand where they stood.
        const auto actual = ReadColumns(db_, table->sqlName());
        const auto expected = ExpectedColumns(*table);
        if (actual.size() > expected.size() || actual.size() < 3)
            return fail(kBadLayout);
        for (std::size_t i = 0; i < actual.size(); ++i)
            if (actual[i].name != expected[i].name || actual[i].type != expected[i].type)
                return fail(kBadLayout);
        for (std::size_t i = actual.size(); i < expected.size(); ++i) {
            err = exec("ALTER TABLE \"" + table->sqlName() + "\" ADD COLUMN " +
                       ColumnDefinitionSql(table->columns()[i - 3]));
            if (err != kOk)
                return fail(err);
        }
    }
    for (const auto& [name, sql] : layout_.internalTables)
        if (catalog.count(name) == 0 && (err = exec(sql)) != kOk)
            return fail(err);
    if ((err = fixKeys(true)) != kOk)
        return fail(err == kDuplicateKey ? kBadLayout : err);
    // Letters that older files kept apart may now be one key value: every
    // text key is sorted again. Two records that now collide in a unique key
    // leave the file as it was rather than lose one of them.
    if (version < layout_.foldingVersion &&
        (err = exec(std::string("REINDEX ") + kKeyCollation)) != kOk)
        return fail(err == kDuplicateKey ? kBadLayout : err);
    err = exec("PRAGMA application_id=" + std::to_string(layout_.applicationId));
    if (err == kOk)
        err = exec("PRAGMA user_version=" + std::to_string(layout_.version));
    if (err != kOk)
        return fail(err);
    err = exec("COMMIT");
    closeConnection();
    return err;
}

int Database::rebuildKeys()
{
    std::lock_guard lock(mutex_);
    const bool wasOpen = db_ != nullptr;
    if (!wasOpen) {
        if (int err = CheckHeader(path_, lastFileError_); err != kOk)
            return err;
        if (int err = openConnection(SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX); err != kOk)
            return err;
    }
    int err = exec("BEGIN IMMEDIATE");
    if (err == kOk) {
        err = fixKeys(true);
        if (err == kOk)
            err = exec("REINDEX");
        err = err == kOk ? exec("COMMIT") : (exec("ROLLBACK"), err);
    }
    if (!wasOpen)
        closeConnection();
    return err;
}

void Database::close()
{
    std::lock_guard lock(mutex_);
    if (inTransaction_)
        exec("ROLLBACK");
    closeConnection();
    uses_.clear();
}

void Database::addUse(const TableSchema& table)
{
    std::lock_guard lock(mutex_);
    ++uses_[&table];
}

void Database::releaseUse(const TableSchema& table)
{
    std::lock_guard lock(mutex_);
    auto found = uses_.find(&table);
    if (found == uses_.end())
        return;
    if (--found->second <= 0)
        uses_.erase(found);
    if (uses_.empty())
        close();
}

int Database::uses(const TableSchema& table) const
{
    std::lock_guard lock(mutex_);
    const auto found = uses_.find(&table);
    return found == uses_.end() ? 0 : found->second;
}

void Database::setBusyWait(std::chrono::milliseconds wait)
{
    std::lock_guard lock(mutex_);
    busyBudget_ = static_cast<int>(wait.count());
    if (db_ != nullptr)
        sqlite3_busy_handler(db_, RetryEveryMillisecond, &busyBudget_);
}

int Database::begin(std::chrono::milliseconds wait)
{
    std::lock_guard lock(mutex_);
    if (db_ == nullptr)
        return kFileNotOpen;
    if (inTransaction_)
        return kTransactionActive;
    setBusyWait(wait);
    const int err = exec("BEGIN IMMEDIATE");
    setBusyWait(kOperationWait);
    inTransaction_ = err == kOk;
    return err;
}

int Database::commit()
{
    std::lock_guard lock(mutex_);
    if (!inTransaction_)
        return kOk;
    const int err = exec("COMMIT");
    if (err == kOk)
        inTransaction_ = false;
    return err;
}

int Database::rollback()
{
    std::lock_guard lock(mutex_);
    if (!inTransaction_)
        return kOk;
    inTransaction_ = false;
    // A failure such as a full disk may have ended the transaction already; a
    // ROLLBACK then would only put its own words over that failure's.
    if (db_ == nullptr || sqlite3_get_autocommit(db_) != 0)
        return kOk;
    return exec("ROLLBACK");
}

int Database::savepoint()
{
    std::lock_guard lock(mutex_);
    if (!inTransaction_)
        return kTransactionActive;
    return exec("SAVEPOINT hrln_frame");
}

int Database::releaseSavepoint()
{
    std::lock_guard lock(mutex_);
    return exec("RELEASE hrln_frame");
}

int Database::rollbackToSavepoint()
{
    std::lock_guard lock(mutex_);
    const int err = exec("ROLLBACK TO hrln_frame");
    const int released = exec("RELEASE hrln_frame");
    return err != kOk ? err : released;
}

}  // namespace hrln::data
