#pragma once

#include <string>
#include <utility>
#include <vector>

// The identity a schedule or to-do record shows other programs' calendars:
// 128 random bits given when the record is added, kept while it lives (its
// row id stays through every write), and gone with it, so that a later record
// never takes it over, even where it gets the same task number or row id.
// Two files never give the same one. The identities live in the "_Uid" table
// beside the records; triggers of the file give and remove them, whichever
// connection or program writes.
namespace hrln::data {

class TableBase;

// The table and its triggers, as internal tables of the main layout (name and
// statements). Each trigger's statements also give an identity to every record
// that has none yet, as in a file made before them.
std::vector<std::pair<std::string, std::string>> RecordUidObjects();

// The identity of the record the buffer last read or added; empty when it
// has none (no record, or a table without identities).
std::string RecordUid(const TableBase& record);

}  // namespace hrln::data
