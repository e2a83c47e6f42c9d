#pragma once

namespace hrln::platform {

// Tells a waiting program whether anybody may have written its database
// files, so that a tick with nothing due reads nothing. It must never miss a
// write: where it cannot see every one (a network file system, no watch to
// be had), it says "changed" every time.
class StoreWatch {
public:
    virtual ~StoreWatch() = default;
    // Whether the files may have changed since the last call (the first call: true).
    virtual bool changedSinceAsked() = 0;
};

}  // namespace hrln::platform
