#include "pim/pim_reports.h"

#include "common/text.h"
#include "data/record_pages.h"
#include "data/records.h"

namespace hrln::pim {
namespace {

std::string Clipped(std::string_view s)
{
    return std::string(text::Clip(s));
}

std::string Completion(const data::TodoRecord& item)
{
    if (item.completionDate == 0)
        return {};
    const std::string time = FormatT3(item.completionTime);
    return FormatD3(item.completionDate) + (time.empty() ? "" : " " + time);
}

class TodoSource : public report::Source {
public:
    TodoSource(data::Database& db, TodoReport kind, TodoReportOptions options)
        : kind_(kind), options_(std::move(options)),
          pages_(db, kind_ == TodoReport::Priority ? data::TodoRecord::KeyPriority : data::TodoRecord::KeyCategory,
                 kind_ == TodoReport::Category && !options_.category.empty()
                     ? std::vector<data::Value>{options_.category}
                     : std::vector<data::Value>{},
                 restriction())
    {
    }

    std::string name() const override { return TodoReportName(kind_); }
    std::vector<report::Column> columns() const override
    {
        if (kind_ == TodoReport::Priority)
            return {{"Done", 6}, {"To Do", 52}, {"Category", 18}, {"Completed", 22}};
        return {{"Priority", 10, report::Align::Right}, {"Done", 6}, {"To Do", 60}, {"Completed", 22}};
    }
    std::string groupTitle() const override { return kind_ == TodoReport::Priority ? "Priority" : "Category"; }
    std::string detailTitle() const override { return "Notes"; }
    std::string criteria() const override
    {
        std::string out;
        if (!options_.category.empty())
            out = "Category " + options_.category;
        if (!options_.includeDone)
            out += (out.empty() ? "" : "; ") + std::string("open items only");
        return out;
    }

    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        return pages_.read(first, n, [&](const data::TodoRecord* record) {
            out.push_back(report::RowOf(record, [this](const data::TodoRecord& item) { return rowOf(item); }));
        });
    }
    int error() const override { return pages_.error(); }

private:
    report::Row rowOf(const data::TodoRecord& item) const
    {
            report::Row row;
            const std::string done = item.done != 0 ? "Yes" : "";
            const std::string category = Clipped(item.category.view());
            if (kind_ == TodoReport::Priority) {
                row.group = "Priority " + std::to_string(item.priority);
                row.cells = {done, Clipped(item.toDo.view()), category, Completion(item)};
            } else {
                row.group = category.empty() ? std::string("No category") : category;
                row.cells = {std::to_string(item.priority), done, Clipped(item.toDo.view()), Completion(item)};
            }
            row.detail = Clipped(item.notes.view());
            return row;
    }

    data::KeyView::Restriction restriction() const
    {
        data::KeyView::Restriction r;
        if (!options_.includeDone)
            r.sql = "\"Done\" = 0";
        if (kind_ == TodoReport::Priority && !options_.category.empty()) {
            r.sql += (r.sql.empty() ? "" : " AND ") + std::string("\"Category\" = ?");
            r.values.emplace_back(options_.category);
        }
        return r;
    }

    TodoReport kind_;
    TodoReportOptions options_;
    data::RecordPages<data::TodoRecord> pages_;
};

class CategoriesSource : public report::Source {
public:
    explicit CategoriesSource(data::Database& db) : pages_(db, data::CategoryRecord::KeyCategory) {}
    std::string name() const override { return "Schedule Categories"; }
    std::vector<report::Column> columns() const override { return {{"Category", 100}}; }
    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        return pages_.read(first, n, [&](const data::CategoryRecord* record) {
            out.push_back(report::RowOf(record, [](const data::CategoryRecord& c) {
                return report::Row{{}, {Clipped(c.category.view())}, {}};
            }));
        });
    }
    int error() const override { return pages_.error(); }

private:
    data::RecordPages<data::CategoryRecord> pages_;
};

class ContactsSource : public report::Source {
public:
    ContactsSource(data::Database& db, ContactReportOptions options)
        : options_(std::move(options)), pages_(db, data::ContactRecord::KeyLastName, {}, restriction())
    {
    }
    std::string name() const override { return "Contact List"; }
    std::vector<report::Column> columns() const override
    {
        return {{"Name", 28}, {"Work Phone", 16}, {"Home Phone", 16}, {"E-mail", 26}, {"Category", 14}};
    }
    std::string detailTitle() const override { return "Address and Notes"; }
    std::string criteria() const override
    {
        return options_.category.empty() ? std::string() : "Contact category " + options_.category;
    }
    int read(std::int64_t first, int n, std::vector<report::Row>& out) override
    {
        return pages_.read(first, n, [&](const data::ContactRecord* record) {
            out.push_back(report::RowOf(record, [](const data::ContactRecord& c) { return rowOf(c); }));
        });
    }
    int error() const override { return pages_.error(); }

private:
    static report::Row rowOf(const data::ContactRecord& c)
    {
            report::Row row;
            const std::string last = Clipped(c.lastName.view());
            const std::string firstName = Clipped(c.firstName.view());
            row.cells = {last + (last.empty() || firstName.empty() ? "" : ", ") + firstName,
                         Clipped(c.workDayPhone.view()), Clipped(c.homeEveningPhone.view()), Clipped(c.email.view()),
                         Clipped(c.contactCategory.view())};
            std::string address;
            for (const std::string& part : {Clipped(c.addressLine1.view()), Clipped(c.addressLine2.view()),
                                            Clipped(c.addressLine3.view()), Clipped(c.postalCode.view())})
                if (!part.empty())
                    address += (address.empty() ? "" : ", ") + part;
            const std::string notes = Clipped(c.notes.view());
            row.detail = address + (address.empty() || notes.empty() ? "" : "\n") + notes;
            return row;
    }

    data::KeyView::Restriction restriction() const
    {
        if (options_.category.empty())
            return {};
        return {"\"ContactCategory\" = ?", {options_.category}};
    }

    ContactReportOptions options_;
    data::RecordPages<data::ContactRecord> pages_;
};

}  // namespace

const char* TodoReportName(TodoReport report)
{
    return report == TodoReport::Priority ? "To Do List by Priority" : "To Do List by Category";
}

std::unique_ptr<report::Source> MakeTodoReport(data::Database& db, TodoReport report, TodoReportOptions options)
{
    return std::make_unique<TodoSource>(db, report, std::move(options));
}

std::unique_ptr<report::Source> MakeCategoriesReport(data::Database& db)
{
    return std::make_unique<CategoriesSource>(db);
}

std::unique_ptr<report::Source> MakeContactsReport(data::Database& db, ContactReportOptions options)
{
    return std::make_unique<ContactsSource>(db, std::move(options));
}

}  // namespace hrln::pim
