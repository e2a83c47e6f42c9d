#include "data/database.h"
#include "data/records.h"
#include "data/settings.h"
#include "data/table.h"
#include "e2e/desktop_session.h"
#include "e2e/qt_desktop.h"
#include "pim/clipboard_monitor.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/qt_clipboard.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <climits>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace hrln::test {
namespace {

std::string OwnProgram()
{
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string{};
}

// The clipboard monitor saving what real clipboard owners of other processes
// offer: xclip, and a password manager's way of offering a secret.
class ClipboardMonitorDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HRLN_NEEDS_QT_DESKTOP();
        ASSERT_EQ(db.create(), data::kOk);
        settings.monitorClipboard = true;
    }

    std::vector<std::string> saved()
    {
        std::vector<std::string> out;
        data::Table<data::ClipboardRecord> t(db);
        t.set(data::ClipboardRecord::KeyClipDate);
        while (t.next() == data::kOk)
            out.push_back(t.rec.clipContents.str());
        return out;
    }
    // Ticks the monitor, serving Qt's events, until `done` holds.
    bool monitorUntil(const std::function<bool()>& done)
    {
        return WaitUntil([&] {
            QCoreApplication::processEvents();
            monitor.step();
            return done();
        });
    }
    void offerWithXclip(const std::string& text)
    {
        const std::string file = dir.file("clip.txt");
        WriteFile(file, text);
        QtTestDesktop()->start({"xclip", "-selection", "clipboard", "-quiet", "-i", file});
    }
    bool qtSees(const std::function<bool(const QMimeData*)>& test)
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data != nullptr && test(data);
    }

    TempDir dir;
    data::Database db{dir.file(data::kMainDatabaseFile), data::MainLayout()};
    data::Settings settings;
    platform::posix::SystemClock clock;
    platform::qt::QtClipboard clipboard;
    pim::ClipboardMonitor monitor{db, clipboard, settings, clock};
};

TEST_F(ClipboardMonitorDesktopTest, SavesWhatXclipOffersAndNeverASecret)
{
    offerWithXclip("Copied by xclip: Grüße 42");
    ASSERT_TRUE(monitorUntil([&] { return saved().size() == 1; }));

    QtTestDesktop()->start({OwnProgram(), "--offer-secret", "hunter2 is my password"});
    ASSERT_TRUE(monitorUntil([&] {
        return qtSees([](const QMimeData* d) { return d->hasFormat(platform::qt::kPasswordManagerHint); });
    }));
    // Long enough on the clipboard for the monitor to look at it twice.
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::processEvents();
        monitor.step();
    }

    offerWithXclip("After the secret");
    ASSERT_TRUE(monitorUntil([&] { return saved().size() == 2; }));
    EXPECT_EQ(saved(), (std::vector<std::string>{"Copied by xclip: Grüße 42", "After the secret"}));
}

// Another program reading the clipboard's formats, through its own connection
// to the display, so that this process's Qt learns of nothing meanwhile.
bool OfferedElsewhere(const char* format)
{
    FILE* out = popen("xclip -selection clipboard -o -t TARGETS 2>/dev/null", "r");
    if (out == nullptr)
        return false;
    std::string targets;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, out) != nullptr)
        targets += buffer;
    pclose(out);
    return targets.find(format) != std::string::npos;
}

// The moment a password manager has taken the clipboard and Qt has not yet
// handled the notice: Qt still holds xclip's formats, yet would fetch the text
// from the new owner. Nothing of the new owner's may be read then.
TEST_F(ClipboardMonitorDesktopTest, ASecretIsNotReadBeforeQtLearnsItsFormats)
{
    offerWithXclip("Before the secret");
    ASSERT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        clipboard.text();
        return clipboard.text() == "Before the secret";
    }));

    QtTestDesktop()->start({OwnProgram(), "--offer-secret", "hunter2 is my password"});
    ASSERT_TRUE(WaitUntil([] { return OfferedElsewhere(platform::qt::kPasswordManagerHint); }));
    EXPECT_EQ(clipboard.text(), "Before the secret");
    EXPECT_EQ(clipboard.text(), "Before the secret");

    // Once Qt has handled the notice the secret reads as no text.
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        const std::string text = clipboard.text();
        EXPECT_NE(text, "hunter2 is my password");
        return text.empty();
    }));
}

// Owns the clipboard as a password manager does, until killed.
int OfferSecret(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto* data = new QMimeData;
    data->setText(QString::fromLocal8Bit(argv[2]));
    data->setData(platform::qt::kPasswordManagerHint, "secret");
    QGuiApplication::clipboard()->setMimeData(data);
    return app.exec();
}

}  // namespace
}  // namespace hrln::test

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--offer-secret")
        return hrln::test::OfferSecret(argc, argv);
    return hrln::test::RunQtDesktopTests(argc, argv);
}
