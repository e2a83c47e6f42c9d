#pragma once

#include "common/batch_job.h"
#include "data/database.h"
#include "data/records.h"
#include "data/worker_job.h"
#include "pim/record_warnings.h"

namespace hrln::script {

namespace detail {
class CopyScriptWork;
class DeleteScriptWork;
}  // namespace detail

// The script jobs read and check their items a batch at a time and write them
// in one transaction when they end, also by Cancel: a program that dies during
// a job leaves every script as it was. The reading and the final write run on
// a thread and connection of their own (see data::WorkerJob); the messages go
// to the prompter of the warnings given, from the caller's thread at the end.

// CopyScript: the items of task `fromId` added again under task `toId`,
// every other field (the sequence numbers too) as it was.
class CopyScriptJob : public data::WorkerJob {
public:
    static constexpr int kBatch = 25;

    CopyScriptJob(data::Database& db, data::Long fromId, data::Long toId, pim::RecordWarnings& warnings);
    ~CopyScriptJob() override;

    // Items added under `toId` (once the job has ended).
    int copied() const;

private:
    detail::CopyScriptWork* work_ = nullptr;  // owned by WorkerJob
};

// DeleteScript: every item of task `id` deleted; the others stay.
class DeleteScriptJob : public data::WorkerJob {
public:
    static constexpr int kBatch = 25;

    DeleteScriptJob(data::Database& db, data::Long id, pim::RecordWarnings& warnings);
    ~DeleteScriptJob() override;

    // Items deleted (once the job has ended).
    int deleted() const;

private:
    detail::DeleteScriptWork* work_ = nullptr;  // owned by WorkerJob
};

}  // namespace hrln::script
