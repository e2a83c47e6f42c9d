#pragma once

#include "common/batch_job.h"
#include "exchange/field_layout.h"
#include "platform/clock.h"

#include <memory>
#include <string>
#include <vector>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

// What a schedule export writes beyond the enabled tasks.
struct CalendarExportOptions {
    // History entries, each as the single past event it was; a passed-over
    // occurrence as a cancelled one.
    bool history = false;
};

// Writes the schedule (each task a VEVENT) or the to-do list (each item a
// VTODO) to an iCalendar file (RFC 5545). Only what another calendar should
// show goes: enabled tasks, and history entries when asked for; disabled
// tasks stay out. A task's rule becomes an RRULE when
// iCalendar can say it exactly; otherwise the task's next occurrences are
// written as RDATEs and the task is named in notes(). A skipped next
// occurrence is an EXDATE, the advance warning a VALARM. The record's other
// fields go in X-HRLN- properties so that an import gives the same record.
// Each record's UID is its own for life (data/record_uid.h), so that another
// calendar knows it again in a later export.
// The file takes its name only when it is whole: a failed export leaves an
// earlier file of the name as it was; a cancelled one keeps the records done.
class PartFile;

class CalendarExportJob : public BatchJob {
public:
    // `stampUtc`: the moment of the export in UTC, for the DTSTAMP iCalendar asks for.
    CalendarExportJob(data::Database& db, ExchangeTable table, std::string path, platform::DateTime stampUtc,
                      platform::Prompter& prompter, CalendarExportOptions options = {});
    ~CalendarExportJob() override;

    std::string description() const override;
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    int written() const { return written_; }
    bool ok() const { return ok_; }
    // One line per task whose rule was written as occurrences, and why.
    const std::vector<std::string>& notes() const { return notes_; }
    // The schedule's records left out: disabled tasks, and history entries
    // unless asked for.
    int disabledLeftOut() const;
    int historyLeftOut() const;

    class Source;

private:
    bool refuse(const std::string& text);

    data::Database& db_;
    ExchangeTable table_;
    std::string path_;
    std::unique_ptr<PartFile> file_;
    platform::DateTime stamp_;
    platform::Prompter& prompter_;
    CalendarExportOptions options_;
    std::unique_ptr<Source> source_;
    std::vector<std::string> notes_;
    int total_ = 0;
    int written_ = 0;
    bool ok_ = true;
};

// How many occurrences stand for a rule iCalendar cannot express.
inline constexpr int kOccurrencesWritten = 50;

// The summary for the user: how many were written, and the notes.
std::string CalendarExportSummary(const CalendarExportJob& job);

}  // namespace hrln::exchange
