#pragma once

namespace hrln::platform {

// The calls the database engine opens, closes and locks its files with, for
// a backend to replace. The engine takes them as they are, so each has the
// operating system call's own signature.
struct FileLockCalls {
    int (*open)(const char* path, int flags, int mode) = nullptr;
    int (*close)(int descriptor) = nullptr;
    int (*fcntl)(int descriptor, int command, ...) = nullptr;
};

}  // namespace hrln::platform
