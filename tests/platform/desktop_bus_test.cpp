// The desktop-bus call against a real session bus, started for this program
// alone by dbus-run-session.
#include "platform/dbus/qt_desktop_bus.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace hrln::platform::dbus {
namespace {

constexpr const char* kPrivateBusMark = "HRLN_TEST_PRIVATE_BUS";  // holds the bus's own folder
constexpr const char* kOwnNameOption = "--own-bus-name";
constexpr const char* kServeOption = "--serve-strict";
constexpr const char* kStrictName = "org.horalyn.Strict";
constexpr const char* kActivatableName = "org.horalyn.Activatable";

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool NameHasOwner(const char* name)
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromLatin1(name));
}

TEST(DesktopBus, TheBusItselfAnswers)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    QtDesktopBus bus;
    const auto answered = [&](const std::string& service, const std::string& command) {
        return bus.call(service, "/org/freedesktop/DBus", command).outcome == BusOutcome::Answered;
    };
    EXPECT_TRUE(answered("org.freedesktop.DBus", "org.freedesktop.DBus.ListNames"));
    EXPECT_TRUE(answered("org.freedesktop.DBus", R"(org.freedesktop.DBus.NameHasOwner("org.freedesktop.DBus"))"));
    // A refusal is an answer too.
    EXPECT_TRUE(answered("org.freedesktop.DBus", "org.freedesktop.DBus.NoSuchMethod(1)"));
    // "session:" names the default bus; "system:" the other one, which this
    // program was pointed at a place where no bus listens.
    EXPECT_TRUE(answered("session:org.freedesktop.DBus", "org.freedesktop.DBus.ListNames"));
    EXPECT_EQ(bus.call("system:org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames").outcome,
              BusOutcome::Silent);
}

TEST(DesktopBus, AbsentServiceAndUnreadableCommandsAreNotAnswered)
{
    QtDesktopBus bus;
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(bus.call("org.horalyn.Nobody", "/org/horalyn/Nobody", "org.horalyn.Nobody.Wake()").outcome,
              BusOutcome::Silent);
    EXPECT_EQ(bus.call("org.horalyn.Nobody", "/org/horalyn/Nobody", "org.horalyn.Nobody.Wake(1)").outcome,
              BusOutcome::Silent);
    EXPECT_LT(MillisecondsSince(start), QtDesktopBus::kDefaultTimeoutMs);
    EXPECT_EQ(bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "ListNames").outcome, BusOutcome::BadCommand);
    EXPECT_EQ(bus.call("org.freedesktop.DBus", "not a path", "org.freedesktop.DBus.ListNames").outcome,
              BusOutcome::BadCommand);
    EXPECT_EQ(bus.call("not a name", "/", "org.freedesktop.DBus.ListNames").outcome, BusOutcome::BadCommand);
}

TEST(DesktopBus, SilentServiceIsGivenUpAfterTheTimeout)
{
    const char* const name = "org.horalyn.Silent";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char self[4096] = {};
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n > 0)
            execl(self, self, kOwnNameOption, name, static_cast<char*>(nullptr));
        _exit(127);
    }
    const Clock::time_point waitFrom = Clock::now();
    while (!NameHasOwner(name) && MillisecondsSince(waitFrom) < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(NameHasOwner(name));
    kill(child, SIGSTOP);  // owns its name but answers nothing

    QtDesktopBus bus(300);
    // Without arguments to convert, and with one, which first asks the
    // service to describe itself: both within the one timeout.
    for (const char* command : {"org.horalyn.Silent.Ping()", "org.horalyn.Silent.Ping(1)"}) {
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(bus.call(name, "/", command).outcome, BusOutcome::Silent) << command;
        const long long took = MillisecondsSince(start);
        EXPECT_GE(took, 250) << command;
        EXPECT_LT(took, 1000) << command;
    }

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// A service that takes Take only with the signature it describes, and tells
// through Last (once) what arrived: the signature and the values.
QString Shown(const QVariant& v);

QString ShownArgument(const QDBusArgument& a)
{
    switch (a.currentType()) {
    case QDBusArgument::BasicType:
        return a.asVariant().toString();
    case QDBusArgument::VariantType: {
        QDBusVariant inner;
        a >> inner;
        return Shown(QVariant::fromValue(inner));
    }
    case QDBusArgument::ArrayType: {
        QStringList parts;
        a.beginArray();
        while (!a.atEnd())
            parts << ShownArgument(a);
        a.endArray();
        return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case QDBusArgument::MapType: {
        QStringList parts;
        a.beginMap();
        while (!a.atEnd()) {
            a.beginMapEntry();
            const QString key = ShownArgument(a);
            parts << key + QLatin1Char(':') + ShownArgument(a);
            a.endMapEntry();
        }
        a.endMap();
        return QLatin1Char('{') + parts.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    default:
        return QStringLiteral("?");
    }
}

QString Shown(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QDBusVariant>()) {
        const QVariant inner = qvariant_cast<QDBusVariant>(v).variant();
        const QString type = inner.metaType() == QMetaType::fromType<QDBusArgument>()
                                 ? qvariant_cast<QDBusArgument>(inner).currentSignature()
                                 : QString::fromLatin1(QDBusMetaType::typeToSignature(inner.metaType()));
        return QLatin1Char('<') + type + QLatin1Char(' ') + Shown(inner) + QLatin1Char('>');
    }
    if (v.metaType() == QMetaType::fromType<QDBusArgument>())
        return ShownArgument(qvariant_cast<QDBusArgument>(v));
    if (v.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return qvariant_cast<QDBusObjectPath>(v).path();
    if (v.metaType() == QMetaType::fromType<QByteArray>()) {
        QStringList bytes;
        for (const char b : v.toByteArray())
            bytes << QString::number(static_cast<unsigned char>(b));
        return QLatin1Char('[') + bytes.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    if (v.metaType() == QMetaType::fromType<QStringList>())
        return QLatin1Char('[') + v.toStringList().join(QLatin1Char(',')) + QLatin1Char(']');
    return v.toString();
}

class StrictService : public QDBusVirtualObject {
public:
    StrictService(bool describes, QString* last) : describes_(describes), last_(*last) {}

    QString introspect(const QString&) const override
    {
        if (!describes_)
            return {};
        return QStringLiteral(
            "<interface name=\"org.horalyn.Strict\">"
            "<method name=\"Take\"><arg name=\"position\" type=\"x\" direction=\"in\"/>"
            "<arg name=\"id\" type=\"u\"/><arg name=\"volume\" type=\"d\"/><arg name=\"track\" type=\"o\"/>"
            "<arg name=\"tags\" type=\"as\"/><arg name=\"value\" type=\"v\"/>"
            "<arg name=\"done\" type=\"b\" direction=\"out\"/></method>"
            "<method name=\"Last\"><arg type=\"s\" direction=\"out\"/></method>"
            "</interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() == QLatin1String("Last")) {
            connection.send(message.createReply(last_));
            last_.clear();
            return true;
        }
        if (message.member() != QLatin1String("Take"))
            return false;
        if (describes_ && message.signature() != QLatin1String("xudoasv")) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                                                     QStringLiteral("Take wants xudoasv")));
            return true;
        }
        QStringList values;
        for (const QVariant& v : message.arguments())
            values << Shown(v);
        last_ = message.signature() + QLatin1Char(' ') + values.join(QLatin1Char('|'));
        connection.send(message.createReply(true));
        return true;
    }

private:
    bool describes_;
    QString& last_;  // shared by both objects
};

// Helper mode: the strict service, at /Strict (described) and /Bare (not).
int ServeStrict()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString last;
    StrictService described(true, &last);
    StrictService bare(false, &last);
    if (!bus.registerVirtualObject(QStringLiteral("/Strict"), &described) ||
        !bus.registerVirtualObject(QStringLiteral("/Bare"), &bare) ||
        !bus.registerService(QString::fromLatin1(kStrictName)))
        return 1;
    return QCoreApplication::exec();
}

class StrictServiceTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        service_ = fork();
        ASSERT_GE(service_, 0);
        if (service_ == 0) {
            char self[4096] = {};
            const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
            if (n > 0)
                execl(self, self, kServeOption, static_cast<char*>(nullptr));
            _exit(127);
        }
        const Clock::time_point waitFrom = Clock::now();
        while (!NameHasOwner(kStrictName) && MillisecondsSince(waitFrom) < 10000)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    static void TearDownTestSuite()
    {
        kill(service_, SIGKILL);
        waitpid(service_, nullptr, 0);
    }
    void SetUp() override { ASSERT_TRUE(NameHasOwner(kStrictName)); }

    // What the service says arrived since the last question.
    static std::string Arrived()
    {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(QString::fromLatin1(kStrictName), QStringLiteral("/Strict"),
                                           QStringLiteral("org.horalyn.Strict"), QStringLiteral("Last")),
            QDBus::Block, 2000);
        return reply.arguments().isEmpty() ? "no reply" : reply.arguments().front().toString().toStdString();
    }

    QtDesktopBus bus;
    static pid_t service_;
};

pid_t StrictServiceTest::service_ = 0;

TEST_F(StrictServiceTest, ArgumentsTakeTheTypesTheMethodDescribes)
{
    EXPECT_EQ(bus.call(kStrictName, "/Strict", R"(org.horalyn.Strict.Take(5000000000, 7, 0.5, "/org/x", ["a","b c"], 3))")
                  .outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "xudoasv 5000000000|7|0.5|/org/x|[a,b c]|<i 3>");
    // The interface may follow the path, and the command name only the method.
    EXPECT_EQ(bus.call(kStrictName, "/Strict org.horalyn.Strict", "Take -5 4000000000 2 /a [] \"x y\"").outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "xudoasv -5|4000000000|2|/a|[]|<s x y>");
}

TEST_F(StrictServiceTest, PrefixesWinAndServeServicesThatDescribeNothing)
{
    EXPECT_EQ(bus.call(kStrictName, "/Strict",
                       "org.horalyn.Strict.Take(int64:1, uint32:2, double:0.25, objpath:/p, array:string:[x], "
                       "variant:double:0.5)")
                  .outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "xudoasv 1|2|0.25|/p|[x]|<d 0.5>");
    // A prefix that contradicts the description is sent as written, and the
    // strict service refuses it: an answer, but nothing arrived.
    EXPECT_EQ(bus.call(kStrictName, "/Strict", "org.horalyn.Strict.Take(int32:1, 2, 0.25, \"/p\", [], 1)").outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "");

    EXPECT_EQ(bus.call(kStrictName, "/Bare",
                       "org.horalyn.Strict.Take int64:5000000 variant:double:0.5 array:int32:1,2 objpath:/o "
                       "array:string:a,b uint16:9 variant:array:byte:1,2")
                  .outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "xvaioasqv 5000000|<d 0.5>|[1,2]|/o|[a,b]|9|<ay [1,2]>");
    EXPECT_EQ(bus.call(kStrictName, "/Bare", R"(org.horalyn.Strict.Take(5, "five", 0.5, true, {}))").outcome,
              BusOutcome::Answered);
    EXPECT_EQ(Arrived(), "isdba{sv} 5|five|0.5|true|{}");
}

TEST_F(StrictServiceTest, BadValuesAreReportedAndNothingIsSent)
{
    const BusReply reply = bus.call(kStrictName, "/Strict", "org.horalyn.Strict.Take abc 7 0.5 /a [] 1");
    EXPECT_EQ(reply.outcome, BusOutcome::BadCommand);
    EXPECT_EQ(reply.problem, "argument 1: \"abc\" is not a valid int64");
    EXPECT_EQ(bus.call(kStrictName, "/Bare", "org.horalyn.Strict.Take(uint32:-1)").outcome, BusOutcome::BadCommand);
    EXPECT_EQ(bus.call(kStrictName, "/Strict", "org.horalyn.Strict.Take(1, 2)").problem,
              "the method takes 6 arguments, not 2");
    EXPECT_EQ(Arrived(), "");
}

TEST(DesktopBus, AStoppedServiceIsNotStarted)
{
    // The bus knows how to start it, but no call of ours may.
    const QStringList activatable = QDBusConnection::sessionBus().interface()->activatableServiceNames();
    ASSERT_TRUE(activatable.contains(QString::fromLatin1(kActivatableName)));
    QtDesktopBus bus;
    EXPECT_EQ(bus.call(kActivatableName, "/", "org.horalyn.Activatable.Wake()").outcome, BusOutcome::Silent);
    EXPECT_EQ(bus.call(kActivatableName, "/", "org.horalyn.Activatable.Wake(1)").outcome, BusOutcome::Silent);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::filesystem::path started = std::filesystem::path(std::getenv(kPrivateBusMark)) / "started";
    EXPECT_FALSE(std::filesystem::exists(started));
}

// Helper mode: takes a bus name and waits to be stopped and killed.
int OwnNameAndWait(const char* name)
{
    if (!QDBusConnection::sessionBus().registerService(QString::fromLatin1(name)))
        return 1;
    for (;;)
        pause();
}

// Runs this program again under a session bus of its own, whose only
// activatable service would leave a mark if it were ever started.
int RerunWithPrivateBus(int argc, char** argv)
{
    char folder[] = "/tmp/hrln-bus-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    const std::filesystem::path dir(folder);
    std::ofstream(dir / "bus.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>\n"
        << "<servicedir>" << dir.string() << "</servicedir>\n"
        << "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    std::ofstream(dir / (std::string(kActivatableName) + ".service"))
        << "[D-BUS Service]\nName=" << kActivatableName << "\nExec=/usr/bin/touch " << (dir / "started").string()
        << "\n";
    setenv(kPrivateBusMark, folder, 1);
    const std::string config = "--config-file=" + (dir / "bus.conf").string();
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::vector<char*> args;
    args.push_back(const_cast<char*>("dbus-run-session"));
    args.push_back(const_cast<char*>(config.c_str()));
    args.push_back(const_cast<char*>("--"));
    args.push_back(n > 0 ? self : argv[0]);
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    args.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp("dbus-run-session", args.data());
        std::fprintf(stderr, "desktop_bus_tests: cannot run dbus-run-session: %s\n", std::strerror(errno));
        _exit(127);
    }
    int status = 1;
    if (child < 0 || waitpid(child, &status, 0) != child)
        status = 1;
    // Only once the bus has gone: it watches its service folder.
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

}  // namespace
}  // namespace hrln::platform::dbus

int main(int argc, char** argv)
{
    using namespace hrln::platform::dbus;
    if (std::getenv(kPrivateBusMark) == nullptr)
        return RerunWithPrivateBus(argc, argv);
    // No system bus listens here, so that "system:" is seen to go elsewhere.
    setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/horalyn-test-bus", 1);
    if (argc == 3 && std::strcmp(argv[1], kOwnNameOption) == 0) {
        QCoreApplication app(argc, argv);
        return OwnNameAndWait(argv[2]);
    }
    if (argc == 2 && std::strcmp(argv[1], kServeOption) == 0) {
        QCoreApplication app(argc, argv);
        return ServeStrict();
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
