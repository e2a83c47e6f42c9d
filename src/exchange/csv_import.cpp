#include "exchange/csv_import.h"

#include "common/csv.h"
#include "common/input_file.h"
#include "data/database.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/pictures.h"
#include "exchange/record_adder.h"
#include "exchange/record_values.h"
#include "platform/prompter.h"

#include <filesystem>
#include <fstream>

namespace hrln::exchange {
namespace {

std::string Quote(std::string_view s)
{
    constexpr std::size_t kShown = 40;
    std::string shown(text::CutToWidth(text::SanitizeUtf8(s), kShown));
    return "\"" + shown + (text::CharCount(shown) < text::CharCount(text::SanitizeUtf8(s)) ? "...\"" : "\"");
}

bool HasNul(std::string_view s)
{
    return s.find('\0') != std::string_view::npos;
}

}  // namespace

// The input, the rejected file and the table the records go to.
class detail::CsvImportWork::Sink {
public:
    virtual ~Sink() = default;
    // The reason the record is refused; empty when it was kept.
    // A text field left empty without quotes says nothing: the field keeps
    // what a new record has, as when the file has no such column.
    virtual std::string add(const csv::Fields& fields, const csv::RecordReader& record,
                            const std::vector<int>& columns) = 0;
    // Adds the records kept; see RecordAdder::store().
    virtual int store() = 0;
    virtual int stored() const = 0;
    virtual bool lost() const = 0;

    std::ifstream in;
    std::unique_ptr<csv::RecordReader> reader;
    std::ofstream rejected;
};

namespace {

template <class R>
class TableSink : public detail::CsvImportWork::Sink {
public:
    TableSink(data::Database& db, const FieldLayout& layout) : adder_(db), layout_(layout), limits_(detail::LimitsOf<R>())
    {
        for (const ExchangeField& f : layout.fields)
            numbers_.push_back(detail::FieldNumber<R>(f.field));
    }

    std::string add(const csv::Fields& fields, const csv::RecordReader& record, const std::vector<int>& columns) override
    {
        values_.clear();
        for (std::size_t c = 0; c < fields.size() && c < columns.size(); ++c) {
            if (columns[c] < 0)
                continue;
            const ExchangeField& f = layout_.fields[static_cast<std::size_t>(columns[c])];
            const int number = numbers_[static_cast<std::size_t>(columns[c])];
            const detail::FieldLimits& limits = limits_[static_cast<std::size_t>(number)];
            const std::string& raw = fields[c];
            const auto where = [&] { return "column " + std::to_string(c + 1) + " (" + f.field + "): "; };
            if (!text::IsValidUtf8(raw) || HasNul(raw))
                return where() + "the text is not UTF-8";
            if (!limits.number) {
                if (raw.empty() && !record.quoted(c))
                    continue;
                values_.emplace_back(number, std::string(text::Clip(text::CutToWidth(raw, limits.width))));
                continue;
            }
            std::optional<std::int64_t> value;
            if (!f.picture.empty()) {
                value = ParsePicture(raw, f.picture);
                if (!value)
                    return where() + Quote(raw) + " is no " + (IsTimePicture(f.picture) ? "time" : "date") + " in the picture " +
                           f.picture;
            } else if (text::Trim(raw).empty()) {
                value = 0;
            } else if (const long long n = text::ParseInteger(raw, 0); n != 0 || text::ParseInteger(raw, 1) == 0) {
                value = n;
            } else {
                return where() + Quote(raw) + " is no number";
            }
            if (*value < limits.min || *value > limits.max)
                return where() + Quote(raw) + " is out of range (" + std::to_string(limits.min) + " to " +
                       std::to_string(limits.max) + ")";
            values_.emplace_back(number, *value);
        }
        detail::SetValues(adder_.fresh(), values_);
        return adder_.add();
    }

    int store() override { return adder_.store(); }
    int stored() const override { return adder_.stored(); }
    bool lost() const override { return adder_.lost(); }

private:
    RecordAdder<R> adder_;
    const FieldLayout& layout_;
    std::vector<detail::FieldLimits> limits_;
    std::vector<int> numbers_;
    std::vector<std::pair<int, detail::Value>> values_;
};

}  // namespace

std::string RejectedPathFor(const std::string& path, std::string_view extension)
{
    std::filesystem::path p(path);
    p.replace_filename(p.stem().string() + ".rejected" + std::string(extension));
    return p.string();
}

std::string SummaryText(const ImportSummary& summary)
{
    std::string out = std::to_string(summary.added) + (summary.added == 1 ? " record" : " records") + " added, " +
                      (summary.updated > 0 ? std::to_string(summary.updated) + " updated, " : std::string()) +
                      std::to_string(summary.rejected.size()) + " skipped.";
    if (summary.cancelled)
        out += " The import was cancelled; the records added stay.";
    if (!summary.failure.empty())
        out += " The import stopped: " + summary.failure + ".";
    constexpr std::size_t kListed = 10;
    for (std::size_t i = 0; i < summary.rejected.size() && i < kListed; ++i)
        out += "\n" +
               (summary.rejected[i].item.empty() ? "Line " + std::to_string(summary.rejected[i].line)
                                                 : summary.rejected[i].item) +
               ": " + summary.rejected[i].reason;
    if (summary.rejected.size() > kListed)
        out += "\n... and " + std::to_string(summary.rejected.size() - kListed) + " more";
    if (!summary.rejectedPath.empty())
        out += "\nThe skipped lines are in " + summary.rejectedPath;
    for (const std::string& note : summary.notes)
        out += "\nNote: " + note + ".";
    return out;
}

namespace detail {

CsvImportWork::CsvImportWork(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
                             platform::Prompter& prompter)
    : ImportWork(db, std::move(path), prompter), table_(table), layout_(std::move(layout))
{
}

CsvImportWork::~CsvImportWork() = default;

std::string CsvImportWork::description() const
{
    return "Importing " + std::string(TableTitle(table_));
}

void CsvImportWork::dropInput()
{
    sink_.reset();
}

bool CsvImportWork::begin()
{
    if (layout_.fields.empty())
        return refuse("No Fields Selected for Import!");
    if (const std::string problem = CheckLayout(table_, layout_); !problem.empty())
        return refuse("The fields cannot be imported: " + problem + ".");
    switch (table_) {
    case ExchangeTable::Schedule: sink_ = std::make_unique<TableSink<data::ScheduleRecord>>(db_, layout_); break;
    case ExchangeTable::Contacts: sink_ = std::make_unique<TableSink<data::ContactRecord>>(db_, layout_); break;
    case ExchangeTable::Todo: sink_ = std::make_unique<TableSink<data::TodoRecord>>(db_, layout_); break;
    }
    if (const std::string reason = OpenInputFile(path_, sink_->in, size_); !reason.empty())
        return refuse("Could not open " + path_ + ": " + reason + ".");
    std::error_code ec;
    // A byte order mark some programs put first is no part of the first field.
    char bom[3] = {};
    sink_->in.read(bom, 3);
    if (sink_->in.gcount() != 3 || std::string_view(bom, 3) != "\xEF\xBB\xBF") {
        sink_->in.clear();
        sink_->in.seekg(0);
    }
    sink_->reader = std::make_unique<csv::RecordReader>(sink_->in);
    if (layout_.header || layout_.fields.size() > 1)
        sink_->reader->detectSeparator();
    // A rejected file of an earlier import would be taken for this one's.
    std::filesystem::remove(RejectedPathFor(path_), ec);
    columns_.clear();
    if (layout_.header)
        return mapHeader();
    for (std::size_t i = 0; i < layout_.fields.size(); ++i)
        columns_.push_back(static_cast<int>(i));
    return true;
}

bool CsvImportWork::mapHeader()
{
    csv::Fields names;
    if (!sink_->reader->next(names))
        return true;  // an empty file adds nothing
    headerText_ = sink_->reader->recordText();
    bool any = false;
    std::vector<bool> taken(layout_.fields.size(), false);
    for (std::size_t column = 0; column < names.size(); ++column) {
        const std::string wanted = text::ToUpper(text::Trim(names[column]));
        int found = -1;
        for (std::size_t i = 0; i < layout_.fields.size() && found < 0; ++i)
            if (text::ToUpper(layout_.fields[i].name) == wanted || text::ToUpper(layout_.fields[i].field) == wanted)
                found = static_cast<int>(i);
        const std::string where = "column " + std::to_string(column + 1) + " " + Quote(text::Trim(names[column]));
        if (found >= 0 && taken[static_cast<std::size_t>(found)]) {
            // The first column of a name fills its field; a later one would overwrite it unseen.
            summary_.notes.push_back(where + " names a field an earlier column fills and was not imported");
            found = -1;
        } else if (found >= 0) {
            taken[static_cast<std::size_t>(found)] = true;
        } else if (!wanted.empty()) {
            summary_.notes.push_back(where + " names none of the fields chosen and was not imported");
        }
        any = any || found >= 0;
        columns_.push_back(found);
    }
    if (!any) {
        std::string chosen;
        for (const ExchangeField& f : layout_.fields)
            chosen += (chosen.empty() ? "" : ", ") + f.name;
        return refuse("The first line of " + path_ + " names none of the fields chosen (" + chosen +
                      "); the fields are separated by commas or semicolons.");
    }
    return true;
}

void CsvImportWork::reject(std::uint64_t line, const std::string& text, std::string reason)
{
    summary_.rejected.push_back({line, std::move(reason), {}});
    if (!sink_->rejected.is_open()) {
        summary_.rejectedPath = RejectedPathFor(path_);
        sink_->rejected.open(summary_.rejectedPath, std::ios::binary | std::ios::trunc);
        sink_->rejected << headerText_;
    }
    sink_->rejected << text;
    if (!text.ends_with('\n'))
        sink_->rejected << "\r\n";
}

bool CsvImportWork::step(int count)
{
    if (sink_->lost()) {
        summary_.failure = StoreFailureText(data::kFileNotOpen, db_);
        return false;
    }
    if (const int err = db_.begin(); err != data::kOk) {
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    csv::Fields fields;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        if (!sink_->reader->next(fields)) {
            more = false;
            break;
        }
        const csv::RecordReader& reader = *sink_->reader;
        if (fields.size() == 1 && text::Clip(fields.front()).empty() && !reader.quoteLeftOpen())
            continue;  // a blank line holds no record
        std::string reason;
        if (reader.quoteLeftOpen())
            reason = "a quote is left open";
        else if (fields.size() > columns_.size())
            reason = std::to_string(fields.size()) + " fields where " + std::to_string(columns_.size()) +
                     " columns were expected";
        else
            reason = sink_->add(fields, reader, columns_);
        if (!reason.empty())
            reject(reader.recordLine(), reader.recordText(), std::move(reason));
    }
    if (const int err = db_.commit(); err != data::kOk) {
        db_.rollback();
        summary_.failure = StoreFailureText(err, db_);
        return false;
    }
    return more;
}

int CsvImportWork::percent() const
{
    return sink_ && sink_->reader ? PercentDone(static_cast<std::int64_t>(sink_->reader->bytesRead()),
                                                static_cast<std::int64_t>(size_))
                                  : 0;
}

void CsvImportWork::end(bool cancelled)
{
    summary_.cancelled = cancelled;
    if (!sink_)
        return;
    // What was read goes in, also when cancelled or stopped by a failure.
    if (const int err = sink_->store(); err != data::kOk && summary_.failure.empty())
        summary_.failure = StoreFailureText(err, db_);
    summary_.added = sink_->stored();
    if (sink_->rejected.is_open())
        sink_->rejected.close();
    // The records kept live on the job's connection: they go before it does.
    sink_.reset();
}

}  // namespace detail

ImportJob::ImportJob(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
                     platform::Prompter& prompter)
    : ImportOnThread(db, prompter, path)
{
    setImport(std::make_unique<detail::CsvImportWork>(connection(), table, std::move(layout), std::move(path),
                                                      messages()));
}

ImportJob::~ImportJob() = default;

}  // namespace hrln::exchange
