#include "cli/task_commands.h"

#include "cli/task_database.h"
#include "cli/values.h"
#include "data/record_stream.h"
#include "data/schedule_store.h"
#include "data/table.h"

#include <optional>
#include <ostream>
#include <type_traits>

namespace hrln::cli {

const char* const kListHelp =
    "Usage: horalyn-cli list [--history]\n"
    "\n"
    "Prints the tasks of the schedule in the data folder in date order, one line\n"
    "each with these fields separated by tabs:\n"
    "  ID, date (YYYY-MM-DD), time (HH:MM:SS), task type, schedule type, description\n"
    "A tab, line break or backslash inside a text is written as \\t, \\n or \\\\,\n"
    "any other control character escaped (\\x1b, \\u009b), never sent as it is.\n"
    "\n"
    "Exit status 2, with the reason, when there is no schedule in the data folder\n"
    "or it cannot be read.\n"
    "\n"
    "Options:\n"
    "  --history  print the history entries (what has been performed) instead of\n"
    "             the tasks\n"
    "  --help     show this text\n";

const char* const kShowHelp =
    "Usage: horalyn-cli show ID\n"
    "\n"
    "Prints every field of the task (or history entry) with that ID, one\n"
    "'Name: value' line each, under the field's stored name and in record order.\n"
    "Dates are written YYYY-MM-DD and times HH:MM:SS.hh (empty when not set),\n"
    "flags 0 or 1; a line break, tab or backslash inside a text is written as\n"
    "\\n, \\t or \\\\, any other control character escaped (\\x1b, \\u009b).\n"
    "\n"
    "Exit status 1 when there is no task with that ID.\n";

const char* const kDeleteHelp =
    "Usage: horalyn-cli delete ID\n"
    "\n"
    "Deletes the task (or history entry) with that ID together with its script\n"
    "items and its links to contacts, all or nothing. Prints nothing.\n"
    "\n"
    "Exit status 1 when there is no task with that ID.\n";

namespace {

// The one ID operand of `show` and `delete`; a reason when there is not exactly one.
std::variant<data::Long, std::string> TaskId(const Arguments& given)
{
    if (given.operands.empty())
        return std::string("a task ID is required");
    if (given.operands.size() > 1)
        return "unexpected argument " + Quoted(given.operands[1]) + "; try --help";
    const std::optional<int> id = ParseWhole(given.operands.front());
    if (!id || *id < 1)
        return "bad task ID " + Quoted(given.operands.front()) + " (a whole number from 1)";
    return data::Long{*id};
}

// Opens the database and reads the task with the ID the arguments name into
// `schedule`; the command's status when that fails, after saying why.
std::optional<int> ReadTask(const Arguments& given, const CommandContext& context, TaskDatabase& store,
                            std::optional<data::Table<data::ScheduleRecord>>& schedule)
{
    const auto id = TaskId(given);
    if (auto* reason = std::get_if<std::string>(&id))
        return context.fail(*reason);
    const std::string missing = "no task with ID " + std::to_string(std::get<data::Long>(id));
    if (const int err = store.open(TaskDatabase::IfMissing::Absent); err == data::kNoFile)
        return context.fail(missing, kTaskNotFound);
    else if (err != data::kOk)
        return kFailed;
    schedule.emplace(store.db());
    schedule->rec.id = std::get<data::Long>(id);
    if (const int err = schedule->get(data::ScheduleRecord::KeyID); err == data::kRecordNotFound)
        return context.fail(missing, kTaskNotFound);
    else if (err != data::kOk)
        return store.fail("cannot read the task", err);
    return std::nullopt;
}

// A field's value as `show` writes it.
template <class Field>
std::string FieldText(const data::ScheduleRecord& task, const Field& field)
{
    if constexpr (std::is_integral_v<Field>) {
        const void* const at = &field;
        if (at == &task.date || at == &task.lastRunDate || at == &task.advanceWarnDate)
            return FormatD17(static_cast<Date>(field));
        if (at == &task.time || at == &task.lastRunTime || at == &task.advanceWarnTime)
            return FormatTimeHundredths(static_cast<Time>(field));
        return std::to_string(static_cast<long long>(field));
    } else {
        return OneLine(field.view());
    }
}

}  // namespace

int RunList(const Arguments& given, const CommandContext& context)
{
    if (!given.operands.empty())
        return context.fail("unexpected argument " + Quoted(given.operands.front()) + "; try --help");
    const bool history = !given.options.empty();

    TaskDatabase store(context);
    // A missing file is told as the program tells it: an empty list would pass
    // a wrong data folder off as an empty schedule.
    if (store.open(TaskDatabase::IfMissing::Fail) != data::kOk)
        return kFailed;

    // One statement over the date key, history entries told apart in it;
    // the tasks alone have an index of their own, so a long history costs
    // their list nothing.
    data::RecordStream<data::ScheduleRecord> schedule(
        store.db(), data::ScheduleRecord::KeyDate,
        {"ID", "Date", "Time", "TaskType", "ScheduleType", "Description"},
        data::FieldMatch{{{"Disabled", 1}, {"Completed", 1}}, history},
        history ? std::string() : std::string(data::kTasksByDateIndex));
    int err = data::kOk;
    while ((err = schedule.next()) == data::kOk) {
        const data::ScheduleRecord& task = schedule.rec;
        context.out << task.id << '\t' << FormatD17(task.date) << '\t' << FormatT7(task.time) << '\t'
                    << OneLine(task.taskType.view()) << '\t' << OneLine(task.scheduleType.view()) << '\t'
                    << OneLine(task.description.view()) << '\n';
    }
    if (err != data::kRecordNotAvailable)
        return store.fail("cannot read the schedule", err);
    return kDone;
}

int RunShow(const Arguments& given, const CommandContext& context)
{
    TaskDatabase store(context);
    std::optional<data::Table<data::ScheduleRecord>> schedule;
    if (const auto status = ReadTask(given, context, store, schedule))
        return *status;
    const data::ScheduleRecord& task = schedule->rec;
    data::ScheduleRecord::fields(task, [&](const char* name, const auto& field) {
        context.out << name << ": " << FieldText(task, field) << '\n';
    });
    return kDone;
}

int RunDelete(const Arguments& given, const CommandContext& context)
{
    TaskDatabase store(context);
    std::optional<data::Table<data::ScheduleRecord>> schedule;
    if (const auto status = ReadTask(given, context, store, schedule))
        return *status;
    if (const int err = data::DeleteTask(*schedule); err != data::kOk)
        return store.fail("cannot delete the task", err);
    return kDone;
}

}  // namespace hrln::cli
