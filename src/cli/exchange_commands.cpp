#include "cli/exchange_commands.h"

#include "cli/stream_prompter.h"
#include "cli/task_database.h"
#include "common/batch_job.h"
#include "common/text.h"
#include "exchange/calendar_export.h"
#include "exchange/calendar_import.h"
#include "exchange/csv_export.h"
#include "exchange/csv_import.h"
#include "exchange/field_layout.h"
#include "exchange/part_file.h"
#include "exchange/vcard_exchange.h"
#include "platform/posix/system_clock.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <variant>

namespace hrln::cli {

#define HRLN_EXCHANGE_LAYOUT_HELP                                                              \
    "TABLE is schedule, contacts or todo. Without --layout or --fields every field\n"          \
    "of the table is taken under its own name, dates as YYYY-MM-DD (d17), times as\n"          \
    "HH:MM:SS (t7, with .hh when there are hundredths), numbers bare, texts quoted.\n"         \
    "\n"                                                                                       \
    "  --fields LIST     the fields in order, separated by commas, each FIELD or\n"            \
    "                    FIELD:PICTURE; date pictures d3 (Dec 8, 2026), D4\n"                  \
    "                    (December 8, 2026), d17; time pictures T3 (1:05 PM), t7\n"            \
    "  --layout FILE     the fields from a layout file: a line \"header\" or\n"                \
    "                    \"no header\", then one line per field: field, name, picture,\n"      \
    "                    number or text\n"                                                     \
    "  --save-layout FILE  also write the layout used to FILE, for --layout later\n"           \
    "  --no-header       the file has no first line naming the columns\n"                     \
    "  --format FORMAT   csv, ical (schedule and todo: iCalendar, RFC 5545), vcard\n"          \
    "                    or vcard3 (contacts: vCard 4.0 or 3.0); by default the\n"              \
    "                    file's ending decides: .ics ical, .vcf vcard, else csv\n"              \
    "  --help            show this text\n"                                                     \
    "\n"                                                                                       \
    "Comma-delimited files are UTF-8 text, one record per line ended by CR LF, fields\n"       \
    "separated by commas, texts in double quotes with inner quotes doubled. The\n"            \
    "field options apply to them only. In iCalendar each task is an event with its\n"          \
    "rule as an RRULE where iCalendar can say it (else its next 50 occurrences, as\n"          \
    "the output says), each to-do item a VTODO; in vCard each contact a card.\n"               \
    "Cards of vCard 2.1 (phones, mail programs) are read as well.\n"

const char* const kExportHelp =
    "Usage: horalyn-cli export TABLE FILE [--fields LIST | --layout FILE]\n"
    "                          [--save-layout FILE] [--no-header] [--format FORMAT]\n"
    "                          [--history]\n"
    "\n"
    "Writes every record of the table in the data folder to FILE, the schedule in\n"
    "ID order (history entries included), contacts in ClientID order, the to-do\n"
    "list in the order of its texts, and prints how many were written. A calendar\n"
    "(iCalendar) gets what another calendar should show: the enabled tasks only.\n"
    "\n"
    "  --history         iCalendar: also the history entries, each as the single\n"
    "                    past event it was, without reminder\n"
    "\n" HRLN_EXCHANGE_LAYOUT_HELP;

const char* const kImportHelp =
    "Usage: horalyn-cli import TABLE FILE [--fields LIST | --layout FILE]\n"
    "                          [--save-layout FILE] [--no-header] [--format FORMAT]\n"
    "\n"
    "Adds one record per line of FILE to the table in the data folder, as the\n"
    "program's forms add them: tasks and contacts get new numbers, a category not\n"
    "known yet is added to the categories, tasks pass the schedule form's checks.\n"
    "With a header line the columns are matched to the fields by their names;\n"
    "columns that name no field are passed over. A line that cannot be a record is\n"
    "skipped and copied to FILE's name with .rejected.csv beside it (.rejected.ics,\n"
    ".rejected.vcf for the skipped events and cards). Prints what was added and\n"
    "skipped.\n"
    "\n" HRLN_EXCHANGE_LAYOUT_HELP
    "\n"
    "Exit status: 0 every line added, 1 some lines skipped, 2 bad arguments or an\n"
    "unusable database or file.\n";

#undef HRLN_EXCHANGE_LAYOUT_HELP

namespace {

enum class Format { Csv, Ical, VCard, VCard3 };

struct Request {
    exchange::ExchangeTable table;
    std::string file;
    exchange::FieldLayout layout;
    Format format = Format::Csv;
    bool history = false;
};

std::optional<std::string> Option(const Arguments& given, std::string_view name)
{
    std::optional<std::string> value;
    for (const auto& [option, v] : given.options)
        if (option == name)
            value = std::string(v);
    return value;
}

// The layout of --fields: FIELD or FIELD:PICTURE, separated by commas.
std::variant<exchange::FieldLayout, std::string> FieldsLayout(exchange::ExchangeTable table, std::string_view list)
{
    std::string text = "header\n";
    if (text::Trim(list).empty())
        return exchange::FieldLayout{};
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view item = text::Trim(list.substr(start, comma - start));
        const std::size_t colon = item.find(':');
        const std::string_view field = item.substr(0, colon);
        text += "\"" + std::string(field) + "\",\"\"";
        if (colon != std::string_view::npos)
            text += ",\"" + std::string(item.substr(colon + 1)) + "\"";
        text += "\n";
        start = comma + 1;
    }
    exchange::LayoutResult read = exchange::ReadLayout(table, text);
    if (!read.error.empty())
        return "bad --fields: " + read.error.substr(read.error.find(": ") == std::string::npos ? 0
                                                                                             : read.error.find(": ") + 2);
    return std::move(read.layout);
}

std::variant<Request, std::string> ParseRequest(const Arguments& given)
{
    if (given.operands.size() != 2)
        return std::string("needs TABLE and FILE; try --help");
    const std::optional<exchange::ExchangeTable> table = exchange::TableNamed(given.operands[0]);
    if (!table)
        return "unknown table " + Quoted(given.operands[0]) + " (use schedule, contacts or todo)";
    Request request{*table, {}, exchange::DefaultLayout(*table)};
    std::error_code ec;
    // The command works in the data folder: the file is named from here.
    request.file = std::filesystem::absolute(std::string(given.operands[1]), ec).string();
    if (ec)
        return "bad file name " + Quoted(given.operands[1]);

    const std::optional<std::string> format = Option(given, "--format");
    const std::string ending = text::ToUpper(std::filesystem::path(request.file).extension().string());
    if (!format)
        request.format = ending == ".ICS" ? Format::Ical : ending == ".VCF" ? Format::VCard : Format::Csv;
    else if (*format == "csv")
        request.format = Format::Csv;
    else if (*format == "ical")
        request.format = Format::Ical;
    else if (*format == "vcard")
        request.format = Format::VCard;
    else if (*format == "vcard3")
        request.format = Format::VCard3;
    else
        return "unknown format " + Quoted(*format) + " (use csv, ical, vcard or vcard3)";
    const bool cards = request.format == Format::VCard || request.format == Format::VCard3;
    if (request.format == Format::Ical && *table == exchange::ExchangeTable::Contacts)
        return std::string("contacts go to and from vCards, not iCalendar: use --format vcard");
    if (cards && *table != exchange::ExchangeTable::Contacts)
        return std::string("only contacts go to and from vCards: use --format ical or csv");

    const std::optional<std::string> fields = Option(given, "--fields");
    const std::optional<std::string> layoutFile = Option(given, "--layout");
    if (fields && layoutFile)
        return std::string("--fields and --layout both choose the fields: give one");
    if (request.format != Format::Csv && (fields || layoutFile))
        return std::string("--fields and --layout choose the columns of comma-delimited files only");
    if (fields) {
        auto parsed = FieldsLayout(*table, *fields);
        if (auto* reason = std::get_if<std::string>(&parsed))
            return std::move(*reason);
        request.layout = std::get<exchange::FieldLayout>(parsed);
    } else if (layoutFile) {
        std::ifstream in(*layoutFile, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (!in)
            return "cannot read the layout file " + Quoted(*layoutFile);
        exchange::LayoutResult read = exchange::ReadLayout(*table, text.str());
        if (!read.error.empty())
            return "bad layout file " + Quoted(*layoutFile) + ": " + read.error;
        request.layout = std::move(read.layout);
    }
    for (const auto& [option, value] : given.options) {
        if (option == "--no-header")
            request.layout.header = false;
        if (option == "--history")
            request.history = true;
    }
    if (request.history && (request.format != Format::Ical || *table != exchange::ExchangeTable::Schedule))
        return std::string("--history is for a schedule written as iCalendar only");
    if (const std::optional<std::string> save = Option(given, "--save-layout")) {
        exchange::PartFile out(*save);
        std::string reason = out.open();
        if (reason.empty()) {
            out.write(exchange::WriteLayout(request.layout));
            reason = out.commit();
        }
        if (!reason.empty())
            return "cannot write the layout file " + Quoted(*save) + ": " + reason;
    }
    return request;
}

// Runs the job to its end; false when it refused, at its start or, for a
// job that works on a thread of its own, once begun.
bool RunJob(BatchJob& job)
{
    constexpr int kBatch = 500;
    BatchRun run(job, kBatch);
    if (!run.start())
        return false;
    while (run.running())
        run.tick();
    return run.state() != BatchRun::State::Refused;
}

int ExportOther(const Request& request, TaskDatabase& store, StreamPrompter& prompter, const CommandContext& context)
{
    if (request.format == Format::Ical) {
        exchange::CalendarExportJob job(store.db(), request.table, request.file, platform::posix::SystemClock().nowUtc(),
                                        prompter, {.history = request.history});
        if (!RunJob(job) || !job.ok())
            return kFailed;
        context.out << exchange::CalendarExportSummary(job) << '\n';
        return kDone;
    }
    exchange::VCardExportJob job(store.db(), request.file,
                                 request.format == Format::VCard3 ? exchange::VCardVersion::V3 : exchange::VCardVersion::V4,
                                 prompter);
    if (!RunJob(job) || !job.ok())
        return kFailed;
    context.out << job.written() << (job.written() == 1 ? " record" : " records") << " written to " << request.file
                << '\n';
    return kDone;
}

int ImportResult(const exchange::ImportSummary& summary, const CommandContext& context)
{
    context.out << exchange::SummaryText(summary) << '\n';
    if (!summary.failure.empty())
        return context.fail(summary.failure);
    return summary.rejected.empty() ? kDone : 1;
}

}  // namespace

int RunExport(const Arguments& given, const CommandContext& context)
{
    auto parsed = ParseRequest(given);
    if (auto* reason = std::get_if<std::string>(&parsed))
        return context.fail(*reason);
    const Request& request = std::get<Request>(parsed);
    if (request.layout.fields.empty())
        return context.fail(exchange::kNoFieldsSelected);

    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Fail) != data::kOk)
        return kFailed;
    StreamPrompter prompter(context.err);
    if (request.format != Format::Csv)
        return ExportOther(request, store, prompter, context);
    exchange::ExportJob job(store.db(), request.table, request.layout, request.file, prompter);
    if (!RunJob(job) || !job.ok())
        return kFailed;
    context.out << job.written() << (job.written() == 1 ? " record" : " records") << " written to "
                << request.file << '\n';
    return kDone;
}

int RunImport(const Arguments& given, const CommandContext& context)
{
    auto parsed = ParseRequest(given);
    if (auto* reason = std::get_if<std::string>(&parsed))
        return context.fail(*reason);
    const Request& request = std::get<Request>(parsed);
    if (request.history)
        return context.fail("--history is for export only");

    TaskDatabase store(context);
    if (store.open(TaskDatabase::IfMissing::Create) != data::kOk)
        return kFailed;
    StreamPrompter prompter(context.err);
    if (request.format == Format::Ical) {
        exchange::CalendarImportJob job(store.db(), request.table, request.file, context.clock, prompter);
        return RunJob(job) ? ImportResult(job.summary(), context) : kFailed;
    }
    if (request.format != Format::Csv) {
        exchange::VCardImportJob job(store.db(), request.file, prompter);
        return RunJob(job) ? ImportResult(job.summary(), context) : kFailed;
    }
    exchange::ImportJob job(store.db(), request.table, request.layout, request.file, prompter);
    return RunJob(job) ? ImportResult(job.summary(), context) : kFailed;
}

}  // namespace hrln::cli
