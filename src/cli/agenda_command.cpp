#include "cli/agenda_command.h"

#include "cli/task_database.h"
#include "cli/values.h"
#include "scheduler/agenda.h"

#include <optional>
#include <ostream>
#include <string>

namespace hrln::cli {

const char* const kAgendaHelp =
    "Usage: horalyn-cli agenda [--days N]\n"
    "\n"
    "Prints every occurrence the scheduler will perform from now to the end of\n"
    "the N-th day (today being the first), in the order it performs them: each\n"
    "enabled task from its next occurrence on, as the scheduler moves it after\n"
    "performing it. Disabled tasks and history entries are not listed. One line\n"
    "per occurrence, with these fields separated by tabs:\n"
    "  date (YYYY-MM-DD), time (HH:MM:SS), state, ID, task type, schedule type,\n"
    "  description\n"
    "The state is \"due\", \"late\" for an occurrence whose time has passed (the\n"
    "scheduler performs it at once) or \"skip\" for one that will be passed over.\n"
    "Texts are escaped as by 'list'.\n"
    "\n"
    "Exit status 2, with the reason, when there is no schedule in the data folder\n"
    "or it cannot be read.\n"
    "\n"
    "Options:\n"
    "  --days N  how many days, 1 to 366 (default 7); 1 is the rest of today\n"
    "  --help    show this text\n";

namespace {

constexpr int kPage = 256;

const char* State(const scheduler::AgendaEntry& entry, const platform::DateTime& now)
{
    if (entry.skipped)
        return "skip";
    return CompareDateTime(entry.date, entry.time, now.date, now.time) < 0 ? "late" : "due";
}

}  // namespace

int RunAgenda(const Arguments& given, const CommandContext& context)
{
    if (!given.operands.empty())
        return context.fail("unexpected argument " + Quoted(given.operands.front()) + "; try --help");
    int days = 7;
    for (const auto& [option, value] : given.options) {
        const std::optional<int> n = ParseWhole(value);
        if (!n)
            return context.fail(std::string(option) + " must be a whole number, not " + Quoted(value));
        if (*n < 1 || *n > scheduler::Agenda::kMaxDays)
            return context.fail(std::string(option) + " must be from 1 to " +
                                std::to_string(scheduler::Agenda::kMaxDays));
        days = *n;
    }

    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Fail) != data::kOk)
        return kFailed;

    const platform::DateTime now = context.clock.now();
    scheduler::Agenda agenda(store.db(), now, days);
    // Page by page: the first lines are out before the rest is worked out.
    for (auto page = agenda.next(kPage); !page.empty(); page = agenda.next(kPage)) {
        for (const scheduler::AgendaEntry& e : page) {
            const data::ScheduleRecord& task = *e.task;
            context.out << FormatD17(e.date) << '\t' << FormatT7(e.time) << '\t' << State(e, now) << '\t'
                        << task.id << '\t' << OneLine(task.taskType.view()) << '\t'
                        << OneLine(task.scheduleType.view()) << '\t' << OneLine(task.description.view()) << '\n';
        }
    }
    if (agenda.error() != data::kOk)
        return store.fail("cannot read the schedule", agenda.error());
    return kDone;
}

}  // namespace hrln::cli
