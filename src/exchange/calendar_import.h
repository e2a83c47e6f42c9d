#pragma once

#include "common/batch_job.h"
#include "exchange/csv_import.h"
#include "exchange/field_layout.h"

#include <memory>
#include <string>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

// Reads an iCalendar file (RFC 5545) into the schedule (its VEVENTs) or the
// to-do list (its VTODOs), each through the table's own rules as a comma-
// delimited import adds them. An event whose rule a task can follow (weekdays,
// Nth and last weekdays of the month, monthly, yearly, every N minutes ...
// years) becomes a task; an event with a rule it cannot follow, and any other
// component, is reported and skipped, copied to the .rejected.ics file beside
// the input. A file that is no calendar is refused before anything is added.
// A file this program wrote gives back the records it was written from.
class CalendarImportJob : public BatchJob {
public:
    CalendarImportJob(data::Database& db, ExchangeTable table, std::string path, platform::Prompter& prompter);
    ~CalendarImportJob() override;

    std::string description() const override;
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    const ImportSummary& summary() const { return summary_; }
    bool refused() const { return refused_; }

    class Source;

private:
    bool refuse(const std::string& text);

    data::Database& db_;
    ExchangeTable table_;
    std::string path_;
    platform::Prompter& prompter_;
    std::unique_ptr<Source> source_;
    ImportSummary summary_;
    bool refused_ = false;
};

}  // namespace hrln::exchange
