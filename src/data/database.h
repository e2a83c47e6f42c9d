#pragma once

#include "data/checkpoint.h"
#include "data/errors.h"
#include "data/schema.h"
#include "platform/file_locks.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace hrln::data {

// What a database file holds: its tables, and the marks that tell our files
// (and their layout version) from any other SQLite file.
struct DatabaseLayout {
    std::vector<const TableSchema*> tables;
    std::int32_t applicationId = 0;
    int version = 0;
    // Tables of the program's own bookkeeping, beside the record tables: name and
    // the statements that make them.
    std::vector<std::pair<std::string, std::string>> internalTables;
    // The first version whose text keys are in the order of today's case
    // folding: conversion of an older file sorts them again.
    int foldingVersion = 0;
};

// HRLN.TPS: the eight tables of the schedule and personal information.
const DatabaseLayout& MainLayout();
// TagFile_.TPS: the marks of record tagging.
const DatabaseLayout& TagLayout();

inline constexpr const char* kMainDatabaseFile = "HRLN.TPS";
inline constexpr const char* kTagFile = "TagFile_.TPS";
// The tasks of the schedule without its history entries, in the order of its
// date key: a list of the tasks reads only them, however long the history is.
// Narrow on purpose: the columns a list shows would make every write of a task
// copy more of the index into the log.
inline constexpr const char* kTasksByDateIndex = "_S_TasksByDate";

enum class AccessMode { ReadWrite, ReadOnly };

// One database file on SQLite (WAL mode), shared by every record buffer over
// its tables. A file that is not ours, is damaged or has another layout is
// reported, never rewritten; only convert() and rebuildKeys() change a layout,
// each in one transaction.
class Database {
public:
    Database(std::string path, const DatabaseLayout& layout);
    ~Database();

    // Gives SQLite the calls it opens, closes and locks every database file
    // of this process with; an empty call is SQLite's own. Called once at
    // start, before any file is opened.
    static bool UseFileCalls(const platform::FileLockCalls& calls);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file after checking that it is ours, whole and current:
    // kNoFile, kAccessDenied, kIsLocked, kBadData, kBadLayout, kBadKey or kFileSystem.
    int open(AccessMode mode = AccessMode::ReadWrite);
    // Makes a missing file with every table and key; an existing file is opened instead.
    int create();
    // Brings a file of an older layout up to date, keeping every record: adds missing
    // tables, fields and keys, and sorts text keys again when their case folding
    // changed. Fails, changing nothing, on a file that is not ours or
    // is newer than this program.
    int convert();
    // Recreates keys that are missing or differ from their definition.
    int rebuildKeys();
    void close();
    bool isOpen() const { return db_ != nullptr; }

    const std::string& path() const { return path_; }
    const DatabaseLayout& layout() const { return layout_; }
    // The words for the last failure; for kFileSystem the operating system's own
    // text and number, as in "Is a directory (21)".
    const std::string& lastFileError() const { return lastFileError_; }

    // How long an open waits for a lock held elsewhere; the recovery option of a
    // retried open raises it.
    void setLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }
    std::chrono::milliseconds lockWait() const { return lockWait_; }
    void setRecoveryWait(std::chrono::milliseconds wait) { recoveryWait_ = wait; }
    std::chrono::milliseconds recoveryWait() const { return recoveryWait_; }

    // Use counts: the file closes when the last user of its last table leaves.
    void addUse(const TableSchema& table);
    void releaseUse(const TableSchema& table);
    int uses(const TableSchema& table) const;

    // All-or-nothing over every table of the file. begin() waits up to `wait`
    // for other writers and fails with kIsLocked after that.
    int begin(std::chrono::milliseconds wait = std::chrono::seconds(2));
    int commit();
    int rollback();
    bool inTransaction() const { return inTransaction_; }
    // A frame inside the open transaction that can be undone alone, so an
    // operation that joins a caller's transaction still leaves nothing half done.
    int savepoint();
    int releaseSavepoint();
    int rollbackToSavepoint();
    // How long each following operation waits for another writer.
    void setBusyWait(std::chrono::milliseconds wait);
    // The wait of ordinary operations.
    static constexpr std::chrono::milliseconds kOperationWait{2000};

    // Makes the file at `path` readable through this connection as `schema`
    // (statements name its tables "schema.table"), now and after every
    // reopening. The file must exist: attaching makes an empty one otherwise.
    int attach(const std::string& path, const std::string& schema);

    // A number that changes whenever another connection (another program, a
    // worker) commits to the file, or this one changes a record; the
    // bookkeeping of stations and occurrences does not count. -1 when the
    // file is not open.
    std::int64_t dataVersion();

    // Leaves this connection's checkpoints to a thread of their own, now and
    // after every reopening: for the connection of the frame, whose commits
    // must not stop for one.
    void checkpointInBackground();
    // The whole copies that thread made so far, and whether it has nothing left to copy.
    int backgroundCheckpoints() const { return checkpoint_ ? checkpoint_->copies() : 0; }
    bool checkpointsCaughtUp() const { return !checkpoint_ || checkpoint_->caughtUp(); }

    // The number of the station (running program) this connection works for,
    // which owns the placeholders its forms add; 0 until it has one.
    void setStation(std::int64_t station) { station_ = station; }
    std::int64_t station() const { return station_; }

    // For the record buffers.
    sqlite3* handle() const { return db_; }
    std::uint64_t generation() const { return generation_; }
    std::recursive_mutex& mutex() const { return mutex_; }
    // Our error code for an SQLite result; remembers the message.
    int mapError(int sqliteCode);

private:
    int openConnection(int flags);
    int verify();
    int probe();
    // Reads every page of the file: kBadData when one is damaged.
    int checkPages();
    int exec(const std::string& sql);
    int fixKeys(bool dropMismatched);
    void closeConnection();
    static void countChange(void* self, int op, const char* schema, const char* table, long long rowid);

    std::string path_;
    const DatabaseLayout& layout_;
    sqlite3* db_ = nullptr;
    AccessMode mode_ = AccessMode::ReadWrite;
    std::chrono::milliseconds lockWait_{1000};
    std::chrono::milliseconds recoveryWait_{10000};
    std::map<const TableSchema*, int> uses_;
    bool inTransaction_ = false;
    std::uint64_t generation_ = 0;
    std::string lastFileError_;
    int busyBudget_ = 0;  // milliseconds, read by the busy handler
    std::int64_t station_ = 0;
    mutable std::recursive_mutex mutex_;
    std::unique_ptr<BackgroundCheckpoint> checkpoint_;
    std::atomic<std::int64_t> ownChanges_{0};  // records this connection changed
    std::vector<std::pair<std::string, std::string>> attached_;  // path, schema
    int attachNow(const std::string& path, const std::string& schema);
};

}  // namespace hrln::data
