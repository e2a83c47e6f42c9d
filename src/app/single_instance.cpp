#include "app/single_instance.h"

#include "platform/posix/local_socket.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

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

SingleInstance::~SingleInstance()
{
    if (listening_ >= 0) {
        platform::posix::CloseSocket(listening_);
        QFile::remove(name_);  // nobody listens there any more
    }
}

bool SingleInstance::otherIsRunning()
{
    if (name_.isEmpty())
        return false;
    const int fd = platform::posix::ConnectLocal(name_.toStdString(), 500);
    if (fd < 0)
        return false;
    // Only a program of this user is trusted to be us.
    if (const long peer = platform::posix::PeerUser(fd); peer != static_cast<long>(::geteuid())) {
        problem_ = QStringLiteral("%1 is held by another user (%2), not by a Horalyn of yours")
                       .arg(name_)
                       .arg(peer);
        platform::posix::CloseSocket(fd);
        return false;
    }
    const bool told = platform::posix::SendAll(fd, "show\n", 500);
    platform::posix::CloseSocket(fd);
    return told;
}

bool SingleInstance::listen()
{
    if (name_.isEmpty())
        return false;
    std::string error;
    listening_ = platform::posix::ListenLocal(name_.toStdString(), error);
    if (listening_ < 0) {
        problem_ = name_ + QStringLiteral(": ") + QString::fromStdString(error);
        return false;
    }
    waiting_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(waiting_, &QSocketNotifier::activated, this, &SingleInstance::takeConnections);
    return true;
}

void SingleInstance::takeConnections()
{
    for (int fd = platform::posix::AcceptLocal(listening_); fd >= 0; fd = platform::posix::AcceptLocal(listening_)) {
        // A line from a later start; the connection goes when it has said it or hung up.
        auto* said = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        auto text = std::make_shared<std::string>();
        connect(said, &QSocketNotifier::activated, this, [this, said, fd, text] {
            const bool open = platform::posix::ReadAvailable(fd, *text);
            const bool line = text->find('\n') != std::string::npos;
            if ((line || !open) && text->starts_with("show"))
                Q_EMIT showRequested();
            if (line || !open || text->size() > 64) {
                said->setEnabled(false);
                said->deleteLater();
                platform::posix::CloseSocket(fd);
            }
        });
    }
}

}  // namespace hrln::app
