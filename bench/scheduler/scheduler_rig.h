#pragma once

// A scheduler over `db` with every service it drives faked, for the benchmarks.
#include "scheduler/scheduler.h"
#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"

#include <string>

namespace hrln::bench {

struct SchedulerRig {
    SchedulerRig(data::Database& database, Date today, Time now, int historyExpires, const std::string& logFile)
        : db(database), clock(today, now), log(logFile, clock, settings)
    {
        settings.historyExpires = historyExpires;  // read by the scheduler only when it ticks
    }

    data::Database& db;
    test::FakeClock clock;
    data::Settings settings;
    test::FakePrompter prompter;
    data::EventLog log;
    test::FakeFrame frame;
    test::FakeTray trayBackend;
    test::FakeSound sound;
    test::FakeScripts scripts;
    test::FakeMessages messages;
    scheduler::MessageWindowCounter windows;
    scheduler::TrayController tray{trayBackend, frame, settings};
    scheduler::Scheduler scheduler{scheduler::SchedulerServices{db, settings, log, clock, prompter, sound, frame,
                                                                tray, scripts, messages, windows, nullptr, nullptr}};
};

}  // namespace hrln::bench
