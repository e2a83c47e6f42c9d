// Exchange files against the file system: an export is written whole or not
// at all, also on a full disk; an import names the system's reason for a file
// it cannot read and never waits on a pipe.
#include "exchange_fixture.h"

#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/vcard_exchange.h"
#include "support/fake_clock.h"
#include "support/small_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

namespace hrln::test {
namespace {

using exchange::ExchangeTable;

const platform::DateTime kStamp{MakeDate(12, 9, 2026), MakeTime(5, 0)};

class ExchangeFilesTest : public ExchangeTest {
protected:
    // A schedule and contacts large enough to overflow a few free pages.
    void storeMany(int count)
    {
        for (int i = 1; i <= count; ++i) {
            data::ScheduleRecord t;
            t.id = i;
            t.description = "task " + std::to_string(i);
            t.taskType = "Display Message";
            t.scheduleType = "Once";
            t.date = MakeDate(12, 9, 2026);
            t.message = std::string(400, 'm');
            store(from, t);
            data::ContactRecord c;
            c.clientId = i;
            c.lastName = "Contact " + std::to_string(i);
            c.notes = std::string(400, 'n');
            store(from, c);
        }
    }

    struct Export {
        const char* name;
        std::function<std::unique_ptr<BatchJob>(const std::string&)> job;
        std::function<bool(const BatchJob&)> ok;
    };

    std::vector<Export> exports()
    {
        return {
            {"csv",
             [this](const std::string& path) -> std::unique_ptr<BatchJob> {
                 return std::make_unique<exchange::ExportJob>(from, ExchangeTable::Schedule,
                                                              exchange::DefaultLayout(ExchangeTable::Schedule), path,
                                                              prompter);
             },
             [](const BatchJob& j) { return static_cast<const exchange::ExportJob&>(j).ok(); }},
            {"ics",
             [this](const std::string& path) -> std::unique_ptr<BatchJob> {
                 return std::make_unique<exchange::CalendarExportJob>(from, ExchangeTable::Schedule, path, kStamp,
                                                                      prompter);
             },
             [](const BatchJob& j) { return static_cast<const exchange::CalendarExportJob&>(j).ok(); }},
            {"vcf",
             [this](const std::string& path) -> std::unique_ptr<BatchJob> {
                 return std::make_unique<exchange::VCardExportJob>(from, path, exchange::VCardVersion::V4,
                                                                   prompter);
             },
             [](const BatchJob& j) { return static_cast<const exchange::VCardExportJob&>(j).ok(); }},
        };
    }
};

TEST_F(ExchangeFilesTest, AFullDiskLeavesTheEarlierExportWholeAndSaysWhy)
{
    SmallDisk disk(256 * 1024);
    if (!disk.unavailable().empty())
        GTEST_SKIP() << disk.unavailable();
    storeMany(60);
    for (const Export& e : exports()) {
        const std::string file = disk.file(std::string("schedule.") + e.name);
        WriteFile(file, "earlier export\r\n");
    }
    // A few pages free: each export runs out part way through.
    disk.fill(8192);
    for (const Export& e : exports()) {
        SCOPED_TRACE(e.name);
        const std::string file = disk.file(std::string("schedule.") + e.name);
        prompter.shown.clear();
        const std::unique_ptr<BatchJob> job = e.job(file);
        run(*job, 10);
        EXPECT_FALSE(e.ok(*job));
        EXPECT_EQ(ReadFile(file), "earlier export\r\n");
        EXPECT_FALSE(std::filesystem::exists(file + ".part")) << "the part was left on the full disk";
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, "Could not write " + file + ": No space left on device.");
    }
}

TEST_F(ExchangeFilesTest, AnExportGetsItsNameOnlyWhenWholeAndReplacesAPartLeftBehind)
{
    storeMany(30);
    for (const Export& e : exports()) {
        SCOPED_TRACE(e.name);
        const std::string file = dir.file(std::string("schedule.") + e.name);
        WriteFile(file, "earlier export\r\n");
        // What a program killed during an export leaves: part of the file
        // under its own name beside the earlier one.
        {
            const std::unique_ptr<BatchJob> job = e.job(file);
            ASSERT_TRUE(job->begin());
            ASSERT_TRUE(job->step(5));
            EXPECT_EQ(ReadFile(file), "earlier export\r\n") << "written into the file's own name";
            EXPECT_TRUE(std::filesystem::exists(file + ".part"));
            std::filesystem::copy_file(file + ".part", dir.file("leftover"));
        }
        std::filesystem::rename(dir.file("leftover"), file + ".part");
        ::chmod((file + ".part").c_str(), 0644);

        const std::unique_ptr<BatchJob> job = e.job(file);
        EXPECT_EQ(run(*job), BatchRun::State::Completed);
        EXPECT_TRUE(e.ok(*job));
        EXPECT_FALSE(std::filesystem::exists(file + ".part"));
        const std::string whole = ReadFile(file);
        EXPECT_NE(whole.find(std::string(e.name) == "vcf" ? "Contact 30" : "task 30"), std::string::npos);
    }
    EXPECT_TRUE(prompter.shown.empty());
}

// Starts the import on its own thread; a pipe without a writer must not hold
// it. Should it hang, a writer is opened so the test ends and fails.
template <class Job>
void ExpectRefusedAtOnce(Job& job, const std::string& fifo)
{
    auto begun = std::async(std::launch::async, [&job] { return job.begin(); });
    if (begun.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        ADD_FAILURE() << "the import waits on the pipe";
        begun.wait();
        if (writer >= 0)
            ::close(writer);
    }
    EXPECT_FALSE(begun.get());
}

TEST_F(ExchangeFilesTest, AnImportRefusesWhatIsNoFileWithTheSystemsReason)
{
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder.csv");
    std::filesystem::create_directory(folder);
    const std::string missing = dir.file("missing.csv");
    exchange::FieldLayout layout = exchange::DefaultLayout(ExchangeTable::Todo);

    {
        exchange::ImportJob csv(into, ExchangeTable::Todo, layout, fifo, prompter);
        ExpectRefusedAtOnce(csv, fifo);
        exchange::VCardImportJob cards(into, fifo, prompter);
        ExpectRefusedAtOnce(cards, fifo);
        const FakeClock clock;
        exchange::CalendarImportJob calendar(into, ExchangeTable::Schedule, fifo, clock, prompter);
        ExpectRefusedAtOnce(calendar, fifo);
    }
    ASSERT_EQ(prompter.shown.size(), 3u);
    for (const platform::MessageBox& box : prompter.shown)
        EXPECT_EQ(box.text, "Could not open " + fifo + ": not a regular file (a named pipe).");

    prompter.shown.clear();
    EXPECT_EQ(import(ExchangeTable::Todo, layout, folder, into).failure,
              "Could not open " + folder + ": Is a directory.");
    EXPECT_EQ(import(ExchangeTable::Todo, layout, missing, into).failure,
              "Could not open " + missing + ": No such file or directory.");
    const FakeClock clock;
    exchange::CalendarImportJob calendar(into, ExchangeTable::Schedule, folder, clock, prompter);
    run(calendar);
    EXPECT_EQ(calendar.summary().failure, "Could not open " + folder + ": Is a directory.");
}

TEST_F(ExchangeFilesTest, AnImportOntoAFullDiskNamesTheReason)
{
    SmallDisk disk(512 * 1024);
    if (!disk.unavailable().empty())
        GTEST_SKIP() << disk.unavailable();
    data::Database small(disk.file("small.tps"), data::MainLayout());
    ASSERT_EQ(small.create(), data::kOk);
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "\"item " + std::to_string(i) + " " + std::string(200, 'x') + "\"\r\n";
    const std::string file = dir.file("todo.csv");
    WriteFile(file, lines);
    exchange::FieldLayout layout;
    layout.header = false;
    layout.fields = {{"ToDo", "ToDo", "", exchange::FieldType::Text}};
    disk.fill(16 * 1024);
    const exchange::ImportSummary summary = import(ExchangeTable::Todo, layout, file, small);
    EXPECT_EQ(summary.added, 0);
    EXPECT_NE(summary.failure.find("No space left on device"), std::string::npos) << summary.failure;
    EXPECT_EQ(summary.failure.find("error 90"), std::string::npos) << summary.failure;
}

}  // namespace
}  // namespace hrln::test
