#include "cli/report_command.h"

#include "cli/task_database.h"
#include "cli/values.h"
#include "data/profile_file.h"
#include "data/settings.h"
#include "exchange/part_file.h"
#include "scheduler/report_catalogue.h"

#include <filesystem>
#include <ostream>
#include <sstream>

namespace hrln::cli {

const char* const kReportHelp =
    "Usage: horalyn-cli report NAME [--format pdf|txt|csv] [--output FILE]\n"
    "                          [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "                          [--category NAME] [--history] [--disabled] [--open]\n"
    "\n"
    "Prints one of the program's reports from the schedule in the data folder.\n"
    "NAME is one of:\n"
    "  schedule-date      the tasks by day, in date and time order\n"
    "  schedule-category  the tasks by category, in date order within each\n"
    "  brief              one line per task, in date order\n"
    "  category           the tasks of one category (--category is required)\n"
    "  contacts           the contacts by name, with address and notes\n"
    "  categories         the schedule's categories\n"
    "  todo-priority      the to-do list by priority\n"
    "  todo-category      the to-do list by category\n"
    "\n"
    "Options:\n"
    "  --format F     pdf (paged, as printed), txt (plain text, the default) or\n"
    "                 csv (one comma-delimited line per row)\n"
    "  --output FILE  write to FILE instead of standard output\n"
    "  --from DAY     schedule reports: only tasks from DAY on\n"
    "  --to DAY       schedule reports: only tasks up to DAY\n"
    "  --category C   only category C (for contacts: contact category C)\n"
    "  --history      schedule reports: take the history entries too\n"
    "  --disabled     schedule reports: take the disabled tasks too\n"
    "  --open         to-do reports: leave out the items marked done\n"
    "  --help         show this text\n"
    "\n"
    "Exit status 2, with the reason, on bad arguments, when there is no schedule\n"
    "in the data folder or when the output cannot be written.\n";

namespace {

struct ReportArguments {
    scheduler::ReportKind kind = scheduler::ReportKind::ScheduleByDate;
    scheduler::ReportRequest request;
    std::string format = "txt";
    std::string output;  // absolute; empty: standard output
};

std::variant<ReportArguments, std::string> Parse(const Arguments& given)
{
    ReportArguments a;
    if (given.operands.empty())
        return std::string("a report name is required; try --help");
    if (given.operands.size() > 1)
        return "unexpected argument " + Quoted(given.operands[1]) + "; try --help";
    const auto kind = scheduler::ReportNamed(given.operands.front());
    if (!kind)
        return "unknown report " + Quoted(given.operands.front()) + "; try --help";
    a.kind = *kind;
    const scheduler::ReportChoices& choices = scheduler::ReportOf(a.kind).choices;
    const auto refuse = [&](std::string_view option) {
        return std::string(option) + " does not apply to the " + scheduler::ReportOf(a.kind).name + " report";
    };
    bool sawOpen = false;
    for (const auto& [option, value] : given.options) {
        if (option == "--format") {
            if (value != "pdf" && value != "txt" && value != "csv")
                return "bad format " + Quoted(value) + " (pdf, txt or csv)";
            a.format = value;
        } else if (option == "--output") {
            std::error_code ec;
            a.output = std::filesystem::absolute(std::string(value), ec).string();
            if (value.empty() || ec)
                return "bad output file " + Quoted(value);
        } else if (option == "--from" || option == "--to") {
            if (!choices.dates)
                return refuse(option);
            const auto day = ParseDate(value);
            if (!day)
                return "bad date " + Quoted(value) + " (YYYY-MM-DD)";
            (option == "--from" ? a.request.from : a.request.to) = *day;
        } else if (option == "--category") {
            if (!choices.category && !choices.contactCategory)
                return refuse(option);
            a.request.category = value;
        } else if (option == "--history") {
            if (!choices.history)
                return refuse(option);
            a.request.includeHistory = true;
        } else if (option == "--disabled") {
            if (!choices.disabled)
                return refuse(option);
            a.request.includeDisabled = true;
        } else if (option == "--open") {
            if (!choices.done)
                return refuse(option);
            sawOpen = true;
        }
    }
    a.request.includeDone = !sawOpen;
    if (a.request.from != 0 && a.request.to != 0 && a.request.to < a.request.from)
        return std::string("--to comes before --from");
    if (choices.categoryRequired && a.request.category.empty())
        return std::string("the category report needs --category");
    return a;
}

}  // namespace

int RunReport(const Arguments& given, const CommandContext& context)
{
    const auto parsed = Parse(given);
    if (auto* reason = std::get_if<std::string>(&parsed))
        return context.fail(*reason);
    const ReportArguments& a = std::get<ReportArguments>(parsed);
    if (a.format == "pdf" && context.pdf == nullptr)
        return context.fail("PDF output is not available here");

    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Fail) != data::kOk)
        return kFailed;
    // The data folder is the current folder now: its settings name the user.
    const data::ProfileFile ini(data::kSettingsFile);
    const data::Settings settings = data::LoadSettings(ini, context.session);
    const platform::DateTime now = context.clock.now();
    const report::Heading heading{settings.userId, FormatD4(now.date) + " " + FormatT3(now.time)};
    const std::unique_ptr<report::Source> source = scheduler::MakeReport(store.db(), a.kind, a.request);

    if (a.format == "pdf") {
        if (!(*context.pdf)(*source, heading, a.output, context.out))
            return context.fail(a.output.empty() ? std::string("cannot write the PDF")
                                                 : "cannot write " + Quoted(a.output));
    } else {
        // A file gets its name only when whole, as an export does.
        std::ostringstream whole;
        std::ostream& out = a.output.empty() ? context.out : whole;
        if (a.format == "csv")
            report::WriteCsv(*source, out);
        else
            report::WriteText(*source, heading, out);
        out.flush();
        if (!out)
            return context.fail("cannot write the report");
        if (!a.output.empty()) {
            exchange::PartFile file(a.output);
            if (const std::string reason = file.open(); !reason.empty())
                return context.fail("cannot write " + Quoted(a.output) + ": " + reason);
            file.write(whole.view());
            if (const std::string reason = file.commit(); !reason.empty())
                return context.fail("cannot write " + Quoted(a.output) + ": " + reason);
        }
    }
    if (source->error() != data::kOk)
        return store.fail("cannot read the report's records", source->error());
    return kDone;
}

}  // namespace hrln::cli
