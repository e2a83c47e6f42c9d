// The real program as a screen reader meets it: its own display, session bus,
// accessibility bus and registry; the frame and the windows its keys open
// (the schedule browser, a wizard, the entry form, Setup) read through the
// accessibility tree, where no button, box, entry, list, table or tab may be
// without a name, and a list's rows read as text.
#include "data/settings.h"
#include "e2e/desktop_session.h"
#include "e2e/program_keys.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unistd.h>

// An object of the accessibility tree: the bus name of its program and its path.
struct AccessibleRef {
    QString service;
    QDBusObjectPath path;
};
Q_DECLARE_METATYPE(AccessibleRef)

QDBusArgument& operator<<(QDBusArgument& out, const AccessibleRef& ref)
{
    out.beginStructure();
    out << ref.service << ref.path;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, AccessibleRef& ref)
{
    in.beginStructure();
    in >> ref.service >> ref.path;
    in.endStructure();
    return in;
}

namespace hrln::test {
namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kTable = QStringLiteral("org.a11y.atspi.Table");
constexpr int kCallTimeoutMs = 5000;
// The state bit of an object on screen (its window shown, its page current).
constexpr unsigned kStateShowing = 25;

// Where Debian and others keep the accessibility services.
std::string Installed(std::initializer_list<const char*> candidates)
{
    for (const char* path : candidates)
        if (access(path, X_OK) == 0)
            return path;
    return {};
}

std::string BusLauncher()
{
    return Installed({"/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"});
}

std::string Registry()
{
    return Installed({"/usr/libexec/at-spi2-registryd", "/usr/lib/at-spi2-core/at-spi2-registryd"});
}

// The accessibility bus, read as a screen reader reads it. Every call has a
// timeout of its own: a program that hangs fails the test, not freezes it.
class AccessibilityBus {
public:
    explicit AccessibilityBus(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, QStringLiteral("a11y-test")))
    {
    }
    ~AccessibilityBus() { QDBusConnection::disconnectFromBus(QStringLiteral("a11y-test")); }

    bool connected() const { return bus_.isConnected(); }
    bool owned(const QString& name) const { return bus_.interface()->isServiceRegistered(name); }

    QDBusMessage call(const AccessibleRef& at, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(at.service, at.path.path(), interface, method);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::Block, kCallTimeoutMs);
    }
    QVariant property(const AccessibleRef& at, const QString& interface, const QString& name) const
    {
        const QDBusMessage reply = call(at, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                        {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }

    QString name(const AccessibleRef& at) const { return property(at, kAccessible, QStringLiteral("Name")).toString(); }
    QString role(const AccessibleRef& at) const
    {
        const QDBusMessage reply = call(at, kAccessible, QStringLiteral("GetRoleName"));
        return reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
    }
    QList<AccessibleRef> children(const AccessibleRef& at) const
    {
        const QDBusMessage reply = call(at, kAccessible, QStringLiteral("GetChildren"));
        QList<AccessibleRef> out;
        if (!reply.arguments().isEmpty())
            reply.arguments().first().value<QDBusArgument>() >> out;
        return out;
    }
    bool showing(const AccessibleRef& at) const
    {
        const QDBusMessage reply = call(at, kAccessible, QStringLiteral("GetState"));
        if (reply.arguments().isEmpty())
            return false;
        QList<unsigned> words;
        reply.arguments().first().value<QDBusArgument>() >> words;
        return !words.isEmpty() && (words.first() & (1U << kStateShowing)) != 0;
    }

    // The program registered under the name `application`, none when it has not.
    std::optional<AccessibleRef> application(const QString& application) const
    {
        const AccessibleRef desktop{QStringLiteral("org.a11y.atspi.Registry"),
                                    QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
        for (const AccessibleRef& app : children(desktop))
            if (name(app) == application)
                return app;
        return std::nullopt;
    }

    // Calls `visit` on `at` and everything under it that shows, with the
    // names of the objects above it; a list's cells are left to the list.
    void walk(const AccessibleRef& at, const std::function<void(const AccessibleRef&, const QString& role,
                                                                const QString& path)>& visit,
              const QString& path = {}, int depth = 0) const
    {
        constexpr int kDeepest = 40;
        if (depth > kDeepest || (depth > 0 && !showing(at)))
            return;
        const QString role = this->role(at);
        visit(at, role, path);
        if (role == QLatin1String("cell") || role == QLatin1String("table cell"))
            return;
        const QString here = path + QStringLiteral(" / ") + role + QStringLiteral(" \"") + name(at) +
                             QLatin1Char('"');
        for (const AccessibleRef& child : children(at))
            walk(child, visit, here, depth + 1);
    }

private:
    QDBusConnection bus_;
};

// The roles of what a user works with, which say nothing without a name.
const std::set<QString>& ControlRoles()
{
    static const std::set<QString> roles{
        QStringLiteral("push button"), QStringLiteral("toggle button"), QStringLiteral("check box"),
        QStringLiteral("radio button"), QStringLiteral("text"),         QStringLiteral("entry"),
        QStringLiteral("password text"), QStringLiteral("combo box"),   QStringLiteral("spin button"),
        QStringLiteral("table"),        QStringLiteral("list"),         QStringLiteral("tree"),
        QStringLiteral("page tab"),     QStringLiteral("column header"), QStringLiteral("table column header"),
        QStringLiteral("tool bar"),
    };
    return roles;
}

class AccessibilityProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!DesktopSession::XvfbInstalled())
            GTEST_SKIP() << DesktopSession::kNoXvfb;
        if (BusLauncher().empty() || Registry().empty())
            GTEST_SKIP() << "the accessibility bus launcher or registry is not installed (at-spi2-core, which "
                            "scripts/install-deps installs): accessibility desktop test skipped";
        qDBusRegisterMetaType<AccessibleRef>();
        qDBusRegisterMetaType<QList<AccessibleRef>>();

        std::filesystem::path home;
        OpenDesktop(desktop, home);
        if (HasFatalFailure())
            return;
        // The schedule browser opens on every task by date.
        WriteFile((home / "horalyn" / data::kSettingsFile).string(), "[Settings]\nFullSchedule=1\n");
        desktop.start({BusLauncher()});
        ASSERT_TRUE(WaitUntil([] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus"));
        })) << "the accessibility bus launcher did not start";
        QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                          QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        const QDBusMessage address = QDBusConnection::sessionBus().call(ask, QDBus::Block, kCallTimeoutMs);
        ASSERT_EQ(address.type(), QDBusMessage::ReplyMessage) << address.errorMessage().toStdString();
        bus = std::make_unique<AccessibilityBus>(address.arguments().value(0).toString());
        ASSERT_TRUE(bus->connected()) << "no accessibility bus";
        desktop.start({Registry()});
        ASSERT_TRUE(WaitUntil([this] { return bus->owned(QStringLiteral("org.a11y.atspi.Registry")); }))
            << "the accessibility registry did not start";

        // Without a desktop that turns accessibility on, the program is told to.
        setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
        const std::string cli = HORALYN_CLI;
        ASSERT_EQ(DesktopSession::run({cli, "add", "--description", "Read aloud", "--message", "Hello", "--date",
                                       "2099-01-01", "--time", "09:00"}),
                  0);
        desktop.start({HORALYN_PROGRAM});
        ActivateFrame();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(WaitUntil([this] { return bus->application(QStringLiteral("horalyn")).has_value(); }))
            << "the program did not register with the accessibility registry";
        program = *bus->application(QStringLiteral("horalyn"));
    }

    // Every control shown under `root` (the whole program by default)
    // without a name, with where it stands; `controls` counts those looked at.
    QStringList nameless(const QString& when, int& controls, std::optional<AccessibleRef> root = std::nullopt) const
    {
        QStringList out;
        controls = 0;
        bus->walk(root.value_or(program), [&](const AccessibleRef& at, const QString& role, const QString& path) {
            if (ControlRoles().count(role) == 0)
                return;
            ++controls;
            if (bus->name(at).trimmed().isEmpty())
                out << when + QStringLiteral(": ") + role + QStringLiteral(" without a name in") + path;
        });
        return out;
    }

    // The window titled `title` as the tree has it, once it is there.
    std::optional<AccessibleRef> window(const QString& title) const
    {
        std::optional<AccessibleRef> found;
        WaitUntil([&] { return (found = find(QStringLiteral("dialog"), title)).has_value(); });
        return found;
    }

    // The first object shown whose role is `role` (and, when given, whose name is `name`).
    std::optional<AccessibleRef> find(const QString& role, const QString& name = {}) const
    {
        std::optional<AccessibleRef> found;
        bus->walk(program, [&](const AccessibleRef& at, const QString& r, const QString&) {
            if (!found && r == role && (name.isNull() || bus->name(at) == name))
                found = at;
        });
        return found;
    }

    DesktopSession desktop;
    std::unique_ptr<AccessibilityBus> bus;
    AccessibleRef program;
};

TEST_F(AccessibilityProgramTest, EveryControlOfTheWindowsOpenedByKeysHasANameAndListsReadTheirRows)
{
    int controls = 0;
    QStringList faults = nameless(QStringLiteral("the frame"), controls);
    EXPECT_GE(controls, 6) << "the frame's menu bar and toolbar buttons were not seen";
    // A tool button's tip is its description.
    const std::optional<AccessibleRef> wizardButton = find(QStringLiteral("push button"), QStringLiteral("Message Wizard"));
    ASSERT_TRUE(wizardButton.has_value()) << "the toolbar's icon buttons are not named after their commands";
    EXPECT_EQ(bus->property(*wizardButton, kAccessible, QStringLiteral("Description")).toString(),
              QStringLiteral("Add a task to display a message"));

    // The schedule browser, inside the frame, on every task by date.
    Keys("alt+b");
    Keys("v");
    ASSERT_TRUE(WaitUntil([this] { return find(QStringLiteral("table")).has_value(); }, std::chrono::seconds(30)))
        << "no schedule list";
    ASSERT_TRUE(WaitUntil([this] { return find(QStringLiteral("page tab"), QStringLiteral("All by Date")).has_value(); }))
        << "the browser's tabs are not named after their titles";
    faults << nameless(QStringLiteral("the schedule browser"), controls);

    // Its first row reads as text: the task's description, and the state its icon shows.
    std::optional<AccessibleRef> list;
    ASSERT_TRUE(WaitUntil([&] {
        list = find(QStringLiteral("table"));
        return list && bus->property(*list, kTable, QStringLiteral("NRows")).toInt() > 0;
    })) << "the list shows no task";
    const int columns = bus->property(*list, kTable, QStringLiteral("NColumns")).toInt();
    ASSERT_GE(columns, 2);
    QStringList cells;
    for (int c = 0; c < columns; ++c) {
        const QDBusMessage cell = bus->call(*list, kTable, QStringLiteral("GetAccessibleAt"), {0, c});
        ASSERT_FALSE(cell.arguments().isEmpty()) << cell.errorMessage().toStdString();
        AccessibleRef at;
        cell.arguments().first().value<QDBusArgument>() >> at;
        cells << bus->name(at);
    }
    EXPECT_TRUE(cells.contains(QStringLiteral("Read aloud"))) << cells.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(cells.first(), QStringLiteral("Not done")) << "the state icon says nothing";
    const QDBusMessage row = bus->call(*list, kTable, QStringLiteral("GetRowDescription"), {0});
    ASSERT_FALSE(row.arguments().isEmpty()) << row.errorMessage().toStdString();
    EXPECT_NE(row.arguments().first().toString().indexOf(QStringLiteral("Description: Read aloud")), -1)
        << row.arguments().first().toString().toStdString();

    // The entry form for a new task, from the list.
    Keys("Insert");
    ActivateTitled("Adding a Schedule Task");
    if (HasFatalFailure())
        return;
    std::optional<AccessibleRef> shown = window(QStringLiteral("Adding a Schedule Task"));
    ASSERT_TRUE(shown.has_value()) << "the form is not in the accessibility tree";
    faults << nameless(QStringLiteral("the entry form"), controls, shown);
    EXPECT_GE(controls, 10) << "the form's controls were not seen";
    Keys("Escape");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Adding a Schedule Task"); })) << "the form stayed open";

    // A wizard from the frame's menu.
    ActivateFrame();
    Keys("alt+b");
    Keys("w");
    Keys("m");
    ActivateTitled("Add Message Wizard");
    if (HasFatalFailure())
        return;
    shown = window(QStringLiteral("Add Message Wizard"));
    ASSERT_TRUE(shown.has_value()) << "the wizard is not in the accessibility tree";
    faults << nameless(QStringLiteral("the message wizard"), controls, shown);
    EXPECT_GE(controls, 5) << "the wizard's controls were not seen";
    Keys("Escape");
    ASSERT_TRUE(WaitUntil([] { return !Shown("Add Message Wizard"); })) << "the wizard stayed open";

    // Setup.
    ActivateFrame();
    Keys("alt+f");
    Keys("s");
    ActivateTitled("Setup");
    if (HasFatalFailure())
        return;
    shown = window(QStringLiteral("Setup"));
    ASSERT_TRUE(shown.has_value()) << "Setup is not in the accessibility tree";
    faults << nameless(QStringLiteral("Setup"), controls, shown);
    EXPECT_GE(controls, 15) << "Setup's controls were not seen";
    Keys("Escape");

    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " without a name:\n"
                                  << faults.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace hrln::test

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
