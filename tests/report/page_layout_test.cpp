#include "report/page_layout.h"

#include "pim/pim_reports.h"
#include "report_fixture.h"
#include "scheduler/schedule_reports.h"

#include <algorithm>
#include <map>
#include <regex>
#include <set>

namespace hrln::test {
namespace {

using scheduler::ScheduleReport;

const Date kFirstDay = MakeDate(12, 1, 2026);

std::string DayTitle(Date d)
{
    static const char* const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return std::string(names[Weekday(d)]) + ", " + FormatD4(d);
}

class PageLayoutTest : public ReportTest {
protected:
    data::ScheduleRecord& add(data::ScheduleRecord r)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = r;
        EXPECT_EQ(t.add(), data::kOk);
        added.push_back(r);
        return added.back();
    }

    std::vector<data::ScheduleRecord> added;
};

// Tasks spread over twelve days at many times, added out of order.
TEST_F(PageLayoutTest, DateOrderPrintsEveryTaskOnceUnderItsDayInDateAndTimeOrder)
{
    for (int i = 0; i < 240; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Task%04d", i);
        add(Task(i + 1, kFirstDay + (i * 7) % 12, MakeTime((i * 5) % 24, (i * 13) % 60), name,
                 i % 3 == 0 ? "Work" : "Home"));
    }
    data::ScheduleRecord off = Task(1001, kFirstDay, MakeTime(9, 0), "Switched", "Work");
    off.disabled = 1;
    add(off);
    data::ScheduleRecord done = Task(1002, kFirstDay, MakeTime(9, 0), "Performed", "Work");
    done.disabled = 1;
    done.completed = 1;
    add(done);

    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::DateOrder, {});
    const auto pages = render(*source);
    ASSERT_GT(pages.size(), 3u) << "the test needs page breaks";
    expectFrame(pages, "Schedule by Date", {"Time", "Task", "Category", "Type", "Repeats"});

    std::map<std::string, Date> days;
    for (Date d = kFirstDay; d < kFirstDay + 12; ++d)
        days[DayTitle(d)] = d;
    const std::regex taskName("Task(\\d{4})");
    std::vector<int> order;
    Date day = 0;
    Date lastDay = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        bool firstGroup = true;
        for (const std::string& line : pages[p]) {
            std::string t = Trimmed(line);
            const bool continued = t.ends_with(" (continued)");
            if (continued)
                t.resize(t.size() - std::string(" (continued)").size());
            if (auto found = days.find(t); found != days.end()) {
                day = found->second;
                if (firstGroup && p > 0)
                    EXPECT_EQ(continued, day == lastDay) << "page " << p + 1 << ": " << line;
                else
                    EXPECT_FALSE(continued) << line;
                firstGroup = false;
                continue;
            }
            std::smatch m;
            if (std::regex_search(line, m, taskName)) {
                const int i = std::stoi(m[1]);
                order.push_back(i);
                EXPECT_EQ(day, added[static_cast<std::size_t>(i)].date) << "Task" << m[1] << " under the wrong day";
                lastDay = day;
            }
            EXPECT_EQ(line.find("Switched"), std::string::npos);
            EXPECT_EQ(line.find("Performed"), std::string::npos);
        }
    }
    std::vector<int> expected(240);
    for (int i = 0; i < 240; ++i)
        expected[static_cast<std::size_t>(i)] = i;
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        const auto& x = added[static_cast<std::size_t>(a)];
        const auto& y = added[static_cast<std::size_t>(b)];
        return std::pair(x.date, x.time) < std::pair(y.date, y.time);
    });
    EXPECT_EQ(order, expected);
}

// Messages of many lengths, up to 1,400 characters, and one word longer than
// the line: every word of every message is printed once, in order, whole,
// however the lines and the pages fall.
TEST_F(PageLayoutTest, LongMessagesWrapAndNothingIsCutAtAPageBreak)
{
    std::vector<std::vector<std::string>> words(60);
    for (int i = 0; i < 60; ++i) {
        std::string message;
        const int n = 10 + (i * 37) % 170;
        for (int k = 0; k < n; ++k) {
            const std::string word = "m" + std::to_string(i) + "w" + std::to_string(k);
            if (message.size() + word.size() + 1 > 1000)
                break;  // the memo's width
            words[static_cast<std::size_t>(i)].push_back(word);
            message += (k ? " " : "") + word;
        }
        data::ScheduleRecord r = Task(i + 1, kFirstDay + i / 20, MakeTime(8, i % 60), "Long" + std::to_string(i));
        r.message = message;
        add(r);
    }
    data::ScheduleRecord thousand = Task(100, kFirstDay + 5, MakeTime(7, 0), "Thousand");
    std::string text;
    while (text.size() < 1000)
        text += "lorem ipsum dolor sit amet ";
    text.resize(1000);
    thousand.message = text;
    add(thousand);
    const std::string huge(300, 'x');
    data::ScheduleRecord unbroken = Task(101, kFirstDay + 5, MakeTime(7, 30), "Unbroken");
    unbroken.message = "start " + huge + " end";
    add(unbroken);

    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::DateOrder, {});
    const auto pages = render(*source);
    ASSERT_GT(pages.size(), 3u);

    // The rows' lines, page after page, without what frames each page.
    std::vector<std::string> printed;
    std::vector<std::size_t> lineOf;
    std::size_t lineNumber = 0;
    std::string joined;
    for (const auto& page : pages)
        for (const auto& line : BodyLines(page, "Repeats")) {
            if (Trimmed(line).ends_with("(continued)"))
                continue;
            for (const std::string& w : Words(line)) {
                printed.push_back(w);
                lineOf.push_back(lineNumber);
            }
            for (char c : line)
                if (c != ' ')
                    joined += c;
            ++lineNumber;
        }
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::size_t at = 0;
        for (const std::string& w : words[i]) {
            const auto found = std::find(printed.begin() + static_cast<std::ptrdiff_t>(at), printed.end(), w);
            ASSERT_NE(found, printed.end()) << w << " missing or out of order";
            EXPECT_EQ(std::count(printed.begin(), printed.end(), w), 1) << w;
            at = static_cast<std::size_t>(found - printed.begin()) + 1;
        }
    }
    // The 1,000-character message runs over several lines, and all of it is there.
    const auto first = std::find(printed.begin(), printed.end(), "lorem");
    ASSERT_NE(first, printed.end());
    std::set<std::size_t> lines;
    std::string again;
    for (auto it = first; it != printed.end() && *it != "Unbroken" && again.size() < 2000; ++it) {
        const auto index = static_cast<std::size_t>(it - printed.begin());
        if (!again.empty() && lineOf[index] == lineOf[index - 1])
            again += ' ';
        else if (!again.empty())
            again += ' ';
        again += *it;
        lines.insert(lineOf[index]);
        if (again.size() >= text.size())
            break;
    }
    EXPECT_GE(lines.size(), 5u);
    EXPECT_EQ(again.substr(0, Trimmed(text).size()), Trimmed(text));
    // The word longer than a line is broken across lines, not cut.
    EXPECT_NE(joined.find("start" + huge + "end"), std::string::npos);
}

TEST_F(PageLayoutTest, ReportWithoutRowsHasOnePageSayingSo)
{
    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::Brief, {});
    const auto pages = render(*source);
    ASSERT_EQ(pages.size(), 1u);
    expectFrame(pages, "Brief Schedule", {"Date", "Time", "Task", "Category"});
    bool said = false;
    for (const auto& l : pages[0])
        said = said || Trimmed(l) == "There is nothing to report.";
    EXPECT_TRUE(said);
}

// One category's tasks under its header, continued on each further page.
TEST_F(PageLayoutTest, CategoryReportGroupsByCategoryAndRepeatsTheHeaderOnEveryPage)
{
    for (int i = 0; i < 150; ++i)
        add(Task(i + 1, kFirstDay + i % 9, MakeTime(10, i % 60), "Cat" + std::to_string(1000 + i),
                 i % 2 ? "Garden" : "Work"));
    scheduler::ScheduleReportOptions options;
    options.category = "work";  // as the keys compare, in any case
    auto source = scheduler::MakeScheduleReport(db, ScheduleReport::SpecificCategory, options);
    const auto pages = render(*source);
    ASSERT_GE(pages.size(), 2u);
    expectFrame(pages, "Schedule for One Category", {"Date", "Time", "Task", "Type", "Repeats"});
    int tasks = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        std::vector<std::string> groups;
        for (const auto& l : pages[p]) {
            const std::string t = Trimmed(l);
            if (t == "Work" || t == "Work (continued)" || t == "Garden")
                groups.push_back(t);
            if (l.find("Cat1") != std::string::npos)
                ++tasks;
        }
        ASSERT_EQ(groups.size(), 1u) << "page " << p + 1;
        EXPECT_EQ(groups[0], p == 0 ? "Work" : "Work (continued)");
    }
    EXPECT_EQ(tasks, 75);
}

TEST_F(PageLayoutTest, ToDoByPriorityGroupsItemsWithOpenOnesFirst)
{
    data::Table<data::TodoRecord> t(db);
    const struct {
        int priority;
        int done;
        const char* text;
    } items[] = {{3, 1, "Paint fence"}, {1, 0, "Call bank"}, {3, 0, "Buy paint"}, {1, 1, "Book train"}};
    for (const auto& item : items) {
        t.clear();
        t.rec.priority = static_cast<data::Byte>(item.priority);
        t.rec.done = static_cast<data::Byte>(item.done);
        t.rec.toDo = item.text;
        t.rec.category = "Home";
        ASSERT_EQ(t.add(), data::kOk);
    }
    auto source = pim::MakeTodoReport(db, pim::TodoReport::Priority, {});
    const auto pages = render(*source);

    ASSERT_EQ(pages.size(), 1u);
    expectFrame(pages, "To Do List by Priority", {"Done", "To", "Do", "Category", "Completed"});
    std::vector<std::string> seen;
    for (const auto& l : pages[0]) {
        const std::string text = Trimmed(l);
        for (const char* want : {"Priority 1", "Priority 3", "Call bank", "Book train", "Buy paint", "Paint fence"})
            if (text == want ||
                (text.find(want) != std::string::npos && std::string(want).find("Priority") == std::string::npos))
                seen.emplace_back(want);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Priority 1", "Call bank", "Book train", "Priority 3", "Buy paint",
                                              "Paint fence"}));
}

}  // namespace
}  // namespace hrln::test
