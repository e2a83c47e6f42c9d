#include "cli/add_command.h"

#include "cli/stream_prompter.h"
#include "cli/task_database.h"
#include "cli/values.h"
#include "common/text.h"
#include "common/typed_input.h"
#include "data/schedule_store.h"
#include "data/settings.h"
#include "data/table.h"
#include "pim/categories.h"
#include "pim/record_warnings.h"
#include "recurrence/recurrence.h"
#include "scheduler/quick_reminder.h"
#include "scheduler/task_fields.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

namespace hrln::cli {

const char* const kAddHelp =
    "Usage: horalyn-cli add [--task-type TYPE] [--description TEXT] [--message TEXT]\n"
    "                       [--command COMMAND] [--path FOLDER] [--category NAME]\n"
    "                       [--type TYPE] [--days LIST] [--ordinals LIST] [--every N] [--unit UNIT]\n"
    "                       [--date YYYY-MM-DD] [--time TIME | --time +SECONDS | --time PHRASE]\n"
    "                       [--alarm FILE] [--warn] [--skip-if-missed] [--no-history]\n"
    "                       [--confirm] [--skip-next] [--disabled]\n"
    "\n"
    "Adds a task to the schedule in the data folder and prints its ID alone on\n"
    "standard output. A running scheduler picks the task up at its next tick.\n"
    "Texts longer than their field are cut to it.\n"
    "\n"
    "What the task does:\n"
    "  --task-type TYPE  \"Run Program\", \"Display Message\" (the default), \"Both\" or\n"
    "                    \"None\"; a \"None\" task is performed at 23:59:54.99 and takes\n"
    "                    no --time\n"
    "  --description TEXT  description or title of the task (40 characters)\n"
    "  --message TEXT    message text to display (1000 characters)\n"
    "  --command COMMAND program to start, with its parameters (80 characters);\n"
    "                    needed by \"Run Program\" and \"Both\", taken by no other type\n"
    "  --path FOLDER     folder to start the command in (80 characters), likewise\n"
    "  --category NAME   the task's category (default \"General\"); a name not in the\n"
    "                    categories yet is added to them, and one that is there in\n"
    "                    another case is taken as it is stored\n"
    "\n"
    "When it is performed:\n"
    "  --type TYPE       \"Once\" (the default), \"Day of Week\", \"Day of Month\", \"Monthly\",\n"
    "                    \"Yearly\" or \"Custom\"\n"
    "  --days LIST       weekdays for \"Day of Week\" and \"Day of Month\" (only for\n"
    "                    those), separated by commas: sun, mon, tue, wed, thu, fri, sat\n"
    "  --ordinals LIST   weeks of the month, only for \"Day of Month\": 1st, 2nd, 3rd,\n"
    "                    4th, last\n"
    "  --every N         units per \"Custom\" repetition (default 1)\n"
    "  --unit UNIT       unit of a \"Custom\" repetition: minute(s), hour(s), day(s),\n"
    "                    week(s), month(s) or year(s)\n"
    "  --date DATE       the first date to perform it, YYYY-MM-DD (default today;\n"
    "                    a repeating task: its first moment from now on)\n"
    "  --time TIME       its time, HH:MM, HH:MM:SS or HH:MM:SS.hh, or as typed in the\n"
    "                    program's time fields, 9 or 9.30pm (default now); or\n"
    "                    +SECONDS from now, carried into the next day past midnight;\n"
    "                    or a phrase counted from now: \"in 10 minutes\", \"in 2 h\",\n"
    "                    \"at 14:30\" (the next 14:30), \"tomorrow 9:00\" (these two\n"
    "                    kinds not with --date)\n"
    "\n"
    "Options:\n"
    "  --alarm FILE      play this sound file as an alarm (80 characters once made\n"
    "                    absolute, as the scheduler runs in its data folder);\n"
    "                    BEEP gives the system beep\n"
    "  --warn            warn if the task was not run on its date\n"
    "  --skip-if-missed  skip it if it was not run at its time (+/- 10 minutes)\n"
    "  --no-history      keep no history entry once it has been performed\n"
    "  --confirm         before performing it, offer to skip it\n"
    "  --skip-next       skip its next occurrence\n"
    "  --disabled        do not perform it\n"
    "  --help            show this text\n"
    "\n"
    "Options take their value as the next argument or after '=' (--time=+30).\n"
    "In multi-user mode the task belongs to the current user. A date that does not\n"
    "fit the rule, a moment already past (the task is then due at once) and an\n"
    "alarm file that is not there (yet) are warned about on standard error, and\n"
    "the task is added.\n"
    "\n"
    "Example:\n"
    "  horalyn-cli add --description \"Stand up\" --message \"Stretch your legs\" \\\n"
    "      --type Custom --every 1 --unit hour(s) --time +3600\n";

namespace {

constexpr std::string_view kDefaultCategory = "General";

template <class List>
bool OneOf(const List& texts, std::string_view value)
{
    return std::any_of(texts.begin(), texts.end(), [value](std::string_view t) { return t == value; });
}

data::Byte* FlagOf(data::ScheduleRecord& task, std::string_view flag)
{
    if (flag == "--warn")
        return &task.warn;
    if (flag == "--skip-if-missed")
        return &task.skipIfMissed;
    if (flag == "--no-history")
        return &task.noHistory;
    if (flag == "--confirm")
        return &task.userSkip;
    if (flag == "--skip-next")
        return &task.skipNextTime;
    if (flag == "--disabled")
        return &task.disabled;
    return nullptr;
}

// `now` moved on by `seconds`, whole days carried into the date.
platform::DateTime SecondsFrom(platform::DateTime now, int seconds)
{
    std::int64_t time = now.time + std::int64_t{seconds} * 100;
    const std::int64_t days = (time - 1) / kTicksPerDay;
    time -= days * kTicksPerDay;
    return {static_cast<Date>(now.date + days), static_cast<Time>(time)};
}

bool StartsProgram(const data::ScheduleRecord& task)
{
    return task.taskType == "Run Program" || task.taskType == "Both";
}

// A task that starts a program needs one, and a program given to any other
// task would never be started: both are refused rather than stored.
std::optional<std::string> CheckProgramOptions(const data::ScheduleRecord& task, const Arguments& given)
{
    if (StartsProgram(task)) {
        if (task.command.empty())
            return "a \"" + task.taskType.str() + "\" task needs --command, the program to start";
        return std::nullopt;
    }
    for (const auto& [option, value] : given.options)
        if (option == "--command" || option == "--path")
            return std::string(option) + " needs --task-type \"Run Program\" or \"Both\": a \"" + task.taskType.str() +
                   "\" task starts no program";
    return std::nullopt;
}

// What is odd about a task that is still worth adding, one line each.
void WarnAbout(const data::ScheduleRecord& task, platform::DateTime now, std::ostream& err)
{
    if (!recurrence::DateMatchesSchedule(task))
        err << "Warning: Date given does not match schedule type.\n";
    if (CompareDateTime(task.date, task.time, now.date, now.time) < 0)
        err << "Warning: " << FormatD17(task.date) << ' ' << FormatT7(task.time)
            << " has already passed: the task is due at once.\n";
    if (task.alarm != 0 && text::ToUpper(task.alarmFile.view()) != "BEEP") {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(task.alarmFile.str(), ec))
            err << "Warning: the alarm file " << Quoted(task.alarmFile.view())
                << " is not there; no alarm sounds unless it is when the task is performed.\n";
    }
}

}  // namespace

std::variant<data::ScheduleRecord, std::string> ParseAddArguments(const Arguments& given, platform::DateTime now)
{
    if (!given.operands.empty())
        return "unexpected argument " + Quoted(given.operands.front()) + "; try --help";

    data::ScheduleRecord task;
    task.taskType = "Display Message";
    task.scheduleType = "Once";
    task.category = kDefaultCategory;
    task.every = 1;
    task.date = now.date;
    task.time = now.time;
    bool dateGiven = false, timeGiven = false;
    int secondsFromNow = -1;  // --time +SECONDS; below 0 when not given
    std::optional<platform::DateTime> phraseAt;  // --time "in 10 minutes" and the like
    std::string phrase;

    for (const auto& [option, value] : given.options) {
        if (data::Byte* flag = FlagOf(task, option)) {
            *flag = 1;
        } else if (option == "--task-type") {
            task.taskType = value;
        } else if (option == "--description") {
            task.description = value;
        } else if (option == "--message") {
            task.message = value;
        } else if (option == "--command") {
            task.command = value;
        } else if (option == "--path") {
            task.path = value;
        } else if (option == "--category") {
            task.category = value;
        } else if (option == "--alarm") {
            std::error_code ec;
            // "BEEP" in any case is the system beep, stored as the word itself.
            const bool beep = text::ToUpper(text::Clip(value)) == "BEEP";
            const std::string file = value.empty() ? std::string()
                                     : beep        ? std::string(text::Clip(value))
                                                   : std::filesystem::absolute(value, ec).string();
            if (file.empty() || ec)
                return "bad alarm file " + Quoted(value);
            if (text::CharCount(file) > static_cast<std::size_t>(decltype(task.alarmFile)::kWidth))
                return "alarm file " + Quoted(file) + " is longer than 80 characters";
            task.alarm = 1;
            task.alarmFile = file;
        } else if (option == "--time" && value.starts_with('+')) {
            const std::optional<int> seconds = ParseWhole(value.substr(1));
            if (!seconds || *seconds < 0)
                return "bad time " + Quoted(value) + " (+SECONDS is a whole number of seconds from now)";
            secondsFromNow = *seconds;
            phraseAt.reset();
            timeGiven = true;
        } else if (option == "--time" && !ParseTime(value)) {
            // A time as the program's fields take it stands on the day given;
            // a phrase names its own day.
            secondsFromNow = -1;
            phraseAt.reset();
            timeGiven = true;
            if (const std::optional<Time> time = ParseTypedTime(value, "")) {
                task.time = *time;
            } else if (const auto at = scheduler::ParseWhenPhrase(value, now, "")) {
                phraseAt = at;
                phrase = value;
            } else {
                return "bad time " + Quoted(value) +
                       " (HH:MM, HH:MM:SS, 9.30pm, +SECONDS, or a phrase such as \"in 10 minutes\", \"in 2 h\", "
                       "\"at 14:30\" or \"tomorrow 9:00\")";
            }
        } else {
            if (auto reason = ApplyTaskOption(task, option, value))
                return std::move(*reason);
            dateGiven = dateGiven || option == "--date";
            if (option == "--time") {
                timeGiven = true;
                secondsFromNow = -1;
                phraseAt.reset();
            }
        }
    }

    if (!OneOf(scheduler::kTaskTypes, task.taskType.view()))
        return "unknown task type " + Quoted(task.taskType.view()) +
               " (use \"Run Program\", \"Display Message\", \"Both\" or \"None\")";
    if (!OneOf(scheduler::kScheduleTypes, task.scheduleType.view()))
        return "unknown schedule type " + Quoted(task.scheduleType.view()) +
               " (use \"Once\", \"Day of Week\", \"Day of Month\", \"Monthly\", \"Yearly\" or \"Custom\")";
    if (auto reason = CheckRuleOptions(task, given))
        return std::move(*reason);
    if (auto reason = CheckProgramOptions(task, given))
        return std::move(*reason);
    if (task.taskType == "None") {
        if (timeGiven)
            return std::string("a \"None\" task takes no --time: it is performed at 23:59:54.99");
        task.time = scheduler::kNoTaskTime;
    }
    if (phraseAt) {
        if (dateGiven)
            return "--time " + Quoted(phrase) + " names its own day and cannot be given with --date";
        task.date = phraseAt->date;
        task.time = phraseAt->time;
    } else if (secondsFromNow >= 0) {
        if (dateGiven)
            return std::string("--time +SECONDS counts from now and cannot be given with --date");
        const platform::DateTime due = SecondsFrom(now, secondsFromNow);
        if (due.date > kLastDate)
            return "--time +" + std::to_string(secondsFromNow) + " lies past " + FormatD4(kLastDate);
        task.date = due.date;
        task.time = due.time;
    } else if (!dateGiven) {
        // A repeating task given no date starts at the first moment from now
        // on that its rule allows, rather than at once or on a day it leaves out.
        scheduler::StartFromNow(task, now);
    }
    // The checks the entry form makes before it writes: the program must not
    // meet from here a task it would refuse there.
    std::ostringstream refused;
    StreamPrompter told(refused);
    pim::RecordWarnings warnings(told);
    if (scheduler::ValidateTask(task, warnings) >= 0) {
        std::string why = refused.str();
        while (!why.empty() && why.back() == '\n')
            why.pop_back();
        return why;
    }
    return task;
}

int RunAdd(const Arguments& given, const CommandContext& context)
{
    const platform::DateTime now = context.clock.now();
    auto parsed = ParseAddArguments(given, now);
    if (auto* reason = std::get_if<std::string>(&parsed))
        return context.fail(*reason);
    data::ScheduleRecord& task = std::get<data::ScheduleRecord>(parsed);

    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Create) != data::kOk)
        return kFailed;
    data::Database& db = store.db();

    const data::ProfileFile ini(data::kSettingsFile);
    const data::Settings settings = data::LoadSettings(ini, context.session);
    if (settings.multiUser)
        task.user = settings.currentUser;

    // The category and the task go in together or not at all.
    if (const int err = db.begin(); err != data::kOk)
        return store.fail("cannot add the task", err);
    if (const int err = pim::EnsureCategory(db, task.category); err != data::kOk) {
        db.rollback();
        return store.fail("cannot add the category " + Quoted(task.category.view()), err);
    }
    data::Table<data::ScheduleRecord> schedule(db);
    schedule.rec = task;
    // No one to ask whether to go on trying: three attempts, then the failure.
    if (const int err = data::AddTaskWithNewId(schedule, [] { return false; }); err != data::kOk) {
        db.rollback();
        return store.fail("cannot add the task", err);
    }
    if (const int err = db.commit(); err != data::kOk) {
        if (db.inTransaction())
            db.rollback();
        return store.fail("cannot add the task", err);
    }

    WarnAbout(schedule.rec, now, context.err);
    context.out << schedule.rec.id << '\n';
    return kDone;
}

}  // namespace hrln::cli
