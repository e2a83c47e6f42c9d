#pragma once

#include "data/event_log.h"
#include "scheduler/scheduler.h"
#include "store_fixture.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/fake_station_probe.h"
#include "support/scheduler_doubles.h"

#include <functional>
#include <memory>

namespace hrln::test {

// Answers Yes (or `reply`), after running `during` while its box is open.
struct InterleavingPrompter : FakePrompter {
    std::function<void()> during;
    platform::MessageButton reply = platform::MessageButton::Yes;
    platform::MessageButton ask(const platform::MessageBox& box) override
    {
        shown.push_back(box);
        if (during)
            during();
        return reply;
    }
};

// A scheduler over a fresh database, with every service it drives faked.
class SchedulerTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        messages.counter = &windows;
        scheduler = std::make_unique<scheduler::Scheduler>(scheduler::SchedulerServices{
            db, settings, log, clock, prompter, sound, frame, tray, scripts, messages, windows, nullptr,
            [this] { ++notified; }, &probe, &gate});
    }

    // A task repeated every day at `time`, from `date` on.
    data::ScheduleRecord daily(data::Long id, Date date, Time time, std::string_view type = "Display Message")
    {
        data::ScheduleRecord r = Task(id, date, time, "Task " + std::to_string(id));
        r.taskType = type;
        r.scheduleType = "Custom";
        r.every = 1;
        r.everyType = "day(s)";
        r.message = "Message of task " + std::to_string(id);
        r.command = "run-" + std::to_string(id);
        return r;
    }

    void add(const data::ScheduleRecord& r)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = r;
        ASSERT_EQ(t.add(), data::kOk);
    }

    // The task with `id`, or a record with id 0 when there is none.
    data::ScheduleRecord task(data::Long id)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec.id = id;
        if (t.get(data::ScheduleRecord::KeyID) != data::kOk)
            return {};
        return t.rec;
    }

    // Whether task `id` still waits for an occurrence (its history entries aside).
    bool waiting(data::Long id)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.set(data::ScheduleRecord::KeyID);
        while (t.next() == data::kOk)
            if (t.rec.id == id && !t.rec.isHistoryEntry())
                return true;
        return false;
    }

    std::vector<data::ScheduleRecord> history()
    {
        std::vector<data::ScheduleRecord> out;
        data::Table<data::ScheduleRecord> t(db);
        t.set(data::ScheduleRecord::KeyID);
        while (t.next() == data::kOk)
            if (t.rec.isHistoryEntry())
                out.push_back(t.rec);
        return out;
    }

    void tickAt(Date date, Time time)
    {
        clock.set(date, time);
        scheduler->tick();
    }

    FakeClock clock{MakeDate(3, 1, 2027), MakeTime(8, 0)};
    data::Settings settings;
    FakePrompter prompter;
    data::EventLog log{dir.file(data::kEventLogFile), clock, settings};
    FakeFrame frame;
    FakeTray trayBackend;
    FakeSound sound;
    FakeScripts scripts;
    FakeMessages messages;
    scheduler::MessageWindowCounter windows;
    scheduler::TrayController tray{trayBackend, frame, settings};
    FakeStationProbe probe{1};
    FakeStartGate gate;
    std::unique_ptr<scheduler::Scheduler> scheduler;
    int notified = 0;
};

}  // namespace hrln::test
