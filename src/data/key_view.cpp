#include "data/key_view.h"

#include <sqlite3.h>

#include <algorithm>
#include <mutex>

namespace hrln::data {

KeyView::KeyView(Database& db, const TableSchema& schema, int key, std::vector<Value> prefix, Restriction restriction)
    : db_(db), schema_(schema), key_(key), prefix_(std::move(prefix)), restriction_(std::move(restriction))
{
    const std::size_t components = schema_.key(key_).columns.size();
    if (prefix_.size() > components)
        prefix_.resize(components);
}

KeyView::~KeyView()
{
    finalizeAll();
}

void KeyView::finalizeAll()
{
    for (sqlite3_stmt* stmt : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
}

std::string KeyView::sql(Op op) const
{
    const KeyDef& key = schema_.key(key_);
    std::vector<std::string> columns;
    for (const int c : key.columns)
        columns.push_back("\"" + schema_.columns()[static_cast<std::size_t>(c)].name + "\"");
    const auto join = [&](const std::string& suffix) {
        std::string out;
        for (const std::string& c : columns)
            out += c + suffix + ", ";
        return out + "rowid" + suffix;
    };
    std::string params;
    for (std::size_t i = 0; i <= columns.size(); ++i)
        params += i == 0 ? "?" : ", ?";

    std::string where = schema_.keyFilterSql(key) + schema_.hidePlaceholdersSql(&key);
    for (std::size_t i = 0; i < prefix_.size(); ++i)
        where += " AND " + columns[i] + " = ?";
    // A restricted view is usually a few records: SQLite then starts from them
    // and sorts, rather than walk the whole key.
    const bool restricted = !restriction_.sql.empty();
    if (restricted)
        where += " AND (" + restriction_.sql + ")";
    const std::string table = "\"" + schema_.sqlName() + "\"";
    const std::string from =
        " FROM " + table + (restricted ? "" : " INDEXED BY \"" + schema_.indexName(key) + "\"") + " WHERE " + where;
    const std::string select = "SELECT " + join("") + from;
    const std::string ascending = " ORDER BY " + join("");
    const std::string descending = " ORDER BY " + join(" DESC");

    switch (op) {
    case Count: return "SELECT COUNT(*)" + from;
    case Forward: return select + ascending + " LIMIT ? OFFSET ?";
    case FromEnd: return select + descending + " LIMIT ? OFFSET ?";
    case After: return select + " AND (" + join("") + ") > (" + params + ")" + ascending + " LIMIT ?";
    case Before: return select + " AND (" + join("") + ") < (" + params + ")" + descending + " LIMIT ?";
    case Locate: return "SELECT " + join("") + " FROM " + table + " WHERE " + where + " AND rowid = ?";
    case Ordinal: return "SELECT COUNT(*)" + from + " AND (" + join("") + ") < (" + params + ")";
    case Backward: break;
    }
    return {};
}

sqlite3_stmt* KeyView::statement(Op op)
{
    if (generation_ != db_.generation()) {
        finalizeAll();  // their connection is gone
        generation_ = db_.generation();
    }
    const auto index = static_cast<std::size_t>(op);
    if (statements_.size() <= index)
        statements_.resize(index + 1, nullptr);
    if (sqlite3_stmt* stmt = statements_[index]; stmt != nullptr) {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        return stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_.handle(), sql(op).c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        error_ = db_.mapError(rc);
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_[index] = stmt;
    return stmt;
}

int KeyView::bindPrefix(sqlite3_stmt* stmt) const
{
    return BindValues(stmt, restriction_.values, BindValues(stmt, prefix_, 1));
}

std::vector<KeyView::Entry> KeyView::collect(sqlite3_stmt* stmt, bool reversed)
{
    const KeyDef& key = schema_.key(key_);
    std::vector<Entry> out;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Entry e;
        for (std::size_t i = 0; i < key.columns.size(); ++i) {
            const int column = static_cast<int>(i);
            if (schema_.columns()[static_cast<std::size_t>(key.columns[i])].kind == ColumnKind::Integer)
                e.values.emplace_back(ColumnInteger(stmt, column));
            else
                e.values.emplace_back(std::string(ColumnText(stmt, column)));
        }
        e.rowid = ColumnInteger(stmt, static_cast<int>(key.columns.size()));
        out.push_back(std::move(e));
    }
    error_ = rc == SQLITE_DONE ? kOk : db_.mapError(rc);
    sqlite3_reset(stmt);
    if (reversed)
        std::reverse(out.begin(), out.end());
    return out;
}

std::int64_t KeyView::count()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return error_ = kFileNotOpen, 0;
    sqlite3_stmt* stmt = statement(Count);
    if (stmt == nullptr)
        return 0;
    bindPrefix(stmt);
    const int rc = sqlite3_step(stmt);
    const std::int64_t n = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    error_ = rc == SQLITE_ROW ? kOk : db_.mapError(rc);
    sqlite3_reset(stmt);
    return n;
}

std::vector<KeyView::Entry> KeyView::at(std::int64_t first, int n, std::int64_t total)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return error_ = kFileNotOpen, std::vector<Entry>{};
    if (first < 0 || n <= 0)
        return {};
    // An offset walks the index from one end; the nearer end keeps the last
    // page as cheap as the first.
    if (total < 0)
        total = count();
    if (first >= total)
        return {};
    const std::int64_t last = std::min<std::int64_t>(total, first + n);
    const bool fromEnd = first > total - last;
    sqlite3_stmt* stmt = statement(fromEnd ? FromEnd : Forward);
    if (stmt == nullptr)
        return {};
    const int param = bindPrefix(stmt);
    BindInteger(stmt, param, last - first);
    BindInteger(stmt, param + 1, fromEnd ? total - last : first);
    return collect(stmt, fromEnd);
}

std::vector<KeyView::Entry> KeyView::after(const Entry& anchor, int n)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return error_ = kFileNotOpen, std::vector<Entry>{};
    sqlite3_stmt* stmt = statement(After);
    if (stmt == nullptr || n <= 0)
        return {};
    int param = BindValues(stmt, anchor.values, bindPrefix(stmt));
    BindInteger(stmt, param++, anchor.rowid);
    BindInteger(stmt, param, n);
    return collect(stmt, false);
}

std::vector<KeyView::Entry> KeyView::before(const Entry& anchor, int n)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return error_ = kFileNotOpen, std::vector<Entry>{};
    sqlite3_stmt* stmt = statement(Before);
    if (stmt == nullptr || n <= 0)
        return {};
    int param = BindValues(stmt, anchor.values, bindPrefix(stmt));
    BindInteger(stmt, param++, anchor.rowid);
    BindInteger(stmt, param, n);
    return collect(stmt, true);
}

std::int64_t KeyView::ordinalOf(std::int64_t rowid)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return error_ = kFileNotOpen, -1;
    sqlite3_stmt* locate = statement(Locate);
    if (locate == nullptr)
        return -1;
    BindInteger(locate, bindPrefix(locate), rowid);
    const std::vector<Entry> found = collect(locate, false);
    if (found.empty())
        return -1;
    sqlite3_stmt* stmt = statement(Ordinal);
    if (stmt == nullptr)
        return -1;
    const int param = BindValues(stmt, found.front().values, bindPrefix(stmt));
    BindInteger(stmt, param, rowid);
    const int rc = sqlite3_step(stmt);
    const std::int64_t n = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    error_ = rc == SQLITE_ROW ? kOk : db_.mapError(rc);
    sqlite3_reset(stmt);
    return n;
}

}  // namespace hrln::data
