#include "data/record_tags.h"

#include "common/text.h"

#include <sqlite3.h>

#include <mutex>

namespace hrln::data {

Long TagUser(std::string_view userName)
{
    const std::string name = text::ToUpper(text::Trim(userName));
    if (name.empty())
        return 0;
    // FNV-1a, folded to 31 bits and never 0, which is the single user's.
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    const auto user = static_cast<Long>(hash & 0x7fffffffu);
    return user == 0 ? 1 : user;
}

RecordTags::RecordTags(Database& tagFile, Long user, TaggedTable table) : db_(tagFile), user_(user), table_(table) {}

int RecordTags::run(const char* sql, std::int64_t rowid, std::int64_t* result)
{
    std::lock_guard lock(db_.mutex());
    if (!db_.isOpen())
        return kFileNotOpen;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_.handle(), sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        BindInteger(stmt, 1, user_);
        BindInteger(stmt, 2, static_cast<std::int64_t>(table_));
        if (sqlite3_bind_parameter_count(stmt) >= 3)
            BindInteger(stmt, 3, rowid);
        if (sqlite3_bind_parameter_count(stmt) >= 4)
            BindText(stmt, 4, kMark);
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW && result != nullptr)
            *result = sqlite3_column_int64(stmt, 0);
        if (rc == SQLITE_ROW || rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return rc == SQLITE_OK ? kOk : db_.mapError(rc);
}

int RecordTags::mark(std::int64_t rowid)
{
    return run("INSERT OR IGNORE INTO \"TagFile\" (\"USR\", \"TBL\", \"PTR\", \"VAL\") VALUES (?1, ?2, ?3, ?4)", rowid);
}

int RecordTags::unmark(std::int64_t rowid)
{
    return run("DELETE FROM \"TagFile\" WHERE \"USR\" = ?1 AND \"TBL\" = ?2 AND \"PTR\" = ?3", rowid);
}

bool RecordTags::marked(std::int64_t rowid)
{
    std::int64_t n = 0;
    return run("SELECT COUNT(*) FROM \"TagFile\" WHERE \"USR\" = ?1 AND \"TBL\" = ?2 AND \"PTR\" = ?3", rowid, &n) ==
               kOk &&
           n > 0;
}

int RecordTags::clear()
{
    return run("DELETE FROM \"TagFile\" WHERE \"USR\" = ?1 AND \"TBL\" = ?2", 0);
}

std::int64_t RecordTags::count()
{
    std::int64_t n = 0;
    return run("SELECT COUNT(*) FROM \"TagFile\" WHERE \"USR\" = ?1 AND \"TBL\" = ?2", 0, &n) == kOk ? n : 0;
}

KeyView::Restriction RecordTags::restriction() const
{
    return {std::string("rowid IN (SELECT \"PTR\" FROM ") + kSchema + ".\"TagFile\" WHERE \"USR\" = ? AND \"TBL\" = ?)",
            {std::int64_t{user_}, static_cast<std::int64_t>(table_)}};
}

int OpenTagFile(Database& tagFile, Database& main)
{
    if (const int err = tagFile.create(); err != kOk)
        return err;
    return main.attach(tagFile.path(), RecordTags::kSchema);
}

}  // namespace hrln::data
