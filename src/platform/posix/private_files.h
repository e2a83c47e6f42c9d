#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace hrln::platform::posix {

// From now on every file and folder the process makes is its user's alone
// (mode creation mask 077): a schedule holds scripts whose typed keys may be
// passwords. Called once at start, before any file is made.
void KeepNewFilesPrivate();

// The mask the process had before, which the programs it starts for the user
// get back (their files are theirs to share); none while the process keeps
// the mask it was started with.
std::optional<mode_t> UserFileMask();

// Takes the group's and others' rights away from `path` when the user owns
// it: a folder becomes 0700, a file keeps only its owner's bits. False, with
// `error` filled in, when the change fails.
bool MakePrivate(const std::string& path, std::string& error);

}  // namespace hrln::platform::posix
