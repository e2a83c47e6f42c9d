#include "data/record_stream.h"

#include <sqlite3.h>

#include <mutex>

namespace hrln::data {

RecordStreamBase::RecordStreamBase(Database& db, const TableSchema& schema, int key,
                                   const std::vector<std::string_view>& fields, FieldMatch match, std::string index)
    : db_(db), schema_(schema), key_(key), wanted_(schema.columns().size(), false), match_(std::move(match)),
      index_(std::move(index))
{
    for (const std::string_view name : fields) {
        const int column = schema_.columnIndex(name);
        if (column < 0)
            error_ = kBadKey;  // a field the record does not have: a fault of the caller
        else
            wanted_[static_cast<std::size_t>(column)] = true;
    }
    if (key != kFileOrder && (key < 0 || static_cast<std::size_t>(key) >= schema_.keys().size()))
        error_ = kBadKey;
    if (!index_.empty() && key == kFileOrder)
        error_ = kBadKey;  // an index stands in for a key's order only
    for (const auto& [name, value] : match_.equal)
        if (schema_.columnIndex(name) < 0)
            error_ = kBadKey;
}

RecordStreamBase::~RecordStreamBase()
{
    finish();
}

void RecordStreamBase::finish()
{
    // Finalized even after its connection was closed: the close completes then.
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

int RecordStreamBase::start()
{
    std::string columns;
    rowidColumn_ = 0;
    for (std::size_t c = 0; c < wanted_.size(); ++c)
        if (wanted_[c]) {
            columns += "\"" + schema_.columns()[c].name + "\", ";
            ++rowidColumn_;
        }
    columns += "rowid";
    std::string order;
    std::string where = "1";
    std::string from = "\"" + schema_.sqlName() + "\"";
    if (key_ != kFileOrder) {
        const KeyDef& key = schema_.key(key_);
        for (const int c : key.columns)
            order += "\"" + schema_.columns()[static_cast<std::size_t>(c)].name + "\", ";
        where = schema_.keyFilterSql(key);
        from += " INDEXED BY \"" + (index_.empty() ? schema_.indexName(key) : index_) + "\"";
    }
    where += schema_.hidePlaceholdersSql(key_ != kFileOrder ? &schema_.key(key_) : nullptr);
    order += "rowid";  // equal entries in the order they were added, as the key gives them
    if (!match_.equal.empty()) {
        // The values written out (they are numbers), so that the planner
        // can see that a partial index holds exactly the entries matched.
        std::string all;
        for (const auto& [name, value] : match_.equal)
            all += (all.empty() ? "\"" : " AND \"") + name + "\" = " + std::to_string(value);
        where += std::string(match_.holds ? " AND (" : " AND NOT (") + all + ")";
    }
    const std::string sql = "SELECT " + columns + " FROM " + from + " WHERE " + where + " ORDER BY " + order;

    const int rc = sqlite3_prepare_v2(db_.handle(), sql.c_str(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        return error_ = db_.mapError(rc);
    }
    generation_ = db_.generation();
    return kOk;
}

int RecordStreamBase::next()
{
    std::lock_guard lock(db_.mutex());
    if (done_ || error_ != kOk)
        return error_ == kOk ? kRecordNotAvailable : error_;
    if (!db_.isOpen() || (stmt_ != nullptr && generation_ != db_.generation())) {
        finish();  // its connection is gone: the file was closed under the stream
        return error_ = kFileNotOpen;
    }
    if (stmt_ == nullptr && start() != kOk)
        return error_;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        readFields(stmt_, wanted_);
        rowid_ = ColumnInteger(stmt_, rowidColumn_);
        return kOk;
    }
    finish();
    if (rc == SQLITE_DONE) {
        done_ = true;
        return kRecordNotAvailable;
    }
    return error_ = db_.mapError(rc);
}

}  // namespace hrln::data
