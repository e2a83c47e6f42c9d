#include "script/script_jobs.h"

#include "common/batch_job.h"
#include "integrity_fixture.h"
#include "pim/record_warnings.h"
#include "script/script_file.h"
#include "support/fake_prompter.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace hrln::test {
namespace {

using data::ScriptingRecord;

// Every field of every script item, in key order.
using Snapshot = std::vector<std::vector<data::Value>>;

// A job made on a connection of its own, with what it reports to.
using MakeJob = std::function<std::unique_ptr<BatchJob>(data::Database&, FakePrompter&, pim::RecordWarnings&)>;

class ScriptJobsTest : public IntegrityTest {
protected:
    // Task `id` with `count` items "k1", "k2", ... numbered 1, 2, ...
    void addScript(data::Long id, int count)
    {
        addTask(id);
        ASSERT_EQ(db.begin(), data::kOk);
        data::Table<ScriptingRecord> t(db);
        for (int seq = 1; seq <= count; ++seq) {
            t.clear();
            t.rec.id = id;
            t.rec.sequence = seq;
            t.rec.action = "Send Keystrokes";
            t.rec.keystrokes = "k" + std::to_string(seq);
            ASSERT_EQ(t.add(), data::kOk);
        }
        ASSERT_EQ(db.commit(), data::kOk);
    }

    Snapshot snapshot()
    {
        Snapshot out;
        data::Table<ScriptingRecord> t(db);
        t.set(ScriptingRecord::KeyID);
        while (t.next() == data::kOk)
            out.push_back(data::RecordValues(t.rec));
        return out;
    }

    // Runs `ticks` batches of the job, then leaves it unfinished or, with
    // `cancel`, cancels it.
    static void runSome(BatchRun& run, int ticks)
    {
        ASSERT_TRUE(run.start());
        for (int i = 0; i < ticks; ++i)
            run.tick();
        ASSERT_TRUE(run.running());
    }
    static void runAll(BatchRun& run)
    {
        ASSERT_TRUE(run.start());
        while (run.running())
            run.tick();
    }

    // Forks a program of its own that runs the job on the same file through
    // `drive`, which returns the program's exit status.
    pid_t forkJob(const MakeJob& make, int batch, const std::function<int(BatchRun&)>& drive)
    {
        const pid_t child = fork();
        if (child != 0)
            return child;
        data::Database own(db.path(), data::MainLayout());
        if (own.open() != data::kOk)
            _exit(3);
        FakePrompter childPrompter;
        pim::RecordWarnings childWarnings(childPrompter);
        const std::unique_ptr<BatchJob> job = make(own, childPrompter, childWarnings);
        BatchRun run(*job, batch);
        if (!run.start())
            _exit(4);
        _exit(drive(run));
    }

    // Runs the job in a program of its own and kills that program with
    // SIGKILL after `ticks` batches, mid-job.
    void killAfter(const MakeJob& make, int batch, int ticks)
    {
        const pid_t child = forkJob(make, batch, [ticks](BatchRun& run) {
            for (int i = 0; i < ticks && run.running(); ++i)
                run.tick();
            if (!run.running())
                return 5;  // ended before it could be killed
            raise(SIGKILL);
            return 6;
        });
        ASSERT_GE(child, 0);
        expectKilled(child);
    }

    // Runs the whole job in a program of its own and kills it after `delay`,
    // wherever it stands: reading, writing or committing.
    void killAt(const MakeJob& make, int batch, std::chrono::microseconds delay)
    {
        const pid_t child = forkJob(make, batch, [](BatchRun& run) {
            while (run.running())
                run.tick();
            return 0;
        });
        ASSERT_GE(child, 0);
        std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
    }

    static void expectKilled(pid_t child)
    {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), SIGKILL);
    }

    // Kills the job mid-job and at a spread of moments up to its end: each
    // time the items are exactly as before the job or, once it has ended, as
    // after it, never anything between.
    void expectAllOrNothing(const MakeJob& make, int batch, const Snapshot& after)
    {
        const Snapshot before = snapshot();
        ASSERT_NE(before, after);
        killAfter(make, batch, 2);
        EXPECT_EQ(snapshot(), before);
        for (int delay = 0; delay <= 1200; delay += 100) {
            killAt(make, batch, std::chrono::milliseconds(delay));
            const Snapshot now = snapshot();
            if (now == after)
                return;  // the job ended before the kill: its work stands whole
            ASSERT_EQ(now, before) << "killed after " << delay << " ms";
        }
    }

    FakePrompter prompter;
    pim::RecordWarnings warnings{prompter};
};

constexpr int kLargeScript = 30000;

MakeJob CopyJob(data::Long from, data::Long to)
{
    return [=](data::Database& db, FakePrompter&, pim::RecordWarnings& warnings) {
        return std::make_unique<script::CopyScriptJob>(db, from, to, warnings);
    };
}

MakeJob DeleteJob(data::Long id)
{
    return [=](data::Database& db, FakePrompter&, pim::RecordWarnings& warnings) {
        return std::make_unique<script::DeleteScriptJob>(db, id, warnings);
    };
}

MakeJob ImportJob(data::Long id, std::string path)
{
    return [=](data::Database& db, FakePrompter& prompter, pim::RecordWarnings&) {
        return std::make_unique<script::ImportScriptJob>(db, id, path, prompter);
    };
}

TEST_F(ScriptJobsTest, CopyAddsNothingUntilItEndsAndKeepsTheNumbering)
{
    addScript(1, 60);
    addTask(2);
    addScript(3, 2);
    script::CopyScriptJob job(db, 1, 2, warnings);
    BatchRun run(job, script::CopyScriptJob::kBatch);
    runSome(run, 2);
    EXPECT_TRUE(scriptItems(2).empty());  // read and checked, not yet written
    while (run.running())
        run.tick();
    EXPECT_EQ(run.state(), BatchRun::State::Completed);
    EXPECT_EQ(job.copied(), 60);
    const auto copies = scriptItems(2);
    const auto source = scriptItems(1);
    ASSERT_EQ(copies.size(), source.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
        EXPECT_EQ(copies[i].sequence, source[i].sequence);
        EXPECT_EQ(copies[i].keystrokes, source[i].keystrokes);
    }
    EXPECT_EQ(scriptItems(3).size(), 2U);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptJobsTest, CopyReportsItemsTheTargetHasAndAddsTheOthers)
{
    addScript(1, 3);
    addScript(2, 1);  // already has sequence 1
    script::CopyScriptJob job(db, 1, 2, warnings);
    BatchRun run(job, script::CopyScriptJob::kBatch);
    runAll(run);
    EXPECT_EQ(job.copied(), 2);
    ASSERT_EQ(prompter.shown.size(), 1U);
    const auto items = scriptItems(2);
    ASSERT_EQ(items.size(), 3U);
    EXPECT_EQ(items[0].keystrokes, "k1");  // its own, not overwritten
}

TEST_F(ScriptJobsTest, CancelledCopyAndDeleteKeepTheBatchesDone)
{
    addScript(1, 100);
    addTask(2);
    {
        script::CopyScriptJob job(db, 1, 2, warnings);
        BatchRun run(job, script::CopyScriptJob::kBatch);
        runSome(run, 2);
        run.cancel();
        EXPECT_EQ(job.copied(), 2 * script::CopyScriptJob::kBatch);
    }
    const auto copied = scriptItems(2);
    ASSERT_EQ(copied.size(), static_cast<std::size_t>(2 * script::CopyScriptJob::kBatch));
    EXPECT_EQ(copied.front().sequence, 1);
    EXPECT_EQ(copied.back().sequence, 2 * script::CopyScriptJob::kBatch);
    {
        script::DeleteScriptJob job(db, 1, warnings);
        BatchRun run(job, script::DeleteScriptJob::kBatch);
        runSome(run, 1);
        EXPECT_EQ(scriptItems(1).size(), 100U);  // found, not yet deleted
        run.cancel();
        EXPECT_EQ(job.deleted(), script::DeleteScriptJob::kBatch);
    }
    const auto left = scriptItems(1);
    ASSERT_EQ(left.size(), static_cast<std::size_t>(100 - script::DeleteScriptJob::kBatch));
    EXPECT_EQ(left.front().sequence, script::DeleteScriptJob::kBatch + 1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptJobsTest, DeleteLeavesOtherScriptsAndSkipsItemsGoneMeanwhile)
{
    addScript(1, 3);
    addScript(2, 40);
    addScript(3, 3);
    script::DeleteScriptJob job(db, 2, warnings);
    BatchRun run(job, script::DeleteScriptJob::kBatch);
    runSome(run, 1);
    // Another station deletes an item the job has already found.
    data::Table<ScriptingRecord> other(station());
    other.rec.id = 2;
    other.rec.sequence = 5;
    ASSERT_EQ(other.get(ScriptingRecord::KeyID), data::kOk);
    ASSERT_EQ(other.remove(), data::kOk);
    while (run.running())
        run.tick();
    EXPECT_EQ(job.deleted(), 39);
    EXPECT_TRUE(scriptItems(2).empty());
    EXPECT_EQ(scriptItems(1).size(), 3U);
    EXPECT_EQ(scriptItems(3).size(), 3U);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ScriptJobsTest, ImportNumbersAfterItemsAddedMeanwhileAndCancelKeepsTheLinesRead)
{
    addScript(1, 2);
    const std::string path = dir.file("s.hsx");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 3 * script::ImportScriptJob::kBatch; ++i)
            out << "\"Close Program\"\r\n";
    }
    script::ImportScriptJob job(db, 1, path, prompter);
    BatchRun run(job, script::ImportScriptJob::kBatch);
    runSome(run, 1);
    EXPECT_EQ(scriptItems(1).size(), 2U);
    // Another window adds item 3 while the file is read.
    ScriptingRecord item;
    item.id = 1;
    item.sequence = 3;
    item.action = "Wait";
    add(item);
    run.cancel();
    EXPECT_EQ(job.added(), script::ImportScriptJob::kBatch);
    const auto items = scriptItems(1);
    ASSERT_EQ(items.size(), static_cast<std::size_t>(3 + script::ImportScriptJob::kBatch));
    EXPECT_EQ(items[2].action, "Wait");
    EXPECT_EQ(items[3].sequence, 4);
    EXPECT_EQ(items.back().sequence, 3 + script::ImportScriptJob::kBatch);
    EXPECT_TRUE(prompter.shown.empty());
}

// A program killed during a job leaves every script as it was before the job.
TEST_F(ScriptJobsTest, AKilledImportLeavesTheScriptAsItWas)
{
    addScript(1, 3);
    addScript(2, 2);
    const std::string path = dir.file("large.hsx");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < kLargeScript; ++i)
            out << "\"Send Keystrokes\",\"line " << i << "\"\r\n";
    }
    // The whole import: the lines after task 1's own items.
    const Snapshot before = snapshot();
    Snapshot after(before.begin(), before.begin() + 3);
    for (int i = 0; i < kLargeScript; ++i) {
        ScriptingRecord item;
        item.id = 1;
        item.sequence = 4 + i;
        item.action = "Send Keystrokes";
        item.keystrokes = "line " + std::to_string(i);
        after.push_back(data::RecordValues(item));
    }
    after.insert(after.end(), before.begin() + 3, before.end());
    expectAllOrNothing(ImportJob(1, path), script::ImportScriptJob::kBatch, after);
}

TEST_F(ScriptJobsTest, AKilledCopyLeavesTheScriptAsItWas)
{
    addScript(1, kLargeScript);
    addScript(2, 0);
    Snapshot after = snapshot();
    for (Snapshot::size_type i = 0; i < static_cast<Snapshot::size_type>(kLargeScript); ++i) {
        std::vector<data::Value> copy = after[i];
        copy[0] = std::int64_t{2};
        after.push_back(std::move(copy));
    }
    expectAllOrNothing(CopyJob(1, 2), script::CopyScriptJob::kBatch, after);
}

TEST_F(ScriptJobsTest, AKilledDeleteLeavesTheScriptAsItWas)
{
    addScript(1, 2);
    addScript(2, kLargeScript);
    addScript(3, 2);
    Snapshot after;
    for (const auto& values : snapshot())
        if (std::get<std::int64_t>(values[0]) != 2)
            after.push_back(values);
    expectAllOrNothing(DeleteJob(2), script::DeleteScriptJob::kBatch, after);
}

}  // namespace
}  // namespace hrln::test
