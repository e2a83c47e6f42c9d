#include "exchange/field_layout.h"

#include "common/csv.h"
#include "common/text.h"
#include "data/records.h"

#include <algorithm>
#include <array>
#include <set>
#include <sstream>
#include <type_traits>

namespace hrln::exchange {
namespace {

// Reserved or never read: not part of any exchange.
constexpr std::array<std::string_view, 3> kNotExchanged = {"UndefinedOption1", "UndefinedOption2", "ExceptOther"};

template <class R>
std::vector<AvailableField> FieldsOf()
{
    std::vector<AvailableField> out;
    const R record{};
    R::fields(record, [&](const char* name, const auto& field) {
        const std::string_view n = name;
        if (std::find(kNotExchanged.begin(), kNotExchanged.end(), n) != kNotExchanged.end())
            return;
        using Field = std::remove_cvref_t<decltype(field)>;
        FieldKind kind = FieldKind::Text;
        // A flag is a number whatever its name ends with ("SkipNextTime").
        if constexpr (std::is_same_v<Field, data::Byte>) {
            kind = FieldKind::Number;
        } else if constexpr (std::is_integral_v<Field>) {
            kind = n.ends_with("Date") ? FieldKind::Date : n.ends_with("Time") ? FieldKind::Time : FieldKind::Number;
        }
        out.push_back({std::string(n), kind});
    });
    return out;
}

}  // namespace

std::string_view TableTitle(ExchangeTable table)
{
    switch (table) {
    case ExchangeTable::Schedule: return "Schedule";
    case ExchangeTable::Contacts: return "Contacts";
    case ExchangeTable::Todo: return "To Do";
    }
    return {};
}

std::optional<ExchangeTable> TableNamed(std::string_view name)
{
    const std::string upper = text::ToUpper(name);
    if (upper == "SCHEDULE")
        return ExchangeTable::Schedule;
    if (upper == "CONTACTS" || upper == "CONTACT")
        return ExchangeTable::Contacts;
    if (upper == "TODO" || upper == "TO DO" || upper == "TO-DO")
        return ExchangeTable::Todo;
    return std::nullopt;
}

const std::vector<AvailableField>& AvailableFields(ExchangeTable table)
{
    static const std::vector<AvailableField> schedule = FieldsOf<data::ScheduleRecord>();
    static const std::vector<AvailableField> contacts = FieldsOf<data::ContactRecord>();
    static const std::vector<AvailableField> todo = FieldsOf<data::TodoRecord>();
    switch (table) {
    case ExchangeTable::Schedule: return schedule;
    case ExchangeTable::Contacts: return contacts;
    case ExchangeTable::Todo: break;
    }
    return todo;
}

std::optional<FieldKind> KindOf(ExchangeTable table, std::string_view field)
{
    for (const AvailableField& available : AvailableFields(table))
        if (text::ToUpper(available.field) == text::ToUpper(field))
            return available.kind;
    return std::nullopt;
}

ExchangeField DefaultField(const AvailableField& available)
{
    switch (available.kind) {
    case FieldKind::Date: return {available.field, available.field, "d17", FieldType::Text};
    case FieldKind::Time: return {available.field, available.field, "t7", FieldType::Text};
    case FieldKind::Number: return {available.field, available.field, "", FieldType::Number};
    case FieldKind::Text: break;
    }
    return {available.field, available.field, "", FieldType::Text};
}

FieldLayout DefaultLayout(ExchangeTable table)
{
    FieldLayout layout;
    for (const AvailableField& available : AvailableFields(table))
        layout.fields.push_back(DefaultField(available));
    return layout;
}

bool IsDatePicture(std::string_view picture)
{
    return picture == "d3" || picture == "D4" || picture == "d17";
}

bool IsTimePicture(std::string_view picture)
{
    return picture == "T3" || picture == "t3" || picture == "t7";
}

std::string WriteLayout(const FieldLayout& layout)
{
    std::string out = layout.header ? "header\r\n" : "no header\r\n";
    csv::LineWriter line;
    for (const ExchangeField& f : layout.fields)
        out += line.text(f.field).text(f.name).text(f.picture).text(f.type == FieldType::Number ? "number" : "text")
                   .finish();
    return out;
}

std::string CheckLayout(ExchangeTable table, const FieldLayout& layout)
{
    std::set<std::string> seen;
    for (const ExchangeField& f : layout.fields) {
        const std::optional<FieldKind> kind = KindOf(table, f.field);
        if (!kind)
            return "no field \"" + f.field + "\" in " + std::string(TableTitle(table));
        if (!seen.insert(text::ToUpper(f.field)).second)
            return "the field \"" + f.field + "\" is chosen twice";
        if (f.picture.empty())
            continue;
        if (IsDatePicture(f.picture) ? *kind != FieldKind::Date
            : IsTimePicture(f.picture) ? *kind != FieldKind::Time
                                       : true)
            return "the picture \"" + f.picture + "\" does not fit the field \"" + f.field + "\"";
    }
    return {};
}

LayoutResult ReadLayout(ExchangeTable table, std::string_view text)
{
    LayoutResult result;
    std::istringstream in{std::string(text)};
    csv::RecordReader reader(in);
    csv::Fields fields;
    bool first = true;
    while (reader.next(fields)) {
        const std::string where = "layout line " + std::to_string(reader.recordLine()) + ": ";
        if (first) {
            first = false;
            const std::string word = text::ToUpper(text::Trim(fields.front()));
            if (fields.size() == 1 && (word == "HEADER" || word == "NO HEADER")) {
                result.layout.header = word == "HEADER";
                continue;
            }
        }
        if (fields.size() == 1 && text::Trim(fields.front()).empty())
            continue;
        if (reader.quoteLeftOpen() || fields.size() > 4) {
            result.error = where + "expected field, name, picture, type";
            return result;
        }
        ExchangeField f;
        f.field = text::Trim(fields[0]);
        const std::optional<FieldKind> kind = KindOf(table, f.field);
        if (kind) {
            const auto& available = AvailableFields(table);
            f = DefaultField(*std::find_if(available.begin(), available.end(), [&](const AvailableField& a) {
                return text::ToUpper(a.field) == text::ToUpper(f.field);
            }));
        }
        if (fields.size() > 1 && !text::Trim(fields[1]).empty())
            f.name = text::Trim(fields[1]);
        if (fields.size() > 2)
            f.picture = text::Trim(fields[2]);
        if (fields.size() > 3) {
            const std::string type = text::ToUpper(text::Trim(fields[3]));
            if (type != "NUMBER" && type != "TEXT") {
                result.error = where + "the type is \"number\" or \"text\"";
                return result;
            }
            f.type = type == "NUMBER" ? FieldType::Number : FieldType::Text;
        }
        result.layout.fields.push_back(std::move(f));
    }
    if (std::string problem = CheckLayout(table, result.layout); !problem.empty())
        result.error = std::move(problem);
    return result;
}

}  // namespace hrln::exchange
