#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace hrln::app {
namespace {

// A folder only its owner, this user, can enter or write: nobody else can
// put a socket there for us to find. Not through a link. With `tighten`, a
// folder of ours that is open to others is closed.
bool PrivateFolder(const QByteArray& path, bool tighten, QString& problem)
{
    struct stat st{};
    if (::lstat(path.constData(), &st) != 0) {
        problem = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(path), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        problem = QStringLiteral("%1 is not a folder").arg(QString::fromLocal8Bit(path));
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        problem = QStringLiteral("%1 belongs to another user (%2)").arg(QString::fromLocal8Bit(path)).arg(st.st_uid);
        return false;
    }
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0 && (!tighten || ::chmod(path.constData(), S_IRWXU) != 0)) {
        problem = QStringLiteral("%1 is open to other users").arg(QString::fromLocal8Bit(path));
        return false;
    }
    return true;
}

// The user id of the program at the other end of a connected local socket;
// -1 when it cannot be told.
long PeerUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    const int fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return -1;
    return static_cast<long>(peer.uid);
}

}  // namespace

QString SingleInstance::SocketFolder(QString& problem)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    QString runtimeProblem;
    if (runtime.startsWith('/') && PrivateFolder(runtime, false, runtimeProblem))
        return QString::fromLocal8Bit(runtime);
    const QByteArray own = QDir::tempPath().toLocal8Bit() + "/horalyn-" + QByteArray::number(::geteuid());
    if (::mkdir(own.constData(), S_IRWXU) != 0 && errno != EEXIST) {
        problem = QStringLiteral("cannot make %1: %2").arg(QString::fromLocal8Bit(own), QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    if (!PrivateFolder(own, true, problem))
        return {};
    return QString::fromLocal8Bit(own);
}

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent) : QObject(parent)
{
    const QString folder = SocketFolder(problem_);
    if (folder.isEmpty())
        return;
    const QByteArray hash = QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    name_ = folder + QStringLiteral("/horalyn-") + QString::fromLatin1(hash);
}

bool SingleInstance::otherIsRunning()
{
    if (name_.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(500))
        return false;
    // Only a program of this user is trusted to be us.
    if (const long peer = PeerUser(socket); peer != static_cast<long>(::geteuid())) {
        problem_ = QStringLiteral("%1 is held by another user (%2), not by a Horalyn of yours")
                       .arg(name_)
                       .arg(peer);
        socket.abort();
        return false;
    }
    socket.write("show\n");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    if (name_.isEmpty())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left behind by a program that died: nobody answered on it.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            problem_ = name_ + QStringLiteral(": ") + server_->errorString();
            return false;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith("show"))
                    Q_EMIT showRequested();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace hrln::app
