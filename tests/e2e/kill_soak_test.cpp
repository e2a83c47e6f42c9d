// The real program killed with SIGKILL again and again, at random moments and
// right after it writes to the database, while its tasks come due: every
// occurrence is still performed exactly once and leaves one history entry.
// The same with two programs on one database file while a third connection
// holds the write lock at random, and with the desktop's file dialog open on
// the data folder while another process adds the tasks.
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace hrln::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr double kTickSeconds = 1.25;
constexpr double kSpacing = 1.2;  // seconds between two tasks' moments

double WallSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Date and time of a wall-clock moment, as the program's clock gives them.
std::pair<Date, Time> LocalMoment(double wall)
{
    const auto seconds = static_cast<std::time_t>(wall);
    tm local{};
    localtime_r(&seconds, &local);
    const int hundredths = static_cast<int>((wall - static_cast<double>(seconds)) * 100);
    return {MakeDate(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900),
            MakeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), hundredths)};
}

// One copy of the program on data folder `home`/horalyn.
class Station {
public:
    explicit Station(fs::path home) : home_(std::move(home)) {}
    ~Station() { kill(SIGKILL); }
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    void start()
    {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string_view(*e).rfind("XDG_DATA_HOME=", 0) != 0)
                env.emplace_back(*e);
        env.push_back("XDG_DATA_HOME=" + home_.string());
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = HORALYN_PROGRAM;
        char* argv[] = {program.data(), nullptr};
        ASSERT_EQ(posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
        startedAt_ = WallSeconds();
        starts_.push_back(startedAt_);
    }

    void kill(int signal)
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, signal);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    fs::path folder() const { return home_ / "horalyn"; }
    const std::vector<double>& starts() const { return starts_; }

private:
    fs::path home_;
    pid_t pid_ = -1;
    double startedAt_ = 0;
    std::vector<double> starts_;
};

struct Performed {
    int id = 0;
    double at = 0;
};

class KillSoakTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        ASSERT_EQ(desktop.startDisplay(), "");
        ASSERT_EQ(desktop.startWindowManager(), "");
        scratch = desktop.scratch();
        // Each performance leaves a line: the task and the moment it ran.
        const fs::path marker = scratch / "m";
        std::ofstream(marker) << "#!/bin/sh\necho \"$1 $(date +%s.%N)\" >> \"" << (scratch / "markers").string()
                              << "\"\n";
        fs::permissions(marker, fs::perms::owner_all);
    }

    fs::path makeHome(const std::string& name)
    {
        const fs::path home = scratch / name;
        fs::create_directories(home / "horalyn");
        WriteFile((home / "horalyn" / "HRLN.INI").string(), "[Settings]\nLogEvents=1\n");
        return home;
    }

    // `count` once-only tasks, one every `spacing` seconds from `first` on.
    void addTasks(const fs::path& database, int count, double first, double spacing)
    {
        data::Database db(database.string(), data::MainLayout());
        ASSERT_EQ(db.create(), data::kOk);
        data::Table<data::ScheduleRecord> t(db);
        ASSERT_EQ(db.begin(), data::kOk);
        for (int id = 1; id <= count; ++id) {
            t.clear();
            const auto [date, time] = LocalMoment(first + spacing * (id - 1));
            t.rec.id = id;
            t.rec.description = "Soak " + std::to_string(id);
            t.rec.taskType = "Run Program";
            t.rec.scheduleType = "Once";
            t.rec.command = "./m " + std::to_string(id);
            t.rec.path = scratch.string();
            t.rec.date = date;
            t.rec.time = time;
            due[id] = first + spacing * (id - 1);
            ASSERT_EQ(t.add(), data::kOk);
        }
        ASSERT_EQ(db.commit(), data::kOk);
    }

    std::vector<Performed> performed() const
    {
        std::vector<Performed> out;
        std::ifstream in(scratch / "markers");
        Performed p;
        while (in >> p.id >> p.at)
            out.push_back(p);
        return out;
    }

    // Kills one of `stations` `kills` times, now after a random pause, now a
    // few milliseconds after the database file was written, restarting it at once.
    void killRepeatedly(std::vector<Station*> stations, const fs::path& database, int kills, double until)
    {
        std::mt19937 random(20261208);
        const fs::path wal = database.string() + "-wal";
        for (int k = 0; k < kills && WallSeconds() < until; ++k) {
            Station& victim = *stations[random() % stations.size()];
            if (random() % 2 == 0) {
                std::this_thread::sleep_for(milliseconds(300 + random() % 2200));
            } else {
                // Right after a write: the moments between a claim, a record and a start.
                const auto written = [&] {
                    struct stat st {};
                    return stat(wal.c_str(), &st) == 0 ? st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec
                                                       : 0LL;
                };
                const long long before = written();
                const auto limit = Clock::now() + std::chrono::seconds(4);
                while (written() == before && Clock::now() < limit)
                    std::this_thread::sleep_for(std::chrono::microseconds(500));
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
            }
            victim.kill(SIGKILL);
            victim.start();
        }
    }

    // Every task ran once, left one history entry, the file is whole, and no
    // due task waited on a running program for more than two ticks beyond the
    // tasks performed before it.
    // `stations`: the programs whose starts the waits are judged from; none
    // judges no waits.
    void expectExactlyOnce(const fs::path& database, const std::vector<const Station*>& stations)
    {
        std::map<int, std::vector<double>> runs;
        std::vector<Performed> all = performed();
        for (const Performed& p : all)
            runs[p.id].push_back(p.at);
        for (const auto& [id, at] : due)
            EXPECT_EQ(runs[id].size(), 1u) << "task " << id << " ran " << runs[id].size() << " times";
        EXPECT_EQ(runs.size(), due.size());

        data::Database db(database.string(), data::MainLayout());
        ASSERT_EQ(db.open(), data::kOk);
        data::Table<data::ScheduleRecord> t(db);
        t.set(data::ScheduleRecord::KeyID);
        std::map<std::string, int> history;
        int left = 0;
        while (t.next() == data::kOk)
            t.rec.isHistoryEntry() ? ++history[t.rec.description.str()] : ++left;
        EXPECT_EQ(left, 0) << "tasks not performed";
        for (const auto& [id, at] : due)
            EXPECT_EQ(history["Soak " + std::to_string(id)], 1) << "history of task " << id;

        // Through our own connection: the keys' collation lives there.
        sqlite3_stmt* check = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db.handle(), "PRAGMA integrity_check", -1, &check, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
        sqlite3_finalize(check);

        // A program counts as able to work from a few seconds after its start.
        std::vector<double> starts;
        for (const Station* s : stations)
            starts.insert(starts.end(), s->starts().begin(), s->starts().end());
        std::sort(starts.begin(), starts.end());
        constexpr double kStartUp = 4.0;
        for (const auto& [id, dueAt] : due) {
            if (runs[id].size() != 1 || stations.empty())
                continue;
            const double ran = runs[id].front();
            // From the later of its moment and the latest start before it ran.
            double from = dueAt;
            for (double s : starts)
                if (s <= ran)
                    from = std::max(from, s + kStartUp);
            const auto before = std::count_if(all.begin(), all.end(),
                                              [&](const Performed& p) { return p.at >= from && p.at < ran; });
            EXPECT_LE(ran - from, kTickSeconds * (2 + static_cast<double>(before)) + 0.5)
                << "task " << id << " waited " << ran - dueAt << " s after its moment";
        }
    }

    DesktopSession desktop;
    fs::path scratch;
    std::map<int, double> due;
};

TEST_F(KillSoakTest, EveryTaskRunsOnceThroughSixtyKills)
{
    const fs::path home = makeHome("one");
    const fs::path database = home / "horalyn" / "HRLN.TPS";
    const double first = WallSeconds() + 4;
    addTasks(database, HRLN_SOAK_TASKS, first, kSpacing);
    Station station(home);
    station.start();
    const double last = first + kSpacing * (HRLN_SOAK_TASKS - 1);
    killRepeatedly({&station}, database, HRLN_SOAK_KILLS, last);
    // Time to catch up, then a clean stop.
    WaitUntil([&] { return performed().size() >= due.size(); }, milliseconds(60'000));
    std::this_thread::sleep_for(milliseconds(3000));
    station.kill(SIGTERM);
    EXPECT_GE(station.starts().size(), HRLN_SOAK_KILLS / 2u) << "too few kills to prove anything";
    expectExactlyOnce(database, {&station});
}

TEST_F(KillSoakTest, TwoProgramsOnOneFileWithTheLockHeldAtRandom)
{
    const fs::path homeA = makeHome("a");
    const fs::path homeB = makeHome("b");
    const fs::path database = homeA / "horalyn" / "HRLN.TPS";
    const double first = WallSeconds() + 4;
    addTasks(database, HRLN_SOAK_TASKS, first, kSpacing);
    fs::create_symlink(database, homeB / "horalyn" / "HRLN.TPS");

    std::atomic<bool> done{false};
    std::thread locker([&] {
        std::mt19937 random(7);
        data::Database db(database.string(), data::MainLayout());
        if (db.open() != data::kOk)
            return;
        while (!done) {
            if (db.begin(milliseconds(5000)) == data::kOk) {
                std::this_thread::sleep_for(milliseconds(random() % 2500));
                db.commit();
            }
            std::this_thread::sleep_for(milliseconds(random() % 1500));
        }
    });
    Station a(homeA);
    Station b(homeB);
    a.start();
    b.start();
    const double last = first + kSpacing * (HRLN_SOAK_TASKS - 1);
    killRepeatedly({&a, &b}, database, HRLN_SOAK_KILLS, last);
    done = true;
    locker.join();
    WaitUntil([&] { return performed().size() >= due.size(); }, milliseconds(60'000));
    std::this_thread::sleep_for(milliseconds(3000));
    a.kill(SIGTERM);
    b.kill(SIGTERM);
    EXPECT_GE(a.starts().size() + b.starts().size(), HRLN_SOAK_KILLS / 2u) << "too few kills to prove anything";
    // The lock holder's waits are delays of their own: only exactly-once is judged here.
    expectExactlyOnce(database, {});
}

// How many kills the dialog soak makes: HRLN_DIALOG_SOAK_KILLS from the
// environment for a longer run, the build's own number otherwise.
int DialogSoakKills()
{
    const char* asked = std::getenv("HRLN_DIALOG_SOAK_KILLS");
    return asked != nullptr && std::atoi(asked) > 0 ? std::atoi(asked) : HRLN_DIALOG_SOAK_KILLS;
}

TEST_F(KillSoakTest, AFileDialogOpenOnTheDataFolderWhileAnotherProcessAddsTheTasks)
{
    const fs::path home = makeHome("dialog");
    const fs::path database = home / "horalyn" / "HRLN.TPS";
    const int kills = DialogSoakKills();
    // About four seconds a kill: start, dialog, a pause; a task every spacing.
    const int tasks = static_cast<int>(kills * 4 / kSpacing) + 10;
    const double first = WallSeconds() + 8;
    for (int id = 1; id <= tasks; ++id)
        due[id] = first + kSpacing * (id - 1);
    addTasks(database, 0, first, kSpacing);  // the empty file

    // The other process: horalyn-cli adds each task a few seconds before its moment.
    std::atomic<int> added{0};
    std::thread writer([&] {
        for (int id = 1; id <= tasks; ++id) {
            while (WallSeconds() < due[id] - 3)
                std::this_thread::sleep_for(milliseconds(20));
            const auto [date, time] = LocalMoment(due[id]);
            const std::string add = "XDG_DATA_HOME='" + home.string() + "' '" HORALYN_CLI "' add --task-type "
                                    "'Run Program' --description 'Soak " + std::to_string(id) + "' --command './m " +
                                    std::to_string(id) + "' --path '" + scratch.string() + "' --date " +
                                    FormatD17(date) + " --time " + FormatT7(time) + " >/dev/null 2>&1";
            if (std::system(add.c_str()) == 0)
                ++added;
        }
    });

    Station station(home);
    station.start();
    std::mt19937 random(20261210);
    const double last = due[tasks];
    int dialogs = 0;
    int k = 0;
    for (; k < kills && WallSeconds() < last; ++k) {
        // File, Import, Schedule: the open dialog, on the data folder.
        if (WaitUntil([] { return Shown("Horalyn 97"); }, milliseconds(10'000))) {
            DesktopSession::run({"xdotool", "search", "--onlyvisible", "--name", "^Horalyn 97$", "windowactivate",
                                 "--sync"});
            DesktopSession::run({"xdotool", "key", "--delay", "80", "alt+f", "i", "s"});
            dialogs += WaitUntil([] { return Shown("Import Schedule"); }, milliseconds(5000));
        }
        std::this_thread::sleep_for(milliseconds(300 + random() % 2200));
        station.kill(SIGKILL);
        station.start();
    }
    writer.join();
    EXPECT_EQ(added, tasks) << "horalyn-cli failed to add some tasks";
    WaitUntil([&] { return performed().size() >= due.size(); }, milliseconds(60'000));
    std::this_thread::sleep_for(milliseconds(3000));
    station.kill(SIGTERM);
    std::printf("%d kills, %d of them with the dialog open, %d tasks\n", k, dialogs, tasks);
    EXPECT_GE(dialogs, kills / 2) << "the dialog seldom opened: too little to prove anything";
    // The program's start, its keys and the other process share the time:
    // only exactly-once is judged here.
    expectExactlyOnce(database, {});
}

}  // namespace
}  // namespace hrln::test
