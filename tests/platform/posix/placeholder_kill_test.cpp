#include "data/database.h"
#include "data/placeholders.h"
#include "data/record_stream.h"
#include "data/schedule_store.h"
#include "data/stations.h"
#include "pim/record_form.h"
#include "platform/posix/station_probe.h"
#include "support/fake_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>

#include <sys/wait.h>
#include <unistd.h>

namespace hrln::test {
namespace {

using data::ScheduleRecord;

// A program with an Add form open: its own process, connection and station,
// holding the form open until it is told to end or is killed.
class ProgramWithForm {
public:
    explicit ProgramWithForm(const std::string& path)
    {
        int ready[2];
        int hold[2];
        if (pipe(ready) != 0 || pipe(hold) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(hold[1]);
            run(path, ready[1], hold[0]);
        }
        close(ready[1]);
        close(hold[0]);
        hold_ = hold[1];
        if (read(ready[0], &taskId_, sizeof taskId_) != static_cast<ssize_t>(sizeof taskId_))
            taskId_ = 0;
        close(ready[0]);
    }
    ~ProgramWithForm()
    {
        if (hold_ >= 0)
            close(hold_);  // the program ends
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }
    ProgramWithForm(const ProgramWithForm&) = delete;
    ProgramWithForm& operator=(const ProgramWithForm&) = delete;

    // The task the form is adding; 0 when the program failed.
    data::Long taskId() const { return taskId_; }
    void killNow()
    {
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

private:
    [[noreturn]] static void run(const std::string& path, int ready, int hold)
    {
        data::Database db(path, data::MainLayout());
        if (db.open() != data::kOk)
            _exit(3);
        platform::posix::PosixStationProbe probe;
        data::Stations stations(db, probe);
        if (stations.keepAlive(std::time(nullptr)) == 0)
            _exit(4);
        FakePrompter prompter;
        pim::RecordWarnings warnings(prompter);
        data::Table<ScheduleRecord> table(db);
        pim::FormRules<ScheduleRecord> rules;
        rules.defaults = [](ScheduleRecord& task) {
            task.taskType = "Display Message";
            task.scheduleType = "Once";
            task.description = "being added";
            task.date = 1;
            task.time = 1;
        };
        rules.placeholder = true;
        rules.addPlaceholder = [](data::Table<ScheduleRecord>& t) { return data::AddTaskWithNewId(t, nullptr); };
        pim::RecordForm<ScheduleRecord> form(table, warnings, pim::Request::Insert, rules);
        if (!form.open())
            _exit(5);
        // The form's script, written while it is open.
        data::Table<data::ScriptingRecord> item(db);
        item.rec.id = table.rec.id;
        item.rec.sequence = 1;
        item.rec.action = "Wait";
        if (item.add() != data::kOk)
            _exit(6);
        const data::Long id = table.rec.id;
        if (write(ready, &id, sizeof id) != static_cast<ssize_t>(sizeof id))
            _exit(7);
        char c = 0;
        while (read(hold, &c, 1) > 0) {
        }
        _exit(0);
    }

    pid_t pid_ = -1;
    int hold_ = -1;
    data::Long taskId_ = 0;
};

class PlaceholderKillTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(db.create(), data::kOk); }

    bool stands(data::Long id)
    {
        data::Table<ScheduleRecord> t(db);
        t.rec.id = id;
        return t.get(ScheduleRecord::KeyID) == data::kOk;
    }
    // The tasks as horalyn-cli list and the schedule browser read them.
    std::vector<data::Long> listed()
    {
        std::vector<data::Long> out;
        for (const int key : {ScheduleRecord::KeyID, ScheduleRecord::KeyDate, ScheduleRecord::KeyDateEnabled}) {
            data::RecordStream<ScheduleRecord> stream(db, key, {"ID"});
            while (stream.next() == data::kOk)
                out.push_back(stream.rec.id);
        }
        return out;
    }

    TempDir dir;
    data::Database db{dir.file(data::kMainDatabaseFile), data::MainLayout()};
};

TEST_F(PlaceholderKillTest, APlaceholderOfAKilledProgramGoesAtTheNextStartAndOneOfARunningProgramStays)
{
    ProgramWithForm killed(db.path());
    ProgramWithForm running(db.path());
    ASSERT_NE(killed.taskId(), 0);
    ASSERT_NE(running.taskId(), 0);
    EXPECT_NE(killed.taskId(), running.taskId());
    EXPECT_TRUE(listed().empty());  // another program lists neither

    killed.killNow();
    platform::posix::PosixStationProbe probe;
    data::Stations restarted(db, probe);
    const std::int64_t now = std::time(nullptr);
    ASSERT_NE(restarted.keepAlive(now), 0);
    ASSERT_EQ(data::RemoveOrphanPlaceholders(db, restarted, now), data::kOk);

    EXPECT_FALSE(stands(killed.taskId()));
    data::Table<data::ScriptingRecord> item(db);
    item.rec.id = killed.taskId();
    item.rec.sequence = 1;
    EXPECT_EQ(item.get(data::ScriptingRecord::KeyID), data::kRecordNotFound);  // its script went with it
    EXPECT_TRUE(stands(running.taskId()));
    item.rec.id = running.taskId();
    EXPECT_EQ(item.get(data::ScriptingRecord::KeyID), data::kOk);
    EXPECT_TRUE(listed().empty());
}

}  // namespace
}  // namespace hrln::test
