#include "data/backup.h"

#include "data/database.h"
#include "data/errors.h"

#include <sqlite3.h>

#include <filesystem>

namespace hrln::data {
namespace {

struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

}  // namespace

int BackupDatabase(Database& db, const std::string& target, std::string& why)
{
    if (!db.isOpen()) {
        why = "the database is not open";
        return kFileNotOpen;
    }
    const std::string part = target + ".part";
    std::error_code ec;
    std::filesystem::remove(part, ec);
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(part.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<sqlite3, Closer> copy(raw);
    if (opened != SQLITE_OK) {
        why = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(opened);
        return kFileSystem;
    }
    int rc = SQLITE_OK;
    {
        std::lock_guard lock(db.mutex());
        sqlite3_backup* backup = sqlite3_backup_init(copy.get(), "main", db.handle(), "main");
        if (!backup) {
            why = sqlite3_errmsg(copy.get());
            copy.reset();
            std::filesystem::remove(part, ec);
            return kFileSystem;
        }
        // All pages in one step: one read transaction, one commit's state,
        // and no restart when another connection writes meanwhile.
        do {
            rc = sqlite3_backup_step(backup, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while (rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
        sqlite3_backup_finish(backup);
    }
    if (rc == SQLITE_DONE)
        rc = sqlite3_errcode(copy.get());
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        why = sqlite3_errmsg(copy.get());
        copy.reset();
        std::filesystem::remove(part, ec);
        return kFileSystem;
    }
    // The copy is a file of its own: its log goes into it before it is named.
    sqlite3_exec(copy.get(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    if (sqlite3_close(copy.release()) != SQLITE_OK) {
        why = "the copy could not be closed";
        std::filesystem::remove(part, ec);
        return kFileSystem;
    }
    std::filesystem::rename(part, target, ec);
    if (ec) {
        why = ec.message();
        std::filesystem::remove(part, ec);
        return kFileSystem;
    }
    return kOk;
}

}  // namespace hrln::data
