#include "scheduler/schedule_reports.h"

#include "store_fixture.h"

#include <sstream>

namespace hrln::test {
namespace {

using scheduler::ScheduleReport;

const Date kDay = MakeDate(12, 8, 2026);

class ScheduleReportTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        add(Task(1, kDay + 2, MakeTime(9, 0), "Late", "Work"));
        add(Task(2, kDay, MakeTime(15, 0), "Afternoon", "home"));
        add(Task(3, kDay, MakeTime(8, 0), "Morning", "Work"));
        data::ScheduleRecord off = Task(4, kDay + 1, MakeTime(9, 0), "Switched off", "Work");
        off.disabled = 1;
        add(off);
        data::ScheduleRecord history = Task(5, kDay - 1, MakeTime(9, 0), "Performed", "Home");
        history.disabled = history.completed = 1;
        add(history);
    }

    void add(const data::ScheduleRecord& r)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = r;
        ASSERT_EQ(t.add(), data::kOk);
    }

    // "group | task" for every row, read in batches of two.
    std::vector<std::string> rows(ScheduleReport kind, scheduler::ScheduleReportOptions options = {})
    {
        auto source = scheduler::MakeScheduleReport(db, kind, std::move(options));
        const std::size_t task = kind == ScheduleReport::DateOrder ? 1 : 2;
        std::vector<std::string> out;
        for (std::int64_t first = 0;;) {
            std::vector<report::Row> batch;
            const int n = source->read(first, 2, batch);
            EXPECT_EQ(static_cast<std::size_t>(n), batch.size());
            for (const report::Row& r : batch)
                out.push_back(r.group + " | " + r.cells.at(task));
            first += n;
            if (n < 2)
                break;
        }
        EXPECT_EQ(source->error(), data::kOk);
        return out;
    }
};

TEST_F(ScheduleReportTest, DateOrderGroupsByDayAndLeavesOutDisabledTasksAndHistory)
{
    EXPECT_EQ(rows(ScheduleReport::DateOrder),
              (std::vector<std::string>{"Tuesday, December 8, 2026 | Morning", "Tuesday, December 8, 2026 | Afternoon",
                                        "Thursday, December 10, 2026 | Late"}));
}

TEST_F(ScheduleReportTest, OptionsTakeHistoryDisabledTasksAndADateRange)
{
    scheduler::ScheduleReportOptions o;
    o.includeHistory = true;
    EXPECT_EQ(rows(ScheduleReport::Brief, o),
              (std::vector<std::string>{" | Performed", " | Morning", " | Afternoon", " | Late"}));
    o.includeHistory = false;
    o.includeDisabled = true;
    EXPECT_EQ(rows(ScheduleReport::Brief, o),
              (std::vector<std::string>{" | Morning", " | Afternoon", " | Switched off", " | Late"}));
    o.includeHistory = true;
    o.from = kDay;
    o.to = kDay + 1;
    EXPECT_EQ(rows(ScheduleReport::Brief, o),
              (std::vector<std::string>{" | Morning", " | Afternoon", " | Switched off"}));
    o.from = kDay + 5;
    o.to = 0;
    EXPECT_TRUE(rows(ScheduleReport::Brief, o).empty());
}

TEST_F(ScheduleReportTest, CategoryOrderGroupsByCategoryAsTheKeyComparesIt)
{
    EXPECT_EQ(rows(ScheduleReport::CategoryOrder),
              (std::vector<std::string>{"home | Afternoon", "Work | Morning", "Work | Late"}));
    scheduler::ScheduleReportOptions o;
    o.category = "HOME";
    o.includeHistory = true;
    EXPECT_EQ(rows(ScheduleReport::SpecificCategory, o),
              (std::vector<std::string>{"Home | Performed", "home | Afternoon"}));
    o.category = "work";  // a category filter on a report by date
    EXPECT_EQ(rows(ScheduleReport::Brief, o), (std::vector<std::string>{" | Morning", " | Late"}));
}

TEST_F(ScheduleReportTest, RowsSayTheRuleTheStateAndTheDetails)
{
    data::ScheduleRecord r = Task(9, kDay + 3, MakeTime(7, 0), "Backup", "Work");
    r.taskType = "Both";
    r.command = "/usr/bin/backup --all";
    r.message = "Check the disk";
    r.scheduleType = "Day of Week";
    r.saturday = 1;
    add(r);
    scheduler::ScheduleReportOptions o;
    o.from = kDay + 3;
    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::CategoryOrder, o);
    std::vector<report::Row> batch;
    ASSERT_EQ(source->read(0, 10, batch), 1);
    EXPECT_EQ(batch[0].cells,
              (std::vector<std::string>{"Dec 11, 2026", "7:00 AM", "Backup", "Both", "Every Saturday at 7:00 AM"}));
    EXPECT_EQ(batch[0].detail, "Program: /usr/bin/backup --all\nCheck the disk");
    EXPECT_EQ(source->criteria(), "From December 11, 2026 on");

    o.includeDisabled = o.includeHistory = true;
    o.from = 0;
    auto all = scheduler::MakeScheduleReport(db, ScheduleReport::Brief, o);
    batch.clear();
    ASSERT_EQ(all->read(0, 10, batch), 6);
    EXPECT_EQ(batch[0].cells.back(), "Display Message (history)");
    EXPECT_EQ(batch[3].cells.back(), "Display Message (disabled)");
    EXPECT_EQ(all->criteria(), "history entries included; disabled tasks included");
}

// The same rows whether read in one go or a few at a time, with a read out of
// order in between: the pager's step from the last page agrees with an offset.
TEST_F(ScheduleReportTest, ReadingOnAndReadingAtAnOffsetGiveTheSameRows)
{
    for (int i = 0; i < 50; ++i)
        add(Task(100 + i, kDay + i % 7, MakeTime(6, i), "T" + std::to_string(i), "Work"));
    auto whole = scheduler::MakeScheduleReport(db, ScheduleReport::Brief, {});
    std::vector<report::Row> all;
    ASSERT_EQ(whole->read(0, 100, all), 53);
    auto paged = scheduler::MakeScheduleReport(db, ScheduleReport::Brief, {});
    std::vector<report::Row> pieces;
    for (std::int64_t first : {0, 7, 14, 3, 10, 17, 24, 31, 38, 45, 52}) {
        std::vector<report::Row> batch;
        paged->read(first, 7, batch);
        for (std::size_t i = 0; i < batch.size(); ++i)
            EXPECT_EQ(batch[i].cells, all[static_cast<std::size_t>(first) + i].cells) << first + static_cast<int>(i);
    }
}

}  // namespace
}  // namespace hrln::test
