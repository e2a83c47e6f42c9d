#include "pim/record_warnings.h"
#include "scheduler/quick_reminder.h"
#include "scheduler/task_fields.h"
#include "scheduler/window_close.h"
#include "ui/schedule/quick_reminder_window.h"
#include "ui/schedule/wizard_window.h"
#include "ui/widgets/language.h"

#include "support/fake_clock.h"
#include "support/fake_prompter.h"
#include "support/scheduler_doubles.h"
#include "ui_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

// The German catalogue as built for the program, installed for one test.
class GermanTest : public FrameTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ui::InstallLanguage(QLocale(QStringLiteral("de_DE")), QStringLiteral(HRLN_TRANSLATIONS_DIR)));
        FrameTest::SetUp();
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        ui::RemoveLanguage();
    }

    ui::ScheduleWindowServices schedule() { return {{db, positions, prompter}, clock, ini, &sound}; }

    std::vector<data::ScheduleRecord> tasks()
    {
        std::vector<data::ScheduleRecord> out;
        data::Table<data::ScheduleRecord> t(db);
        t.set(data::ScheduleRecord::KeyID);
        while (t.next() == data::kOk)
            out.push_back(t.rec);
        return out;
    }
};

QString ButtonText(QWidget* w, const char* name)
{
    auto* b = w->findChild<QPushButton*>(QString::fromLatin1(name));
    return b ? b->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

// The window, the core's reading of the line and the date pictures are
// German; what is stored stays what the program acts on.
TEST_F(GermanTest, AQuickReminderSpeaksGermanAndStoresEnglish)
{
    {
        ui::QuickReminderWindow w(schedule());
        w.show();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Schnellerinnerung"));
        EXPECT_EQ(ButtonText(&w, "addButton"), QStringLiteral("&Hinzufügen"));
        EXPECT_EQ(ButtonText(&w, "cancelButton"), QStringLiteral("Abbrechen"));
        auto* line = w.findChild<QLineEdit*>(QStringLiteral("reminderEdit"));
        auto* understood = w.findChild<QLabel*>(QStringLiteral("understoodLabel"));
        ASSERT_TRUE(line && understood);
        EXPECT_TRUE(understood->text().startsWith(QStringLiteral("Zeitpunkt am Ende angeben")));
        QTest::keyClicks(line, QStringLiteral("Call Bob in 10 minutes"));
        const QString reading = understood->text();
        EXPECT_TRUE(reading.startsWith(QStringLiteral("„Call Bob“ am Montag, März 1, 2027 um 8:10 ")))
            << reading.toStdString();
        QTest::keyClick(line, Qt::Key_Return);
        EXPECT_EQ(w.result(), QDialog::Accepted);
    }
    {
        // A German user says when in German.
        ui::QuickReminderWindow w(schedule());
        w.show();
        auto* line = w.findChild<QLineEdit*>(QStringLiteral("reminderEdit"));
        auto* understood = w.findChild<QLabel*>(QStringLiteral("understoodLabel"));
        ASSERT_TRUE(line && understood);
        QTest::keyClicks(line, QStringLiteral("Bob anrufen in 10 Minuten"));
        EXPECT_TRUE(understood->text().startsWith(QStringLiteral("„Bob anrufen“ am Montag, März 1, 2027 um 8:10 ")))
            << understood->text().toStdString();
        QTest::keyClick(line, Qt::Key_Escape);
    }
    const auto stored = tasks();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].taskType.str(), "Display Message");
    EXPECT_EQ(stored[0].scheduleType.str(), "Once");
    EXPECT_EQ(stored[0].category.str(), "General");
}

QString ActionText(QWidget* w, const char* name)
{
    auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
    return a ? a->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

// The frame's menus, toolbar, status zones and tray menu are German.
TEST_F(GermanTest, TheFrameShowsGermanMenusAndDates)
{
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Datei"), QStringLiteral("&Anzeigen"), QStringLiteral("&Berichte"),
                                   QStringLiteral("&Fenster"), QStringLiteral("&Hilfe")}));
    EXPECT_EQ(ActionText(frame.get(), "actionAddMessage"), QStringLiteral("&Nachricht hinzufügen"));
    EXPECT_EQ(ActionText(frame.get(), "actionExit"), QStringLiteral("&Beenden"));
    EXPECT_EQ(ActionText(frame.get(), "actionExportScheduleHistoryIcal"), QStringLiteral("Zeitplan mit Ver&lauf als iCalendar"));
    QStringList trayTexts;
    for (QAction* a : frame->trayMenu()->actions())
        if (!a->isSeparator())
            trayTexts << a->text();
    ASSERT_EQ(trayTexts.size(), 8);
    EXPECT_EQ(trayTexts.front(), QStringLiteral("&Nachricht hinzufügen"));
    EXPECT_EQ(trayTexts.back(), QStringLiteral("Horalyn &beenden"));
    // The clock zones: weekday and month in German, the picture's shape kept.
    scheduler->onTimer();
    auto* day = frame->findChild<QLabel*>(QStringLiteral("zone3"));
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(day->text(), QStringLiteral("Montag, März 1, 2027"));
}

// A wizard reads German while the record gets the values the program acts on.
TEST_F(GermanTest, AWizardShowsGermanAndStoresEnglishValues)
{
    std::unique_ptr<ui::WizardWindow> w(ui::WizardWindow::OpenAddWizard(schedule(), scheduler::AddWizard::Message));
    ASSERT_NE(w, nullptr);
    w->show();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Assistent: Nachricht hinzufügen"));
    EXPECT_EQ(ButtonText(w.get(), "nextButton"), QStringLiteral("&Weiter ->"));
    auto* categoryCombo = w->findChild<QComboBox*>(QStringLiteral("categoryCombo"));
    ASSERT_NE(categoryCombo, nullptr);
    EXPECT_EQ(categoryCombo->currentText(), QStringLiteral("General"));  // the user's own data stays as stored
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("nextButton")), Qt::LeftButton);
    auto* weekly = w->findChild<QRadioButton*>(QStringLiteral("dayOfWeekRadio"));
    auto* once = w->findChild<QRadioButton*>(QStringLiteral("onceRadio"));
    auto* unit = w->findChild<QComboBox*>(QStringLiteral("everyTypeCombo"));
    ASSERT_TRUE(weekly && once && unit);
    EXPECT_EQ(weekly->text(), QStringLiteral("Wochentag"));
    EXPECT_TRUE(weekly->isChecked());
    EXPECT_EQ(unit->currentText(), QStringLiteral("Stunde(n)"));
    EXPECT_EQ(unit->currentData().toString(), QStringLiteral("hour(s)"));
    once->click();
    unit->setCurrentIndex(unit->findData(QStringLiteral("day(s)")));
    EXPECT_EQ(unit->currentText(), QStringLiteral("Tag(e)"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("nextButton")), Qt::LeftButton);
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("finishButton")), Qt::LeftButton);
    const auto stored = tasks();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].taskType.str(), "Display Message");
    EXPECT_EQ(stored[0].scheduleType.str(), "Once");
    EXPECT_EQ(stored[0].everyType.str(), "day(s)");
}

// What the core asks through the prompter reads German, the numbered places
// filled in the translation's order, dates in the language's names.
TEST_F(GermanTest, TheCoresQuestionsAreGerman)
{
    pim::RecordWarnings warnings(prompter);
    EXPECT_FALSE(warnings.confirmDelete());  // the fake answers the default, Cancel
    warnings.addError("Schedule", data::kDuplicateKey);
    warnings.required("Description");
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[0].caption, "Löschen bestätigen");
    EXPECT_EQ(prompter.shown[1].caption, "Fehler beim Hinzufügen");
    EXPECT_NE(prompter.shown[1].text.find("beim Hinzufügen eines Datensatzes zur Datei Schedule."), std::string::npos)
        << prompter.shown[1].text;
    EXPECT_EQ(prompter.shown[2].text, "Description darf nicht leer sein.");

    data::ScheduleRecord once;
    once.scheduleType = "Once";
    once.date = MakeDate(2, 10, 2027);
    once.time = MakeTime(9, 0);
    EXPECT_FALSE(scheduler::ConfirmOnceInThePast(once, clock.now(), prompter));
    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_EQ(prompter.shown[3].caption, "Zeitpunkt bereits vorbei");
    EXPECT_NE(prompter.shown[3].text.find("am Feb 10, 2027 um 9:00 AM"), std::string::npos) << prompter.shown[3].text;

    // The days kept, as the range checks name them: German month names and joint.
    EXPECT_EQ(KeptDatesText(), "Januar 1, 1801 und Dezember 31, 2099");
    warnings.rangeError("Every", "1 and 999999");
    EXPECT_EQ(prompter.shown.back().text, "Every muss zwischen 1 and 999999 liegen.");

    EXPECT_EQ(scheduler::KeepRunningQuestion().text.substr(0, 20), "Anstehende Aufgaben ");
    EXPECT_NE(scheduler::KeepRunningQuestion().text.find("läuft.\r\rHoralyn"), std::string::npos);
}

// English and the C locale have no catalogue: the program stays as written.
TEST(LanguageTest, EnglishAndTheCLocaleChangeNothing)
{
    for (const QLocale& l : {QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("en_GB")), QLocale::c()}) {
        EXPECT_FALSE(ui::InstallLanguage(l, QStringLiteral(HRLN_TRANSLATIONS_DIR))) << l.name().toStdString();
        EXPECT_EQ(QCoreApplication::translate("hrln::ui::QuickReminderWindow", "Quick Reminder"),
                  QStringLiteral("Quick Reminder"));
        EXPECT_EQ(scheduler::QuickReminderHelp().substr(0, 11), "Say when at");
        EXPECT_EQ(FormatT3(MakeTime(13, 5)), "1:05 PM");
    }
    // German and back: nothing of it stays behind.
    ASSERT_TRUE(ui::InstallLanguage(QLocale(QStringLiteral("de_AT")), QStringLiteral(HRLN_TRANSLATIONS_DIR)));
    EXPECT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(FormatD4(MakeDate(3, 1, 2027)), "März 1, 2027");
    ui::RemoveLanguage();
    EXPECT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().value(0)->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(FormatD4(MakeDate(3, 1, 2027)), "March 1, 2027");
    EXPECT_EQ(scheduler::QuickReminderHelp().substr(0, 11), "Say when at");
}

// Every entry of the shipped catalogue is finished and keeps what the
// program fills in or acts on: the numbered places, a single mnemonic where
// the English has one, and the markup's tags.
TEST(LanguageTest, TheGermanCatalogueIsCompleteAndKeepsPlaceholdersAndMnemonics)
{
    QFile file(QStringLiteral(HRLN_GERMAN_TS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    int messages = 0;
    const QRegularExpression places(QStringLiteral("%\\d"));
    const QRegularExpression tags(QStringLiteral("<[a-z/][a-z0-9]*"));
    const auto all = [](const QRegularExpression& re, const QString& s) {
        QStringList found;
        for (auto it = re.globalMatch(s); it.hasNext();)
            found << it.next().captured();
        found.sort();
        return found;
    };
    // && is a literal ampersand, not a mnemonic.
    const auto mnemonics = [](QString s) { return s.remove(QStringLiteral("&&")).count(QLatin1Char('&')); };
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("name")) {
            context = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QStringLiteral("source")) {
            source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QStringLiteral("translation")) {
            ++messages;
            const bool unfinished = xml.attributes().value(QStringLiteral("type")) == QStringLiteral("unfinished");
            const QString german = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            const std::string where = context.toStdString() + " / " + source.toStdString();
            EXPECT_FALSE(unfinished) << where;
            EXPECT_FALSE(german.isEmpty()) << where;
            EXPECT_EQ(all(places, german), all(places, source)) << where;
            EXPECT_EQ(all(tags, german), all(tags, source)) << where;
            EXPECT_EQ(mnemonics(german), mnemonics(source)) << where;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 10);
}

}  // namespace
}  // namespace hrln::test
