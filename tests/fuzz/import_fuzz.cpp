// The importers over garbled files: the comma-delimited schedule, iCalendar
// schedule and to-do list, and vCards. Whatever the bytes, the import ends;
// every record it added is counted, every skipped one has its line (or item)
// and a reason; a record stored before stays as it was.
#include "common/batch_job.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/calendar_import.h"
#include "exchange/csv_import.h"
#include "exchange/vcard_exchange.h"
#include "fuzz_check.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

#include <fstream>
#include <memory>

namespace {

using namespace hrln;

template <class R>
int Count(data::Database& db)
{
    data::Table<R> t(db);
    return t.count();
}

// The record stored first in the table, read again by its row: an imported
// record may come before it in any key (a blank text sorts first).
template <class R>
std::vector<data::Value> Stored(data::Database& db, int key)
{
    data::Table<R> t(db);
    return t.reget(key, 1) == data::kOk ? data::RecordValues(t.rec) : std::vector<data::Value>{};
}

void Run(BatchJob& job)
{
    BatchRun run(job, 7);
    if (!run.start())
        return;
    while (run.running())
        run.tick();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    hrln::fuzz::Reader input(data, size);
    const int format = input.byte() % 4;
    const std::string_view bytes = input.rest();

    static test::TempDir dir;
    const std::string file = dir.file(format == 0 ? "in.csv" : format == 3 ? "in.vcf" : "in.ics");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    const std::string dbPath = dir.file("fuzz.tps");
    for (const char* end : {"", "-wal", "-shm"})
        std::filesystem::remove(dbPath + end);
    data::Database db(dbPath, data::MainLayout());
    FUZZ_CHECK(db.create() == data::kOk, "the database opens");
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec.id = 1;
        t.rec.description = "stored before";
        t.rec.scheduleType = "Once";
        t.add();
        data::Table<data::ContactRecord> c(db);
        c.rec.clientId = 1;
        c.rec.lastName = "Before";
        c.add();
        data::Table<data::TodoRecord> d(db);
        d.rec.toDo = "\x01 before";  // sorts first
        d.add();
    }
    const auto task = Stored<data::ScheduleRecord>(db, data::ScheduleRecord::KeyID);
    const auto contact = Stored<data::ContactRecord>(db, data::ContactRecord::KeyClientID);
    const auto item = Stored<data::TodoRecord>(db, data::TodoRecord::KeyToDo);
    FUZZ_CHECK(!task.empty() && !contact.empty() && !item.empty(), "the records stored before are read back");

    test::FakePrompter prompter;
    exchange::ImportSummary summary;
    int before = 0, after = 0;
    if (format == 0) {
        before = Count<data::ScheduleRecord>(db);
        exchange::ImportJob job(db, exchange::ExchangeTable::Schedule,
                                exchange::DefaultLayout(exchange::ExchangeTable::Schedule), file, prompter);
        Run(job);
        summary = job.summary();
        after = Count<data::ScheduleRecord>(db);
    } else if (format == 1 || format == 2) {
        const auto table = format == 1 ? exchange::ExchangeTable::Schedule : exchange::ExchangeTable::Todo;
        before = format == 1 ? Count<data::ScheduleRecord>(db) : Count<data::TodoRecord>(db);
        const test::FakeClock clock;
        exchange::CalendarImportJob job(db, table, file, clock, prompter);
        Run(job);
        summary = job.summary();
        after = format == 1 ? Count<data::ScheduleRecord>(db) : Count<data::TodoRecord>(db);
    } else {
        before = Count<data::ContactRecord>(db);
        exchange::VCardImportJob job(db, file, prompter);
        Run(job);
        summary = job.summary();
        after = Count<data::ContactRecord>(db);
    }
    FUZZ_CHECK(after == before + summary.added, "records added " + std::to_string(after - before) +
                                                    ", reported " + std::to_string(summary.added));
    for (const auto& r : summary.rejected) {
        FUZZ_CHECK(r.line >= 1, "a skipped record has its place");
        FUZZ_CHECK(!r.reason.empty(), "a skipped record has its reason");
    }
    FUZZ_CHECK(Stored<data::ScheduleRecord>(db, data::ScheduleRecord::KeyID) == task, "the stored task is unchanged");
    FUZZ_CHECK(Stored<data::ContactRecord>(db, data::ContactRecord::KeyClientID) == contact,
               "the stored contact is unchanged");
    FUZZ_CHECK(Stored<data::TodoRecord>(db, data::TodoRecord::KeyToDo) == item, "the stored item is unchanged");
    return 0;
}
