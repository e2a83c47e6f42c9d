#pragma once

#include <string>
#include <string_view>

// Unix-domain stream sockets for the few lines one program of ours sends to
// another on the same machine: plain system calls, so that the resident
// program carries no network library for them.
namespace hrln::platform::posix {

// A listening socket at `path`, closed on exec and not blocking; -1 with
// `error` filled in when it cannot be made. Only this user can connect. A
// socket file nobody listens on any more (left by a program that died), or
// another user's, is replaced; one a program of this user answers on is not.
int ListenLocal(const std::string& path, std::string& error);

// A connection to the socket at `path` within `timeoutMs`; -1 when nobody
// listens there.
int ConnectLocal(const std::string& path, int timeoutMs);

// The user id of the program at the other end of a connected socket; -1 when
// it cannot be told.
long PeerUser(int fd);

// The next connection waiting on a listening socket, not blocking; -1 when none waits.
int AcceptLocal(int listening);

// Writes all of `data` within `timeoutMs`.
bool SendAll(int fd, std::string_view data, int timeoutMs);

// Appends what can be read now to `into` without waiting; false once the
// other end has closed or the connection failed.
bool ReadAvailable(int fd, std::string& into);

void CloseSocket(int fd);

}  // namespace hrln::platform::posix
