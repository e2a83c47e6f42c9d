#include "data/table.h"

#include <sqlite3.h>

#include <algorithm>

namespace hrln::data {

void BindInteger(sqlite3_stmt* stmt, int param, std::int64_t value)
{
    sqlite3_bind_int64(stmt, param, value);
}

void BindText(sqlite3_stmt* stmt, int param, std::string_view value)
{
    sqlite3_bind_text(stmt, param, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

std::int64_t ColumnInteger(sqlite3_stmt* stmt, int column)
{
    return sqlite3_column_int64(stmt, column);
}

std::string_view ColumnText(sqlite3_stmt* stmt, int column)
{
    const auto* p = sqlite3_column_text(stmt, column);
    if (p == nullptr)
        return {};
    return {reinterpret_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))};
}

int BindValues(sqlite3_stmt* stmt, const std::vector<Value>& values, int firstParam)
{
    int param = firstParam;
    for (const Value& v : values) {
        if (const auto* i = std::get_if<std::int64_t>(&v))
            BindInteger(stmt, param++, *i);
        else
            BindText(stmt, param++, std::get<std::string>(v));
    }
    return param;
}

TableBase::TableBase(Database& db, const TableSchema& schema) : db_(db), schema_(schema) {}

int TableBase::bindBufferKey(sqlite3_stmt* stmt, int key) const
{
    std::vector<Value> values;
    for (const int c : schema_.key(key).columns)
        values.push_back(fieldValue(c));
    return BindValues(stmt, values, 1);
}

TableBase::~TableBase()
{
    finalizeAll();
}

void TableBase::finalizeAll()
{
    for (auto& [id, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
}

bool TableBase::validKey(int key) const
{
    return key >= 0 && static_cast<std::size_t>(key) < schema_.keys().size();
}

std::string TableBase::buildSql(Op op, int keyIndex) const
{
    const std::string table = "\"" + schema_.sqlName() + "\"";
    std::string columns = "rowid, _rowver, _claim";
    for (const ColumnDef& c : schema_.columns())
        columns += ", \"" + c.name + "\"";

    if (op == Insert) {
        std::string names;
        std::string params;
        for (const ColumnDef& c : schema_.columns()) {
            names += (names.empty() ? "\"" : ", \"") + c.name + "\"";
            params += params.empty() ? "?" : ", ?";
        }
        return "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")";
    }
    if (op == InsertPlaceholder) {
        std::string names;
        for (const KeyDef& key : schema_.keys())
            if (key.primary)
                for (const int c : key.columns)
                    names += "\"" + schema_.columns()[static_cast<std::size_t>(c)].name + "\", ";
        std::string params;
        for (std::size_t i = 0, n = static_cast<std::size_t>(std::count(names.begin(), names.end(), ',')); i <= n; ++i)
            params += i == 0 ? "?" : ", ?";
        return "INSERT INTO " + table + " (" + names + "_claim) VALUES (" + params + ")";
    }
    if (op == Update) {
        std::string sets;
        for (const ColumnDef& c : schema_.columns())
            sets += "\"" + c.name + "\" = ?, ";
        return "UPDATE " + table + " SET " + sets + "_rowver = _rowver + 1, _claim = 0 WHERE rowid = ? AND _rowver = ?";
    }
    if (op == Claim)
        return "UPDATE " + table + " SET _claim = ?, _rowver = _rowver + 1 WHERE rowid = ? AND _rowver = ?";
    if (op == Count)
        return "SELECT COUNT(*) FROM " + table;
    if (op == Delete)
        return "DELETE FROM " + table + " WHERE rowid = ?";
    if (op == ByRowid)
        return "SELECT " + columns + " FROM " + table + " WHERE rowid = ?";
    if (op == Version)
        return "SELECT _rowver FROM " + table + " WHERE rowid = ?";

    const KeyDef& key = schema_.key(keyIndex);
    std::vector<std::string> parts;
    for (const int c : key.columns)
        parts.push_back("\"" + schema_.columns()[static_cast<std::size_t>(c)].name + "\"");
    std::vector<std::string> ordered = parts;
    if (!key.unique)
        ordered.push_back("rowid");  // equal entries keep the order they were added in
    const auto join = [](const std::vector<std::string>& items, const std::string& suffix) {
        std::string out;
        for (const std::string& item : items)
            out += (out.empty() ? "" : ", ") + item + suffix;
        return out;
    };
    const auto params = [](std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i)
            out += i == 0 ? "?" : ", ?";
        return out;
    };
    const std::string from =
        " FROM " + table + " INDEXED BY \"" + schema_.indexName(key) + "\" WHERE " + schema_.keyFilterSql(key);
    // Reads by key value find a placeholder; walks pass over it.
    const std::string walk = from + (seesPlaceholders_ ? std::string() : schema_.hidePlaceholdersSql(&key));
    const std::string ascending = " ORDER BY " + join(ordered, "") + " LIMIT 1";
    const std::string descending = " ORDER BY " + join(ordered, " DESC") + " LIMIT 1";
    const std::string select = "SELECT " + columns + walk;

    switch (op) {
    case NextStart: return select + ascending;
    case PrevStart: return select + descending;
    case NextFrom: return select + " AND (" + join(parts, "") + ") >= (" + params(parts.size()) + ")" + ascending;
    case PrevFrom: return select + " AND (" + join(parts, "") + ") <= (" + params(parts.size()) + ")" + descending;
    case NextAfter: return select + " AND (" + join(ordered, "") + ") > (" + params(ordered.size()) + ")" + ascending;
    case PrevAfter: return select + " AND (" + join(ordered, "") + ") < (" + params(ordered.size()) + ")" + descending;
    case Get: {
        // All components are fixed: a unique key has one entry at most, others
        // list theirs in the order they were added.
        std::string where;
        for (const std::string& p : parts)
            where += " AND " + p + " = ?";
        return "SELECT " + columns + from + where + (key.unique ? " LIMIT 1" : " ORDER BY rowid LIMIT 1");
    }
    case Dup: {
        std::string where;
        for (const std::string& p : parts)
            where += " AND " + p + " = ?";
        return "SELECT 1" + from + where + " AND rowid <> ? LIMIT 1";
    }
    default: return {};
    }
}

sqlite3_stmt* TableBase::statement(Op op, int key)
{
    if (generation_ != db_.generation()) {
        finalizeAll();  // the connection they belonged to is gone
        generation_ = db_.generation();
    }
    const int id = static_cast<int>(op) * 1000 + std::max(key, 0);
    const auto found = statements_.find(id);
    if (found != statements_.end()) {
        sqlite3_reset(found->second);
        sqlite3_clear_bindings(found->second);
        return found->second;
    }
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = buildSql(op, key);
    const int rc = sqlite3_prepare_v3(db_.handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        error_ = db_.mapError(rc);
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_[id] = stmt;
    return stmt;
}

int TableBase::step(sqlite3_stmt* stmt, bool forRead, int notFound)
{
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW && forRead) {
        readFields(stmt, kFirstField);
        currentRowid_ = sqlite3_column_int64(stmt, 0);
        currentVersion_ = sqlite3_column_int64(stmt, 1);
        currentClaim_ = sqlite3_column_int64(stmt, 2);
        // The new position: this record's key values, and its row id as tie-breaker.
        const KeyDef& key = schema_.key(key_);
        bound_.clear();
        for (const int c : key.columns) {
            if (schema_.columns()[static_cast<std::size_t>(c)].kind == ColumnKind::Integer)
                bound_.emplace_back(sqlite3_column_int64(stmt, c + kFirstField));
            else
                bound_.emplace_back(std::string(ColumnText(stmt, c + kFirstField)));
        }
        if (!key.unique)
            bound_.emplace_back(currentRowid_);
        position_ = Position::After;
        sqlite3_reset(stmt);
        return error_ = kOk;
    }
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW || rc == SQLITE_DONE)
        return error_ = rc == SQLITE_ROW ? kOk : notFound;
    return error_ = db_.mapError(rc);
}

int TableBase::set(int key)
{
    if (!validKey(key))
        return fail(kBadKey);
    key_ = key;
    position_ = Position::Start;
    bound_.clear();
    return error_ = kOk;
}

int TableBase::setFrom(int key)
{
    if (!validKey(key))
        return fail(kBadKey);
    key_ = key;
    position_ = Position::AtValues;
    bound_.clear();
    for (const int c : schema_.key(key).columns)
        bound_.push_back(fieldValue(c));
    return error_ = kOk;
}

int TableBase::read(Op op)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    if (position_ == Position::None || key_ < 0)
        return fail(kRecordNotAvailable);
    if (position_ == Position::Start)
        op = op == NextAfter ? NextStart : PrevStart;
    else if (position_ == Position::AtValues)
        op = op == NextAfter ? NextFrom : PrevFrom;
    sqlite3_stmt* stmt = statement(op, key_);
    if (stmt == nullptr)
        return error_;
    if (op != NextStart && op != PrevStart)
        BindValues(stmt, bound_, 1);
    return step(stmt, true, kRecordNotAvailable);
}

int TableBase::next()
{
    return read(NextAfter);
}

int TableBase::previous()
{
    return read(PrevAfter);
}

int TableBase::get(int key)
{
    if (!validKey(key))
        return fail(kBadKey);
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    sqlite3_stmt* stmt = statement(Get, key);
    if (stmt == nullptr)
        return error_;
    bindBufferKey(stmt, key);
    const int savedKey = key_;
    key_ = key;
    const int err = step(stmt, true, kRecordNotFound);
    if (err != kOk)
        key_ = savedKey;
    return err;
}

int TableBase::reget(int key, std::int64_t rowid)
{
    if (!validKey(key))
        return fail(kBadKey);
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    sqlite3_stmt* stmt = statement(ByRowid, 0);
    if (stmt == nullptr)
        return error_;
    BindInteger(stmt, 1, rowid);
    const int savedKey = key_;
    key_ = key;
    const int err = step(stmt, true, kRecordNotFound);
    if (err != kOk)
        key_ = savedKey;
    return err;
}

int TableBase::add()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    const bool placeholder = placing_ && schema_.holdsPlaceholders();
    sqlite3_stmt* stmt = statement(placeholder ? InsertPlaceholder : Insert, 0);
    if (stmt == nullptr)
        return error_;
    std::int64_t claim = 0;
    if (placeholder) {
        int param = 1;
        for (const KeyDef& key : schema_.keys())
            if (key.primary)
                for (const int c : key.columns)
                    param = BindValues(stmt, {fieldValue(c)}, param);
        claim = db_.station() > 0 ? -db_.station() : kNoOwner;
        BindInteger(stmt, param, claim);
    } else {
        bindFields(stmt, 1);
    }
    if (step(stmt, false, kOk) != kOk)
        return error_;
    currentRowid_ = sqlite3_last_insert_rowid(db_.handle());
    currentVersion_ = 0;
    currentClaim_ = claim;
    return error_;
}

void TableBase::seePlaceholders()
{
    if (seesPlaceholders_)
        return;
    seesPlaceholders_ = true;
    std::lock_guard lock(db_.mutex());
    finalizeAll();
}

int TableBase::put()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    if (currentRowid_ == 0)
        return fail(kRecordNotAvailable);
    sqlite3_stmt* stmt = statement(Update, 0);
    if (stmt == nullptr)
        return error_;
    const int columns = static_cast<int>(schema_.columns().size());
    bindFields(stmt, 1);
    BindInteger(stmt, columns + 1, currentRowid_);
    BindInteger(stmt, columns + 2, currentVersion_);
    if (step(stmt, false, kOk) != kOk)
        return error_;
    if (sqlite3_changes(db_.handle()) == 1) {
        ++currentVersion_;
        currentClaim_ = 0;
        return error_;
    }
    // Nothing written: the record was changed or deleted since it was read.
    sqlite3_stmt* version = statement(Version, 0);
    if (version == nullptr)
        return error_;
    BindInteger(version, 1, currentRowid_);
    const int rc = sqlite3_step(version);
    sqlite3_reset(version);
    if (rc == SQLITE_ROW)
        return fail(kRecordChanged);
    if (rc == SQLITE_DONE)
        return fail(kRecordNotAvailable);
    return fail(db_.mapError(rc));
}

int TableBase::remove()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    if (currentRowid_ == 0)
        return fail(kRecordNotAvailable);
    sqlite3_stmt* stmt = statement(Delete, 0);
    if (stmt == nullptr)
        return error_;
    BindInteger(stmt, 1, currentRowid_);
    if (step(stmt, false, kOk) != kOk)
        return error_;
    const bool deleted = sqlite3_changes(db_.handle()) == 1;
    currentRowid_ = 0;
    return deleted ? error_ : fail(kRecordNotAvailable);
}

int TableBase::reread()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    if (currentRowid_ == 0)
        return fail(kRecordNotAvailable);
    sqlite3_stmt* stmt = statement(ByRowid, 0);
    if (stmt == nullptr)
        return error_;
    BindInteger(stmt, 1, currentRowid_);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        readFields(stmt, kFirstField);
        currentVersion_ = sqlite3_column_int64(stmt, 1);
        currentClaim_ = sqlite3_column_int64(stmt, 2);
    }
    sqlite3_reset(stmt);
    if (rc == SQLITE_ROW)
        return error_ = kOk;
    return fail(rc == SQLITE_DONE ? kRecordNotAvailable : db_.mapError(rc));
}

void TableBase::restore(const Hold& held)
{
    currentRowid_ = held.rowid;
    currentVersion_ = held.version;
    currentClaim_ = held.claim;
}

int TableBase::count()
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return 0;
    sqlite3_stmt* stmt = statement(Count, 0);
    if (stmt == nullptr)
        return 0;
    const int rc = sqlite3_step(stmt);
    const int n = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_reset(stmt);
    return n;
}

int TableBase::claim(std::int64_t holder)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return fail(kFileNotOpen);
    if (currentRowid_ == 0)
        return fail(kRecordNotAvailable);
    sqlite3_stmt* stmt = statement(Claim, 0);
    if (stmt == nullptr)
        return error_;
    BindInteger(stmt, 1, holder);
    BindInteger(stmt, 2, currentRowid_);
    BindInteger(stmt, 3, currentVersion_);
    if (step(stmt, false, kOk) != kOk)
        return error_;
    if (sqlite3_changes(db_.handle()) != 1)
        return fail(kRecordChanged);
    ++currentVersion_;
    currentClaim_ = holder;
    return error_;
}

bool TableBase::duplicate(int key)
{
    if (!validKey(key))
        return false;
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return false;
    sqlite3_stmt* stmt = statement(Dup, key);
    if (stmt == nullptr)
        return false;
    const int param = bindBufferKey(stmt, key);
    BindInteger(stmt, param, currentRowid_);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    return rc == SQLITE_ROW;
}

}  // namespace hrln::data
