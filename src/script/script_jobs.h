#pragma once

#include "common/batch_job.h"
#include "data/database.h"
#include "data/key_view.h"
#include "data/records.h"
#include "data/staged_records.h"
#include "data/table.h"
#include "pim/record_warnings.h"

#include <vector>

namespace hrln::script {

// The script jobs read and check their items a batch at a time and write them
// in one transaction when they end, also by Cancel: a program that dies during
// a job leaves every script as it was.

// CopyScript: the items of task `fromId` added again under task `toId`,
// every other field (the sequence numbers too) as it was.
class CopyScriptJob : public BatchJob {
public:
    static constexpr int kBatch = 25;

    CopyScriptJob(data::Database& db, data::Long fromId, data::Long toId, pim::RecordWarnings& warnings);

    std::string description() const override { return "Copying Script"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override;
    // Items added under `toId` (once the job has ended).
    int copied() const { return copied_; }

private:
    data::Database& db_;
    data::Long from_;
    data::Long to_;
    pim::RecordWarnings& warnings_;
    data::Table<data::ScriptingRecord> source_;
    data::Table<data::ScriptingRecord> target_;
    data::StagedRecords<data::ScriptingRecord> kept_;
    std::int64_t total_ = 0;
    std::int64_t done_ = 0;
    int copied_ = 0;
};

// DeleteScript: every item of task `id` deleted; the others stay.
class DeleteScriptJob : public BatchJob {
public:
    static constexpr int kBatch = 25;

    DeleteScriptJob(data::Database& db, data::Long id, pim::RecordWarnings& warnings);

    std::string description() const override { return "Deleting Script"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override;
    // Items deleted (once the job has ended).
    int deleted() const { return deleted_; }

private:
    data::Database& db_;
    data::Long id_;
    pim::RecordWarnings& warnings_;
    data::Table<data::ScriptingRecord> items_;
    std::vector<std::int64_t> found_;  // row ids of the items read
    std::int64_t total_ = 0;
    std::int64_t done_ = 0;
    int deleted_ = 0;
};

}  // namespace hrln::script
