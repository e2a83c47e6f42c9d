#include "app/single_instance.h"

#include "support/temp_dir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace hrln::app {
namespace {

constexpr uid_t kNobody = 65534;

QString FreshFolder()
{
    return QStringLiteral("/tmp/horalyn-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Restores an environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old, had_ = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (had_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

// Another user's program listening on a local socket at `path` and accepting
// every connection, as any local user could. With `bindFirst`, the socket is
// bound before the user changes (a place only we can write to), so only the
// listening program is the other user's.
class ForeignListener {
public:
    ForeignListener(const std::string& path, bool bindFirst)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
            const auto bindIt = [&] { return ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0; };
            bool ok = fd >= 0 && (!bindFirst || bindIt());
            ok = ok && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
            ok = ok && (bindFirst || bindIt()) && ::listen(fd, 8) == 0;
            const char answer = ok ? 'k' : 'e';
            (void)!::write(ready[1], &answer, 1);
            ::close(ready[1]);
            if (!ok)
                ::_exit(1);
            for (;;)
                (void)::accept(fd, nullptr, nullptr);  // held open until killed
        }
        ::close(ready[1]);
        char answer = 0;
        listening_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'k';
        ::close(ready[0]);
    }
    ~ForeignListener()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    ForeignListener(const ForeignListener&) = delete;
    ForeignListener& operator=(const ForeignListener&) = delete;

    bool listening() const { return listening_; }

private:
    pid_t pid_ = -1;
    bool listening_ = false;
};

TEST(SingleInstanceTest, ASecondStartOnTheSameFolderWakesTheFirst)
{
    const QString folder = FreshFolder();
    SingleInstance first(folder);
    EXPECT_FALSE(first.otherIsRunning());
    ASSERT_TRUE(first.listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(folder);
    EXPECT_TRUE(second.otherIsRunning());
    EXPECT_TRUE(shown.wait(2000));

    // Another folder is another program.
    SingleInstance elsewhere(FreshFolder());
    EXPECT_FALSE(elsewhere.otherIsRunning());

    // The socket is in the private runtime folder, not in the shared temporary one.
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    EXPECT_TRUE(first.serverName().startsWith(runtime + QChar('/'))) << first.serverName().toStdString();
}

TEST(SingleInstanceTest, ASocketLeftByAProgramThatDiedIsTakenOver)
{
    const QString folder = FreshFolder();
    SingleInstance next(folder);
    // What a crash leaves behind: the socket file, with nobody listening on it.
    const QByteArray path = next.serverName().toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(QString::fromLocal8Bit(path)));

    EXPECT_FALSE(next.otherIsRunning());
    EXPECT_TRUE(next.listen());
    SingleInstance later(folder);
    EXPECT_TRUE(later.otherIsRunning());
}

// Another user listening where earlier versions put the socket, in the shared
// temporary folder under a name anyone can work out, made a start end at once
// and silently. That place is no longer looked at.
TEST(SingleInstanceTest, AnotherUsersListenerOnTheOldSharedPathIsNotTakenForUs)
{
    const QString folder = FreshFolder();
    const QByteArray hash = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const std::string oldPath = (QDir::tempPath() + QStringLiteral("/horalyn-") + QString::fromLatin1(hash)).toStdString();
    ForeignListener foreign(oldPath, false);
    if (!foreign.listening())
        GTEST_SKIP() << "cannot listen as the user nobody (needs root)";

    SingleInstance start(folder);
    EXPECT_FALSE(start.otherIsRunning());
    EXPECT_TRUE(start.problem().isEmpty()) << start.problem().toStdString();
    ASSERT_TRUE(start.listen());
    QSignalSpy shown(&start, &SingleInstance::showRequested);
    SingleInstance later(folder);
    EXPECT_TRUE(later.otherIsRunning());
    EXPECT_TRUE(shown.wait(2000));
    std::error_code ec;
    std::filesystem::remove(oldPath, ec);
}

// Even on our own path, a program of another user is never handed over to:
// the start says so and goes on.
TEST(SingleInstanceTest, AnotherUsersListenerOnOurPathIsRefusedAndNamed)
{
    const QString folder = FreshFolder();
    SingleInstance start(folder);
    ForeignListener foreign(start.serverName().toStdString(), true);
    if (!foreign.listening())
        GTEST_SKIP() << "cannot listen as the user nobody (needs root)";
    EXPECT_FALSE(start.otherIsRunning());
    EXPECT_TRUE(start.problem().contains(QStringLiteral("another user (65534)"))) << start.problem().toStdString();
    ASSERT_TRUE(start.listen());
    SingleInstance later(folder);
    EXPECT_TRUE(later.otherIsRunning());
}

// Without a private runtime folder the socket goes to a folder of the user's
// own in the temporary folder; one that another user made first is refused.
TEST(SingleInstanceTest, WithoutAPrivateRuntimeFolderTheSocketsFolderIsTheUsersOwn)
{
    test::TempDir temp;
    const std::filesystem::path open = temp.path() / "open-runtime";
    std::filesystem::create_directory(open);
    ::chmod(open.c_str(), 0777);
    ScopedEnv runtime("XDG_RUNTIME_DIR", open.string());
    ScopedEnv tmp("TMPDIR", temp.path().string());

    QString problem;
    const QString sockets = SingleInstance::SocketFolder(problem);
    const std::string own = (temp.path() / ("horalyn-" + std::to_string(::geteuid()))).string();
    EXPECT_EQ(sockets.toStdString(), own) << problem.toStdString();
    struct stat st{};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    // Left open by hand, it is closed again.
    ::chmod(own.c_str(), 0755);
    EXPECT_EQ(SingleInstance::SocketFolder(problem).toStdString(), own);
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    {
        SingleInstance first(FreshFolder());
        EXPECT_TRUE(first.serverName().startsWith(QString::fromStdString(own) + QChar('/')));
        EXPECT_TRUE(first.listen());
    }

    std::filesystem::remove_all(own);
    std::filesystem::create_directory(own);
    if (::chown(own.c_str(), kNobody, kNobody) != 0)
        GTEST_SKIP() << "cannot give a folder to the user nobody (needs root)";
    problem.clear();
    EXPECT_TRUE(SingleInstance::SocketFolder(problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("belongs to another user"))) << problem.toStdString();
    SingleInstance start(FreshFolder());
    EXPECT_FALSE(start.otherIsRunning());
    EXPECT_FALSE(start.listen());
    EXPECT_FALSE(start.problem().isEmpty());
}

}  // namespace
}  // namespace hrln::app
