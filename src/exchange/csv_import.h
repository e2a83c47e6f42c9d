#pragma once

#include "exchange/field_layout.h"
#include "exchange/import_work.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hrln::data {
class Database;
}
namespace hrln::platform {
class Prompter;
}

namespace hrln::exchange {

namespace detail {
class CsvImportWork;
}

// "tasks.csv" gives "tasks.rejected.csv" in the same folder; with `extension`
// ".ics", "tasks.ics" gives "tasks.rejected.ics".
std::string RejectedPathFor(const std::string& path, std::string_view extension = ".csv");

// The summary for the user: added, skipped with their lines and reasons (the
// first few), and where the skipped lines were written.
std::string SummaryText(const ImportSummary& summary);

// Reads a comma-delimited file into a table, one record per line, through the
// table's own rules: a new ID or ClientID as the forms give them, a category
// the table does not know yet added to its categories, the schedule form's
// checks. A line that cannot be a record (a quote left open, more fields than
// columns, text that is no UTF-8, a number or date that is none, a record the
// rules refuse) is skipped, reported with its line number and copied to the
// rejected file beside the input; the rest goes on. The records read are
// added together when the job ends, also when it is cancelled, so Cancel keeps
// what was read and a crash leaves the table as it was. The reading and the
// final store run on a thread of their own (see data::WorkerJob).
class ImportJob : public ImportOnThread {
public:
    ImportJob(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
              platform::Prompter& prompter);
    ~ImportJob() override;
};

namespace detail {

// The import itself, on the thread of its ImportJob.
class CsvImportWork : public ImportWork {
public:
    CsvImportWork(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
                  platform::Prompter& prompter);
    ~CsvImportWork() override;

    std::string description() const override;
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;

    class Sink;

private:
    void dropInput() override;
    void reject(std::uint64_t line, const std::string& text, std::string reason);
    bool mapHeader();

    ExchangeTable table_;
    FieldLayout layout_;
    std::unique_ptr<Sink> sink_;
    std::vector<int> columns_;  // per column of the file: its field in the layout, -1 for none
    std::string headerText_;
};

}  // namespace detail

}  // namespace hrln::exchange
