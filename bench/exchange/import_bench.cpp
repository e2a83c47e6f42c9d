// A 100,000-task schedule written to a comma-delimited file with every field
// and read back into an empty database, as File, Import does it (checked in
// batches of 200 records, added in one transaction at the end). The references
// are the same file loaded into a plain table of text columns through one
// prepared statement in one transaction, as sqlite3's .import does it, and the
// sqlite3 program's .import itself. The iCalendar export and import of the
// same schedule run beside them. Each import runs as the frame runs it: its
// window's ticks between the scheduler's, whose longest stall is reported as
// longest_tick_ms (the goal is under 50 ms). A calendar of one 8 MB line runs
// the same way, refused by the line's length, and so does a file of 20,000
// vCards into the contacts.
#include "common/csv.h"
#include "common/batch_job.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/vcard_exchange.h"
#include "platform/prompter.h"
#include "scheduler/scheduler_rig.h"
#include "support/bench_schedule.h"
#include "support/silent_services.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

using namespace hrln;

constexpr int kTasks = 100'000;
constexpr int kBatch = 200;

class QuietPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox&) override { return platform::MessageButton::Ok; }
    void endProgram(const std::string&) override {}
};

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("hrln-bench-exchange-" + std::to_string(getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

// The process's resident memory from /proc, in MB: now ("VmRSS") or at its
// peak ("VmHWM"); 0 where /proc does not say.
double MemoryMb(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with(field + ":"))
            return std::strtod(line.c_str() + field.size() + 1, nullptr) / 1024.0;
    return 0;
}

// Starts the peak over from the present (Linux 4.0 and later).
void ResetMemoryPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void Run(BatchJob& job)
{
    BatchRun run(job, kBatch);
    if (!run.start())
        return;
    while (run.running())
        run.tick();
}

// The frame's loop while an import's window is open: a batch of the window,
// then a tick of the scheduler over the same file, each between events. The
// longest time the loop spent away, in one call, is the frame's longest stall.
class FrameLoop {
public:
    explicit FrameLoop(data::Database& db)
        : rig_(db, bench::BenchToday(), MakeTime(0, 0), 3650, (Folder() / "frame.log").string())
    {
        rig_.scheduler.tick();  // the day's housekeeping, before the import
    }

    BatchRun::State run(BatchJob& job)
    {
        BatchRun batches(job, kBatch);
        last_ = Clock::now();
        const bool started = batches.start();
        beat();
        while (started && batches.running()) {
            batches.tick();
            beat();
            rig_.scheduler.tick();
            beat();
        }
        return batches.state();
    }

    double longestMs() const { return std::chrono::duration<double, std::milli>(longest_).count(); }

private:
    using Clock = std::chrono::steady_clock;
    void beat()
    {
        const Clock::time_point now = Clock::now();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    bench::SchedulerRig rig_;
    Clock::time_point last_;
    Clock::duration longest_{};
};

data::Database& Source()
{
    static std::unique_ptr<data::Database> db = [] {
        auto d = std::make_unique<data::Database>((Folder() / "source.tps").string(), data::MainLayout());
        d->create();
        // Tasks the schedule form takes, over 20 categories.
        d->begin();
        data::Table<data::ScheduleRecord> t(*d);
        for (int i = 1; i <= kTasks; ++i) {
            t.clear();
            t.rec.id = i;
            t.rec.taskType = i % 4 == 0 ? "Run Program" : "Display Message";
            t.rec.command = i % 4 == 0 ? "xterm -e top" : "";
            t.rec.category = "Category " + std::to_string(i % 20);
            t.rec.description = "Task number " + std::to_string(i) + ", with a comma";
            t.rec.scheduleType = "Day of Week";
            t.rec.monday = t.rec.wednesday = 1;
            t.rec.every = 1;
            t.rec.date = bench::BenchToday() + 2 + i % 300;
            t.rec.time = MakeTime(i % 24, i % 60);
            t.rec.message = "Remember task " + std::to_string(i);
            t.add();
        }
        d->commit();
        return d;
    }();
    return *db;
}

const std::string& CsvFile()
{
    static const std::string file = [] {
        const std::string path = (Folder() / "schedule.csv").string();
        QuietPrompter quiet;
        exchange::ExportJob job(Source(), exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule), path, quiet);
        Run(job);
        return path;
    }();
    return file;
}

std::unique_ptr<data::Database> Empty(const char* name)
{
    const std::string path = (Folder() / name).string();
    for (const char* end : {"", "-wal", "-shm"})
        std::filesystem::remove(path + end);
    auto db = std::make_unique<data::Database>(path, data::MainLayout());
    // As the program's own connection: the log is copied into the file by a
    // thread of its own, not by the commit that fills it.
    db->checkpointInBackground();
    db->create();
    return db;
}

void ImportCsv(benchmark::State& state)
{
    const std::string& file = CsvFile();
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = Empty("into.tps");
        QuietPrompter quiet;
        exchange::ImportJob job(*db, exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule), file, quiet);
        FrameLoop frame(*db);
        state.ResumeTiming();
        frame.run(job);
        longest = std::max(longest, frame.longestMs());
        if (job.summary().added != kTasks) {
            static std::string why;
            why = "not every line was added: " + exchange::SummaryText(job.summary()).substr(0, 300);
            state.SkipWithError(why.c_str());
        }
    }
    state.counters["longest_tick_ms"] = longest;
    state.SetItemsProcessed(state.iterations() * kTasks);
}

// What sqlite3's .import does with the same file: every field as text into a
// plain table, one prepared insert, one transaction.
void BareImportCsv(benchmark::State& state)
{
    const std::string& file = CsvFile();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = (Folder() / "bare.db").string();
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        std::ifstream in(file, std::ios::binary);
        csv::RecordReader reader(in);
        csv::Fields fields;
        reader.next(fields);  // the header names the columns
        std::string create = "CREATE TABLE s(", insert = "INSERT INTO s VALUES(";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            create += (i ? ",c" : "c") + std::to_string(i) + " TEXT";
            insert += i ? ",?" : "?";
        }
        sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
        state.ResumeTiming();
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &stmt, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        int rows = 0;
        while (reader.next(fields)) {
            for (std::size_t i = 0; i < fields.size(); ++i)
                sqlite3_bind_text(stmt, static_cast<int>(i + 1), fields[i].data(), static_cast<int>(fields[i].size()),
                                  SQLITE_STATIC);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
            ++rows;
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        if (rows != kTasks)
            state.SkipWithError("not every line was read");
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}

// The reference as named: the sqlite3 program's own .import of the file into a
// new database, started as a user would start it.
void SqliteProgramImportCsv(benchmark::State& state)
{
    const std::string& file = CsvFile();
    if (std::system("command -v sqlite3 >/dev/null 2>&1") != 0)
        state.SkipWithError("the sqlite3 program is not installed");
    const std::string path = (Folder() / "program.db").string();
    const std::string command = "sqlite3 '" + path + "' '.import --csv " + file + " s'";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(path);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 could not import the file");
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}

void ExportCsv(benchmark::State& state)
{
    data::Database& db = Source();
    const std::string path = (Folder() / "out.csv").string();
    for (auto _ : state) {
        QuietPrompter quiet;
        exchange::ExportJob job(db, exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule), path, quiet);
        Run(job);
        if (job.written() != kTasks)
            state.SkipWithError("not every task was written");
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}

void ExportIcal(benchmark::State& state)
{
    data::Database& db = Source();
    const std::string path = (Folder() / "out.ics").string();
    for (auto _ : state) {
        QuietPrompter quiet;
        exchange::CalendarExportJob job(db, exchange::ExchangeTable::Schedule, path, {bench::BenchToday(), 1}, quiet);
        Run(job);
        if (job.written() != kTasks)
            state.SkipWithError("not every task was written");
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}

void ImportIcal(benchmark::State& state)
{
    const std::string path = (Folder() / "in.ics").string();
    {
        QuietPrompter quiet;
        exchange::CalendarExportJob job(Source(), exchange::ExchangeTable::Schedule, path, {bench::BenchToday(), 1}, quiet);
        Run(job);
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = Empty("into-ical.tps");
        QuietPrompter quiet;
        const bench::StillClock clock;
        exchange::CalendarImportJob job(*db, exchange::ExchangeTable::Schedule, path, clock, quiet);
        FrameLoop frame(*db);
        const double before = MemoryMb("VmRSS");
        ResetMemoryPeak();
        state.ResumeTiming();
        frame.run(job);
        // What reading the calendar took beyond what the process held before.
        state.counters["peak_growth_mb"] = MemoryMb("VmHWM") - before;
        longest = std::max(longest, frame.longestMs());
        if (job.summary().added != kTasks) {
            static std::string why;
            why = "not every event was added: " + exchange::SummaryText(job.summary()).substr(0, 300);
            state.SkipWithError(why.c_str());
        }
    }
    state.counters["longest_tick_ms"] = longest;
    state.counters["file_mb"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * kTasks);
}

// A calendar whose one event holds a line of 8 MB: refused by its length,
// the frame ticking on throughout.
void ImportIcalOneLine(benchmark::State& state)
{
    const std::string path = (Folder() / "one-line.ics").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART:20261201T100000\r\nDESCRIPTION:"
            << std::string(std::size_t{8} << 20, 'x') << "\r\nSUMMARY:Long\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = Empty("into-line.tps");
        QuietPrompter quiet;
        const bench::StillClock clock;
        exchange::CalendarImportJob job(*db, exchange::ExchangeTable::Schedule, path, clock, quiet);
        FrameLoop frame(*db);
        state.ResumeTiming();
        const BatchRun::State end = frame.run(job);
        longest = std::max(longest, frame.longestMs());
        if (end != BatchRun::State::Refused || job.summary().failure.find("longer than") == std::string::npos) {
            static std::string why;
            why = "the line was not refused by its length: " + job.summary().failure.substr(0, 300);
            state.SkipWithError(why.c_str());
        }
    }
    state.counters["longest_tick_ms"] = longest;
}

// 20,000 vCards 3.0 as other programs write them, each with a name, an
// address, two phones, an e-mail, a category and a note.
void ImportVCard(benchmark::State& state)
{
    constexpr int kCards = 20'000;
    const std::string path = (Folder() / "contacts.vcf").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (int i = 0; i < kCards; ++i) {
            const std::string n = std::to_string(i);
            out << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person " << n << ";Given;;;\r\nFN:Given Person " << n
                << "\r\nADR;TYPE=HOME:;;" << n << " Main Street;Springfield;;" << 10000 + i % 90000
                << ";\r\nTEL;TYPE=WORK,VOICE:+1 555 " << n << "\r\nTEL;TYPE=HOME:+1 556 " << n
                << "\r\nEMAIL:person" << n << "@example.org\r\nCATEGORIES:Group " << i % 20
                << "\r\nNOTE:Met at meeting " << n << "\\, and again later\r\nEND:VCARD\r\n";
        }
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = Empty("into-vcard.tps");
        QuietPrompter quiet;
        exchange::VCardImportJob job(*db, path, quiet);
        FrameLoop frame(*db);
        state.ResumeTiming();
        frame.run(job);
        longest = std::max(longest, frame.longestMs());
        if (job.summary().added != kCards) {
            static std::string why;
            why = "not every card was added: " + exchange::SummaryText(job.summary()).substr(0, 300);
            state.SkipWithError(why.c_str());
        }
    }
    state.counters["longest_tick_ms"] = longest;
    state.SetItemsProcessed(state.iterations() * kCards);
}

// The goals compare the calendar with the comma-delimited file on the same
// machine at the same moment: each pair runs both, one after the other, and
// reports both times, their ratio (export goal: under 2, import goal: under
// 3) and each run's peak memory beyond what the process held before it.
double Elapsed(const std::chrono::steady_clock::time_point& since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

void ExportPair(benchmark::State& state)
{
    data::Database& db = Source();
    for (auto _ : state) {
        QuietPrompter quiet;
        auto start = std::chrono::steady_clock::now();
        exchange::ExportJob csv(db, exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule),
                                (Folder() / "pair.csv").string(), quiet);
        Run(csv);
        const double csvMs = Elapsed(start);
        start = std::chrono::steady_clock::now();
        exchange::CalendarExportJob ical(db, exchange::ExchangeTable::Schedule, (Folder() / "pair.ics").string(),
                                         {bench::BenchToday(), 1}, quiet);
        Run(ical);
        const double icalMs = Elapsed(start);
        if (csv.written() != kTasks || ical.written() != kTasks)
            state.SkipWithError("not every task was written");
        state.counters["csv_ms"] = csvMs;
        state.counters["ical_ms"] = icalMs;
        state.counters["ratio"] = icalMs / csvMs;
    }
}

void ImportPair(benchmark::State& state)
{
    const std::string& csvFile = CsvFile();
    const std::string icalFile = (Folder() / "pair-in.ics").string();
    {
        QuietPrompter quiet;
        exchange::CalendarExportJob job(Source(), exchange::ExchangeTable::Schedule, icalFile, {bench::BenchToday(), 1},
                                        quiet);
        Run(job);
    }
    for (auto _ : state) {
        QuietPrompter quiet;
        const bench::StillClock clock;
        auto csvDb = Empty("pair-csv.tps");
        double before = MemoryMb("VmRSS");
        ResetMemoryPeak();
        auto start = std::chrono::steady_clock::now();
        exchange::ImportJob csv(*csvDb, exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule), csvFile, quiet);
        Run(csv);
        const double csvMs = Elapsed(start);
        state.counters["csv_peak_growth_mb"] = MemoryMb("VmHWM") - before;
        auto icalDb = Empty("pair-ical.tps");
        before = MemoryMb("VmRSS");
        ResetMemoryPeak();
        start = std::chrono::steady_clock::now();
        exchange::CalendarImportJob ical(*icalDb, exchange::ExchangeTable::Schedule, icalFile, clock, quiet);
        Run(ical);
        const double icalMs = Elapsed(start);
        state.counters["ical_peak_growth_mb"] = MemoryMb("VmHWM") - before;
        if (csv.summary().added != kTasks || ical.summary().added != kTasks)
            state.SkipWithError("not every record was added");
        state.counters["csv_ms"] = csvMs;
        state.counters["ical_ms"] = icalMs;
        state.counters["ratio"] = icalMs / csvMs;
    }
}

}  // namespace

BENCHMARK(BareImportCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SqliteProgramImportCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ExportIcal)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImportIcal)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImportIcalOneLine)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ImportVCard)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ExportPair)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ImportPair)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
