#pragma once

#include "data/database.h"
#include "data/key_view.h"
#include "data/records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hrln::data {

// The tables whose records can be marked, as the tag file numbers them.
enum class TaggedTable : Short { Schedule = 1, Contacts = 2, ToDo = 3 };

// The number that stands for a user in the tag file: 0 without a user name
// (one user), else the same number for every spelling of the name that the
// keys take as equal.
Long TagUser(std::string_view userName);

// The marks one user has set on one table's records, kept in the tag file
// (TagFile_.TPS) by the records' row ids. A mark on a record that is gone
// marks nothing: views over the table meet only the records that exist.
class RecordTags {
public:
    static constexpr const char* kMark = "Selected";
    // The name the tag file is attached under to a connection that views marked records.
    static constexpr const char* kSchema = "tags";

    RecordTags(Database& tagFile, Long user, TaggedTable table);

    int mark(std::int64_t rowid);  // marking twice is marking once
    int unmark(std::int64_t rowid);
    bool marked(std::int64_t rowid);
    int clear();
    std::int64_t count();

    // Narrows a view over the marked table, on a connection that has the tag
    // file attached as kSchema, to the marked records.
    KeyView::Restriction restriction() const;

    Database& file() const { return db_; }

private:
    int run(const char* sql, std::int64_t rowid, std::int64_t* result = nullptr);

    Database& db_;
    Long user_;
    TaggedTable table_;
};

// Opens the tag file in the current folder, making it when missing, and
// attaches it to `main` for the views of marked records.
int OpenTagFile(Database& tagFile, Database& main);

}  // namespace hrln::data
