#include "data/schema.h"

#include "data/records.h"

#include <stdexcept>

namespace hrln::data {

TableSchema::TableSchema(std::string name, std::string prefix, std::string sqlName,
                         std::vector<ColumnDef> columns, const std::vector<KeySpec>& keys, bool holdsPlaceholders)
    : name_(std::move(name)),
      prefix_(std::move(prefix)),
      sqlName_(std::move(sqlName)),
      columns_(std::move(columns)),
      holdsPlaceholders_(holdsPlaceholders)
{
    for (const KeySpec& declared : keys) {
        KeyDef key;
        key.name = declared.name;
        key.unique = declared.unique;
        key.excludesEmpty = declared.excludesEmpty;
        key.primary = declared.primary;
        for (const char* component : declared.components) {
            const int index = columnIndex(component);
            if (index < 0)
                throw std::logic_error("key " + key.name + " names unknown field " + component);
            key.columns.push_back(index);
        }
        keys_.push_back(std::move(key));
    }
}

int TableSchema::columnIndex(std::string_view name) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == name)
            return static_cast<int>(i);
    return -1;
}

std::string TableSchema::indexName(const KeyDef& key) const
{
    return sqlName_ + "_" + key.name;
}

std::string TableSchema::createTableSql() const
{
    // The row version lets a write detect a change made since the record was read;
    // the claim marks a record one station is working on (see TableBase::claim), and
    // a negative one a placeholder (TableBase::placeholderAdds).
    std::string sql = "CREATE TABLE \"" + sqlName_ +
                      "\" (rowid INTEGER PRIMARY KEY, _rowver INTEGER NOT NULL DEFAULT 0, _claim INTEGER NOT NULL DEFAULT 0";
    for (const ColumnDef& c : columns_) {
        sql += ", \"" + c.name + "\" ";
        if (c.kind == ColumnKind::Integer)
            sql += "INTEGER NOT NULL DEFAULT 0";
        else if (c.kind == ColumnKind::Text)
            sql += std::string("TEXT NOT NULL DEFAULT '' COLLATE ") + kKeyCollation;
        else
            sql += "TEXT NOT NULL DEFAULT ''";
    }
    sql += ") STRICT";
    return sql;
}

std::string TableSchema::keyFilterSql(const KeyDef& key) const
{
    if (!key.excludesEmpty)
        return "1";
    std::string sql = "(";
    for (std::size_t i = 0; i < key.columns.size(); ++i) {
        const ColumnDef& c = columns_[static_cast<std::size_t>(key.columns[i])];
        if (i > 0)
            sql += " OR ";
        sql += "\"" + c.name + "\" <> " + (c.kind == ColumnKind::Integer ? "0" : "''");
    }
    sql += ")";
    return sql;
}

std::string TableSchema::hidePlaceholdersSql(const KeyDef* key) const
{
    if (!holdsPlaceholders_)
        return {};
    bool takesThem = key == nullptr || !key->excludesEmpty;
    for (const KeyDef& primary : keys_) {
        if (!primary.primary || key == nullptr)
            continue;
        for (const int c : key->columns)
            for (const int p : primary.columns)
                takesThem = takesThem || c == p;
    }
    // A placeholder's claim holds minus its station's number.
    return takesThem ? " AND _claim >= 0" : "";
}

std::string TableSchema::createIndexSql(const KeyDef& key) const
{
    std::string sql = std::string("CREATE ") + (key.unique ? "UNIQUE " : "") + "INDEX \"" + indexName(key) +
                      "\" ON \"" + sqlName_ + "\" (";
    for (std::size_t i = 0; i < key.columns.size(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += "\"" + columns_[static_cast<std::size_t>(key.columns[i])].name + "\"";
    }
    // Equal entries of a key that allows duplicates keep the order they were added in.
    if (!key.unique)
        sql += ", rowid";
    sql += ")";
    if (key.excludesEmpty)
        sql += " WHERE " + keyFilterSql(key);
    return sql;
}

// The tables and their keys.

const TableSchema& ScheduleRecord::schema()
{
    static const TableSchema s(
        "Schedule", "SCH", "S", ColumnsOf<ScheduleRecord>(),
        {
            {"KeyID", {"ID"}, true, true, true},
            {"KeyUser", {"User", "ID"}, false, true},
            {"KeyDate", {"Date", "Time"}, false, true},
            {"KeyUserDate", {"User", "Date", "Time"}, false, true},
            {"KeyCategory", {"Category", "Description"}, false, true},
            {"KeyCategoryDate", {"Category", "Date", "Time"}, false, true},
            {"KeyTaskName", {"Description", "Category"}, false, true},
            {"KeyTaskType", {"TaskType", "Description"}, false, true},
            {"KeyTaskDate", {"TaskType", "Date", "Time"}, false, true},
            {"KeyDateEnabled", {"Disabled", "Date", "Time"}, false, true},
            {"KeyAdvanced", {"AdvanceWarned", "AdvanceWarnDate", "AdvanceWarnTime"}, false, true},
            {"KeyUserAdvanced", {"User", "AdvanceWarnDate", "AdvanceWarnTime"}, false, true},
        },
        true);
    return s;
}

const TableSchema& ScriptingRecord::schema()
{
    static const TableSchema s("Scripting", "SCR", "Script", ColumnsOf<ScriptingRecord>(),
                               {{"KeyID", {"ID", "Sequence"}, true, true, true}}, true);
    return s;
}

const TableSchema& CategoryRecord::schema()
{
    static const TableSchema s("Categories", "CAT", "Categories", ColumnsOf<CategoryRecord>(),
                               {{"KeyCategory", {"Category"}, true, true}});
    return s;
}

const TableSchema& TodoRecord::schema()
{
    static const TableSchema s("Todo", "TDO", "ToDo", ColumnsOf<TodoRecord>(),
                               {
                                   {"KeyDone", {"Done", "Priority", "ToDo"}, false, false},
                                   {"KeyPriority", {"Priority", "Done", "ToDo"}, false, false},
                                   {"KeyToDo", {"ToDo"}, false, false},
                                   {"KeyCategory", {"Category", "ToDo"}, false, true},
                               });
    return s;
}

const TableSchema& ContactRecord::schema()
{
    static const TableSchema s("Contact", "C_", "Contact", ColumnsOf<ContactRecord>(),
                               {
                                   {"KeyClientID", {"ClientID"}, true, true, true},
                                   {"KeyUserClientID", {"User", "ClientID"}, false, true},
                                   {"KeyLastName", {"LastName", "FirstName", "PostalCode"}, false, true},
                                   {"KeyFirstName", {"FirstName", "LastName", "PostalCode"}, false, true},
                                   {"KeyWorkPhone", {"WorkDayPhone"}, false, true},
                                   {"KeyHomePhone", {"HomeEveningPhone"}, false, true},
                                   {"KeyFaxNumber", {"Fax"}, false, true},
                                   {"KeyEmail", {"Email"}, false, true},
                                   {"KeyCategory", {"ContactCategory", "LastName", "FirstName"}, false, true},
                               },
                               true);
    return s;
}

const TableSchema& ContactCategoryRecord::schema()
{
    static const TableSchema s("ContactCategories", "CC", "ConCat", ColumnsOf<ContactCategoryRecord>(),
                               {{"KeyContactCategories", {"ContactCategory"}, true, true}});
    return s;
}

const TableSchema& LinkRecord::schema()
{
    static const TableSchema s("Link", "L", "Link", ColumnsOf<LinkRecord>(),
                               {
                                   {"KeySchedule", {"ID", "ClientID"}, true, true, true},
                                   {"KeyClient", {"ClientID", "ID"}, true, true},
                               });
    return s;
}

const TableSchema& ClipboardRecord::schema()
{
    static const TableSchema s("Clipboard", "CLI", "Clipboard", ColumnsOf<ClipboardRecord>(),
                               {
                                   {"KeyClipDate", {"User", "ClipDate", "ClipTime"}, false, false},
                                   {"KeyClipHash", {"User", "ClipHashKey"}, true, true},
                               });
    return s;
}

const TableSchema& TagRecord::schema()
{
    static const TableSchema s("TagFile", "TF_", "TagFile", ColumnsOf<TagRecord>(),
                               {
                                   {"PtrKey", {"USR", "TBL", "PTR"}, true, true, true},
                                   {"ValKey", {"USR", "TBL", "VAL"}, false, true},
                               });
    return s;
}

Byte& ScheduleRecord::weekdayFlag(int weekday)
{
    Byte* flags[] = {&sunday, &monday, &tuesday, &wednesday, &thursday, &friday, &saturday};
    return *flags[((weekday % 7) + 7) % 7];
}

Byte ScheduleRecord::weekdayFlag(int weekday) const
{
    return const_cast<ScheduleRecord*>(this)->weekdayFlag(weekday);
}

}  // namespace hrln::data
