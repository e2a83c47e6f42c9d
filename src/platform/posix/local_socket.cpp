#include "platform/posix/local_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace hrln::platform::posix {
namespace {

bool AddressOf(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int NewSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

bool Wait(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    int rc = 0;
    do
        rc = ::poll(&p, 1, timeoutMs);
    while (rc < 0 && errno == EINTR);
    return rc == 1 && (p.revents & (events | POLLHUP | POLLERR)) != 0;
}

}  // namespace

int ConnectLocal(const std::string& path, int timeoutMs)
{
    sockaddr_un address{};
    if (!AddressOf(path, address))
        return -1;
    const int fd = NewSocket();
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if ((errno == EINPROGRESS || errno == EAGAIN) && Wait(fd, POLLOUT, timeoutMs)) {
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
            return fd;
    }
    ::close(fd);
    return -1;
}

int ListenLocal(const std::string& path, std::string& error)
{
    sockaddr_un address{};
    if (!AddressOf(path, address)) {
        error = path + ": the name is too long for a local socket";
        return -1;
    }
    const int fd = NewSocket();
    if (fd < 0) {
        error = std::strerror(errno);
        return -1;
    }
    // Only this user may connect, whatever the folder allows.
    const mode_t mask = ::umask(0077);
    int rc = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (rc != 0 && errno == EADDRINUSE) {
        // A program of this user answering keeps the socket; a file left
        // behind, or anybody else's program, does not.
        const int other = ConnectLocal(path, 500);
        const bool ours = other >= 0 && PeerUser(other) == static_cast<long>(::geteuid());
        if (other >= 0)
            ::close(other);
        if (!ours && ::unlink(path.c_str()) == 0) {
            rc = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
    }
    const int bindError = errno;
    ::umask(mask);
    if (rc != 0 || ::listen(fd, 8) != 0) {
        error = std::strerror(rc != 0 ? bindError : errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

long PeerUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return -1;
    return static_cast<long>(peer.uid);
}

int AcceptLocal(int listening)
{
    int fd = -1;
    do
        fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool SendAll(int fd, std::string_view data, int timeoutMs)
{
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n > 0) {
            data.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Wait(fd, POLLOUT, timeoutMs))
            continue;
        return false;
    }
    return true;
}

bool ReadAvailable(int fd, std::string& into)
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

void CloseSocket(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

}  // namespace hrln::platform::posix
