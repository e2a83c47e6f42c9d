// hrlnstart: starts a program of a scheduled task once the task's occurrence
// has been recorded.
//
//   hrlnstart DATABASE STATION SERIAL path|file PROGRAM [ARGUMENT...]
//
// Descriptor 3 is the gate. The scheduler writes "g" to it once the
// occurrence is recorded and "x" when it was not; the program then runs, or
// not. When the scheduler dies before it writes, the gate closes empty, and
// the database alone knows: the program runs exactly when its occurrence
// stands in the journal. Either way it replaces this process, keeping its
// process number.
#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr int kGateFd = 3;
constexpr int kLockWaitMs = 30'000;
constexpr int kFirstProgramArgument = 5;

// Whether the journal holds occurrence (station, serial).
bool Recorded(const char* database, const char* station, const char* serial)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    // A writer that died left its lock with it; one still running finishes soon.
    sqlite3_busy_timeout(db, kLockWaitMs);
    sqlite3_stmt* find = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM \"_Occurrence\" WHERE station = ? AND serial = ?", -1, &find,
                           nullptr) == SQLITE_OK) {
        sqlite3_bind_int64(find, 1, std::strtoll(station, nullptr, 10));
        sqlite3_bind_int64(find, 2, std::strtoll(serial, nullptr, 10));
        found = sqlite3_step(find) == SQLITE_ROW;
    }
    sqlite3_finalize(find);
    sqlite3_close(db);
    return found;
}

char ReadWord()
{
    char word = 0;
    ssize_t got = 0;
    do {
        got = read(kGateFd, &word, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1 ? word : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc <= kFirstProgramArgument)
        return 2;
    const char word = ReadWord();
    const bool run = word == 'g' || (word != 'x' && Recorded(argv[1], argv[2], argv[3]));
    close(kGateFd);
    if (!run)
        return 0;
    char** program = argv + kFirstProgramArgument;
    if (std::string(argv[4]) == "path")
        execvp(program[0], program);
    else
        execv(program[0], program);
    return 127;
}
