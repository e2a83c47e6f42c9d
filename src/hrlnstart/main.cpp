// hrlnstart: starts a program of a scheduled task once the task's occurrence
// has been recorded.
//
//   hrlnstart DATABASE STATION SERIAL path|file PROGRAM [ARGUMENT...]
//
// Descriptor 3 is the gate. The scheduler writes "g" to it once the
// occurrence is recorded and "x" when it was not; the program then runs, or
// not. When the scheduler dies before it writes, the gate closes empty, and
// the database alone knows: the program runs exactly when its occurrence
// stands in the journal, read once the scheduler is wholly gone. Either way
// it replaces this process, keeping its process number.
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kGateFd = 3;
constexpr int kLockWaitMs = 30'000;
constexpr int kFirstProgramArgument = 5;
constexpr int kParentWaitMs = 2'000;

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

// The scheduler always hands over the gate as a pipe; without one this was
// started by someone else.
bool HasGate()
{
    struct stat gate {};
    return fstat(kGateFd, &gate) == 0 && S_ISFIFO(gate.st_mode);
}

// A dying process closes its descriptors one by one: the gate may close
// while its locks on the database are still held. A reader that comes then
// is not the file's first and reads it without a commit the scheduler was
// writing as it died, which the next first opener recovers: the program
// would not run although its occurrence is recorded. Its children are handed
// on only once every descriptor is closed, so this waits for that. Should
// the scheduler have been gone before this started, the wait ends after
// two seconds: its locks went with it then.
void WaitUntilGone(pid_t scheduler)
{
    const timespec pause{0, 1'000'000};
    for (int waited = 0; getppid() == scheduler && waited < kParentWaitMs; ++waited)
        nanosleep(&pause, nullptr);
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
    // Taken first, while the scheduler that started this is most likely alive.
    const pid_t scheduler = getppid();
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Usage: hrlnstart DATABASE STATION SERIAL path|file PROGRAM [ARGUMENT]...\n"
                    "Starts PROGRAM once horalyn has recorded the task's run, handed over on\n"
                    "descriptor 3. Horalyn starts it; it is not meant to be run by hand.\n");
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-V") == 0)) {
        std::printf("hrlnstart (horalyn) %s\n", HRLN_VERSION);
        return 0;
    }
    if (!HasGate()) {
        std::fprintf(stderr, "hrlnstart: a helper of horalyn, which starts it; not meant to be run by hand\n");
        return 2;
    }
    if (argc <= kFirstProgramArgument) {
        std::fprintf(stderr, "hrlnstart: too few arguments\n");
        return 2;
    }
    const char word = ReadWord();
    if (word == 0)
        WaitUntilGone(scheduler);
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
