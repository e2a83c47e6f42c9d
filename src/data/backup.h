#pragma once

#include <string>

namespace hrln::data {

class Database;

// A copy of the whole database file (every table, scripts, contact links and
// the program's own bookkeeping) to `target`, through SQLite's online backup:
// one read transaction over the open connection, so the copy is the file as
// one commit left it while other connections (a running program) go on
// writing. The copy is written beside `target` and takes its name only when
// whole; an earlier file of that name stays until then. Returns kOk or the
// error, with its words in `why`.
int BackupDatabase(Database& db, const std::string& target, std::string& why);

}  // namespace hrln::data
