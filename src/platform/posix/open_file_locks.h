#pragma once

#include "platform/file_locks.h"

namespace hrln::platform::posix {

// Record locks that belong to an open file description of their own instead
// of to the process. A classic POSIX lock is dropped when the process closes
// ANY descriptor of the file, so a file dialog or type detector that merely
// peeks into the database would cancel every lock the database holds; the
// next program to close it then takes itself for the last user and removes
// the log under us. With these calls each database file gets one private
// description (a duplicate of the engine's first descriptor), and every
// lock the engine takes or tests is taken on it as an open-file-description
// lock, which only closing that description releases. The description is
// closed when the engine closes its last descriptor of the file.
//
// Locks taken this way still conflict with other processes' classic locks,
// so programs using either kind share a file safely.
FileLockCalls OpenFileDescriptionLocks();

}  // namespace hrln::platform::posix
