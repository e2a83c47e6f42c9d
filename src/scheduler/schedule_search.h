#pragma once

#include "common/batch_job.h"
#include "data/record_tags.h"
#include "data/record_stream.h"
#include "data/records.h"
#include "data/table.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::scheduler {

// What the user filled in on the search window; what is left empty asks
// nothing. Texts typed freely (category, description, command, start
// directory, message) match anywhere in the field whatever the case; the
// choices from a list (task type, schedule type, the unit of a repetition)
// match whole, whatever the case; numbers, dates, times and the ticked boxes
// match exactly.
struct ScheduleCriteria {
    std::string taskType;
    std::string category;
    std::string description;
    std::string command;
    std::string path;
    std::string message;
    std::string scheduleType;
    std::vector<int> ordinals;  // 1 to 4 for the 1st to 4th, 5 for the last: boxes that must be ticked
    std::vector<int> weekdays;  // 0 = Sunday: boxes that must be ticked
    int every = 0;
    std::string everyType;
    Date date = 0;
    Time time = 0;
    Date lastRunDate = 0;
    int skipNextTime = -1;  // -1: either; 0 or 1: that value
    Date advanceWarnDate = 0;
    Time advanceWarnTime = 0;

    bool empty() const;
};

// The criteria made ready for many records: the texts trimmed and folded once.
class ScheduleMatcher {
public:
    explicit ScheduleMatcher(const ScheduleCriteria& criteria);
    bool operator()(const data::ScheduleRecord& task) const;
    // The fields the criteria look at: all a scan has to read.
    std::vector<std::string_view> fields() const;

private:
    ScheduleCriteria c_;  // with the texts trimmed, the free ones in upper case
};

bool Matches(const data::ScheduleRecord& task, const ScheduleCriteria& criteria);

// The key a search walks, and the values it is narrowed to: only the tasks of
// the date asked for, or of the task type, else every task by date.
struct SearchScan {
    int key = data::ScheduleRecord::KeyDate;
    std::vector<data::Value> prefix;
};
SearchScan ScanFor(const ScheduleCriteria& criteria);

// The search behind the schedule browser's "Selected" view: walks the
// schedule and marks every task that matches, after clearing the old marks
// when asked to. What was marked before a Cancel stays marked.
class ScheduleSearchJob : public BatchJob {
public:
    static constexpr int kBatch = 2000;

    ScheduleSearchJob(data::Database& db, data::RecordTags& tags, ScheduleCriteria criteria, bool clearFirst);
    ~ScheduleSearchJob() override;

    std::string description() const override { return "Searching for Matching Records"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, total_); }
    void end(bool cancelled) override;
    std::string tally() const override { return std::to_string(found_) + " Found"; }

    std::int64_t found() const { return found_; }
    // The first task found (row id, 0: none), for "&Edit This": first in the
    // order "&Find Next" walks, so the two together reach every match.
    std::int64_t firstFound() const { return first_; }
    int error() const { return error_; }

private:
    data::Database& db_;
    data::RecordTags& tags_;
    ScheduleCriteria criteria_;
    ScheduleMatcher matches_;
    bool clearFirst_;
    Date date_ = 0;
    // One read of the fields asked about, of the tasks on the date asked for or else of every task.
    std::unique_ptr<data::RecordStream<data::ScheduleRecord>> tasks_;
    std::int64_t total_ = 0;
    std::int64_t done_ = 0;
    std::int64_t found_ = 0;
    std::int64_t first_ = 0;
    int error_ = data::kOk;
};

// "&Find Next": the row id of the next task after the one with row id `after`
// (0: from the start) that matches, in the order of the search's walk; 0 when
// none does.
std::int64_t FindNextMatch(data::Database& db, const ScheduleCriteria& criteria, std::int64_t after);

}  // namespace hrln::scheduler
