#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which fields an exchange file holds, in which order, and how each is written.
namespace hrln::exchange {

enum class ExchangeTable { Schedule, Contacts, Todo };

// How a value is written: bare decimals, or text in double quotes.
enum class FieldType { Number, Text };

// Display pictures of a field's value: the date pictures d3, D4 and d17 and
// the time pictures T3 (also t3) and t7 of the program; blank for the value
// as it is stored (a plain number, or the text).
struct ExchangeField {
    std::string field;    // the record's field name, "Description"
    std::string name;     // the column's name in the header line
    std::string picture;  // "", "d3", "D4", "d17", "T3", "t3", "t7"
    FieldType type = FieldType::Text;
};

struct FieldLayout {
    std::vector<ExchangeField> fields;
    bool header = true;  // the first line names the columns
};

// "Schedule", "Contacts", "To Do".
std::string_view TableTitle(ExchangeTable table);
std::optional<ExchangeTable> TableNamed(std::string_view name);

// What a field of `table` holds.
enum class FieldKind { Number, Date, Time, Text };
struct AvailableField {
    std::string field;
    FieldKind kind = FieldKind::Text;
};
// The fields the exchange offers, in record order. The Exceptions fields of
// the schedule are offered here and nowhere else.
const std::vector<AvailableField>& AvailableFields(ExchangeTable table);
std::optional<FieldKind> KindOf(ExchangeTable table, std::string_view field);

// Every available field under its own name: dates as d17, times as t7,
// numbers bare, texts quoted.
FieldLayout DefaultLayout(ExchangeTable table);
// The field with the picture and type that suit its kind.
ExchangeField DefaultField(const AvailableField& available);

bool IsDatePicture(std::string_view picture);
bool IsTimePicture(std::string_view picture);

// A layout kept as text: a first line "header" or "no header", then one line
// per field in the comma-delimited encoding: field, name, picture and
// "number" or "text".
std::string WriteLayout(const FieldLayout& layout);
// The layout, or the reason it is not one (naming the line).
struct LayoutResult {
    FieldLayout layout;
    std::string error;  // empty when the layout is sound
};
LayoutResult ReadLayout(ExchangeTable table, std::string_view text);
// What is wrong with `layout` for `table`: an unknown field, a field twice, a
// picture that does not fit the field. Empty when nothing is.
std::string CheckLayout(ExchangeTable table, const FieldLayout& layout);

}  // namespace hrln::exchange
