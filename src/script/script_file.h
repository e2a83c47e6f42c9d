#pragma once

#include "common/batch_job.h"
#include "common/csv.h"
#include "data/database.h"
#include "data/records.h"
#include "data/staged_records.h"
#include "data/table.h"
#include "platform/prompter.h"

#include <cstdint>
#include <fstream>
#include <istream>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The script file (.hsx): one item a line, six quoted fields (the action and
// the values that travel with it), UTF-8 text.
namespace hrln::script {

// The item's line, ended by CR LF; empty for an action that has no line
// ("Exit Script", or one the file does not know).
std::string ScriptFileLine(const data::ScriptingRecord& item);

// The largest numbers the item form takes: seconds to wait, and a time
// elapsed (also the time a started program is given).
inline constexpr data::Long kMaxSecondsToWait = 99999;
inline constexpr data::Long kMaxTimeElapsed = std::numeric_limits<data::Long>::max();

// Why a line of a known action cannot be taken as it stands: a number outside
// what the item form takes ("seconds to wait -5 is not between 0 and 99999").
// Empty when every number fits; text that is no number reads as 0 and fits.
std::string ScriptFileNumberProblem(const csv::Fields& fields);

// The action and the values of a line's fields into `item`, which the caller
// has cleared and numbered. False, with `item` untouched, when the type is no
// action the file knows (letter case counts).
bool ReadScriptFileFields(const csv::Fields& fields, data::ScriptingRecord& item);

// Lines of a text file ended by CR LF, LF or CR alone.
class ScriptLineReader {
public:
    explicit ScriptLineReader(std::istream& in) : in_(in) {}
    // False at the end of input.
    bool next(std::string& line);
    std::uint64_t bytesRead() const { return bytesRead_; }

private:
    std::istream& in_;
    std::uint64_t bytesRead_ = 0;
};

// ExportScript: the items of task `id` appended to the file, in script order.
class ExportScriptJob : public BatchJob {
public:
    static constexpr int kBatch = 25;
    static constexpr std::int64_t kEstimate = 100;  // items: the percentage needs no count first

    ExportScriptJob(data::Database& db, data::Long id, std::string path, platform::Prompter& prompter);

    std::string description() const override { return "Exporting Script Items"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override { return PercentDone(done_, kEstimate); }
    void end(bool cancelled) override;
    int written() const { return written_; }

private:
    data::Database& db_;
    data::Long id_;
    std::string path_;
    platform::Prompter& prompter_;
    data::Table<data::ScriptingRecord> items_;
    std::ofstream out_;
    std::int64_t done_ = 0;
    int written_ = 0;
};

// ImportScript: the file's items appended to task `id`'s script, numbered
// after its last item. The items are read and kept aside a batch at a time and
// added in one transaction when the job ends, also by Cancel: a program that
// dies during the import leaves the script as it was.
class ImportScriptJob : public BatchJob {
public:
    static constexpr int kBatch = 1000;

    ImportScriptJob(data::Database& db, data::Long id, std::string path, platform::Prompter& prompter);

    std::string description() const override { return "Importing Script Items"; }
    bool begin() override;
    bool step(int count) override;
    int percent() const override;
    void end(bool cancelled) override;
    // Items added to the script (once the job has ended).
    int added() const { return added_; }
    // Lines not taken, by their number in the file (blank lines aside).
    struct SkippedLine {
        std::int64_t line = 0;
        std::string reason;
    };
    const std::vector<SkippedLine>& skipped() const { return skipped_; }
    // "3 items added, 2 lines skipped." and the lines skipped with why.
    std::string summaryText() const;

private:
    bool taskStands();
    void store();

    data::Database& db_;
    data::Long id_;
    std::string path_;
    platform::Prompter& prompter_;
    data::StagedRecords<data::ScriptingRecord> kept_;
    data::ScriptingRecord item_;
    std::ifstream in_;
    std::unique_ptr<ScriptLineReader> reader_;
    std::uint64_t size_ = 0;
    bool taskGone_ = false;
    int added_ = 0;
    std::int64_t lineNumber_ = 0;
    std::vector<SkippedLine> skipped_;
};

}  // namespace hrln::script
