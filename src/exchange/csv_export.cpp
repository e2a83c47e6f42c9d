#include "exchange/csv_export.h"

#include "common/csv.h"
#include "data/records.h"
#include "data/table.h"
#include "exchange/part_file.h"
#include "exchange/pictures.h"
#include "exchange/record_values.h"
#include "platform/prompter.h"

namespace hrln::exchange {

// The table read in its export order, each record turned into its line.
class ExportJob::Source {
public:
    virtual ~Source() = default;
    virtual int count() = 0;
    // False at the end of the table.
    virtual bool nextLine(std::string& line) = 0;
};

namespace {

template <class R>
class TableSource : public ExportJob::Source {
public:
    TableSource(data::Database& db, const FieldLayout& layout, int key) : table_(db)
    {
        for (const ExchangeField& f : layout.fields)
            columns_.push_back({detail::FieldNumber<R>(f.field), f});
        table_.set(key);
    }

    int count() override { return table_.count(); }

    bool nextLine(std::string& line) override
    {
        if (table_.next() != data::kOk)
            return false;
        const std::vector<detail::Value> values = data::RecordValues(table_.rec);
        for (const auto& [number, f] : columns_) {
            const detail::Value& value = values[static_cast<std::size_t>(number)];
            if (const auto* text = std::get_if<std::string>(&value)) {
                writer_.text(*text);
                continue;
            }
            const std::int64_t n = std::get<std::int64_t>(value);
            // A pictured value is text even in a numeric column: "Dec 8, 2026" holds a comma.
            if (!f.picture.empty())
                writer_.text(FormatPicture(n, f.picture));
            else if (f.type == FieldType::Number)
                writer_.number(n);
            else
                writer_.text(std::to_string(n));
        }
        line = writer_.finish();
        return true;
    }

private:
    data::Table<R> table_;
    std::vector<std::pair<int, ExchangeField>> columns_;
    csv::LineWriter writer_;
};

}  // namespace

ExportJob::ExportJob(data::Database& db, ExchangeTable table, FieldLayout layout, std::string path,
                     platform::Prompter& prompter)
    : db_(db), table_(table), layout_(std::move(layout)), path_(std::move(path)), prompter_(prompter)
{
}

ExportJob::~ExportJob() = default;

std::string ExportJob::description() const
{
    return "Exporting " + std::string(TableTitle(table_));
}

bool ExportJob::refuse(const std::string& text)
{
    ok_ = false;
    prompter_.ask({text, "Export", platform::MessageIcon::Exclamation});
    return false;
}

bool ExportJob::begin()
{
    if (layout_.fields.empty())
        return refuse(kNoFieldsSelected);
    if (const std::string problem = CheckLayout(table_, layout_); !problem.empty())
        return refuse("The fields cannot be exported: " + problem + ".");
    switch (table_) {
    case ExchangeTable::Schedule:
        source_ = std::make_unique<TableSource<data::ScheduleRecord>>(db_, layout_, data::ScheduleRecord::KeyID);
        break;
    case ExchangeTable::Contacts:
        source_ = std::make_unique<TableSource<data::ContactRecord>>(db_, layout_, data::ContactRecord::KeyClientID);
        break;
    case ExchangeTable::Todo:
        // KeyToDo lists every item, also one with blank text.
        source_ = std::make_unique<TableSource<data::TodoRecord>>(db_, layout_, data::TodoRecord::KeyToDo);
        break;
    }
    // Written beside the file and named only when whole: a full disk or a
    // killed program must never leave part of a schedule under the name.
    file_ = std::make_unique<PartFile>(path_);
    if (const std::string reason = file_->open(); !reason.empty())
        return refuse("Could not create " + path_ + ": " + reason + ".");
    total_ = source_->count();
    if (layout_.header) {
        csv::LineWriter header;
        for (const ExchangeField& f : layout_.fields)
            header.text(f.name);
        file_->write(header.finish());
    }
    return true;
}

bool ExportJob::step(int count)
{
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (!source_->nextLine(line))
            return false;
        if (!file_->write(line))
            return false;  // the disk is full: end() says so
        ++written_;
    }
    return true;
}

int ExportJob::percent() const
{
    return PercentDone(written_, total_);
}

void ExportJob::end(bool)
{
    if (!file_)
        return;
    // A cancelled export keeps the records done, as a whole file.
    if (const std::string reason = file_->commit(); !reason.empty())
        refuse("Could not write " + path_ + ": " + reason + ".");
}

}  // namespace hrln::exchange
