#include "modal.h"
#include "ui/exchange/field_chooser_window.h"
#include "ui/widgets/file_dialogs.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QTableWidget>
#include <QPushButton>
#include <QTest>

#include <set>

namespace hrln::test {
namespace {

using exchange::ExchangeTable;

std::vector<std::string> Fields(const exchange::FieldLayout& layout)
{
    std::vector<std::string> out;
    for (const auto& f : layout.fields)
        out.push_back(f.field);
    return out;
}

void Click(QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
}

TEST(FieldChooserWindowTest, FieldsAreChosenOrderedAndDroppedByTheButtons)
{
    exchange::FieldLayout start;
    start.fields = {exchange::DefaultField({"ToDo", exchange::FieldKind::Text})};
    ui::FieldChooserWindow w(ExchangeTable::Todo, start, false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* available = w.findChild<QListWidget*>(QStringLiteral("availableList"));
    auto* chosen = w.findChild<QTableWidget*>(QStringLiteral("chosenTable"));
    ASSERT_NE(available, nullptr);
    EXPECT_EQ(available->count(), 6);  // the chosen field is not offered again

    // The first offered field, Done; then CompletionDate.
    Click(w, "addButton");
    available->setCurrentRow(available->count() - 3);  // CompletionDate
    Click(w, "addButton");
    ASSERT_EQ(Fields(w.layout()), (std::vector<std::string>{"ToDo", "Done", "CompletionDate"}));
    EXPECT_EQ(w.layout().fields[2].picture, "d17");
    EXPECT_EQ(w.layout().fields[1].type, exchange::FieldType::Number);

    chosen->setCurrentCell(2, 0);
    Click(w, "upButton");
    Click(w, "upButton");
    Click(w, "upButton");  // already at the top: stays
    EXPECT_EQ(Fields(w.layout()), (std::vector<std::string>{"CompletionDate", "ToDo", "Done"}));
    chosen->setCurrentCell(1, 0);
    chosen->item(1, 1)->setText(QStringLiteral("Item"));
    Click(w, "downButton");
    EXPECT_EQ(Fields(w.layout()), (std::vector<std::string>{"CompletionDate", "Done", "ToDo"}));
    EXPECT_EQ(w.layout().fields[2].name, "Item");  // the name moves with its field
    Click(w, "removeButton");
    EXPECT_EQ(Fields(w.layout()), (std::vector<std::string>{"CompletionDate", "Done"}));
    EXPECT_EQ(available->count(), 5);

    w.findChild<QCheckBox*>(QStringLiteral("headerCheck"))->click();
    EXPECT_FALSE(w.layout().header);
    w.addAll();
    EXPECT_EQ(w.layout().fields.size(), exchange::AvailableFields(ExchangeTable::Todo).size());
    EXPECT_EQ(available->count(), 0);
}

TEST(FieldChooserWindowTest, EveryControlIsReachedByItsKey)
{
    ui::FieldChooserWindow w(ExchangeTable::Todo, exchange::FieldLayout{}, false);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* available = w.findChild<QListWidget*>(QStringLiteral("availableList"));
    auto* chosen = w.findChild<QTableWidget*>(QStringLiteral("chosenTable"));
    QTest::keyClick(&w, Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), chosen);
    QTest::keyClick(&w, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), available);
    // Alt+L adds every field, Alt+R takes the one chosen back (a button's key
    // clicks it a moment later, as it shows the press).
    const std::size_t all = exchange::AvailableFields(ExchangeTable::Todo).size();
    QTest::keyClick(&w, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.layout().fields.size() == all; }, 2000));
    chosen->setCurrentCell(0, 0);
    QTest::keyClick(&w, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.layout().fields.size() == all - 1; }, 2000));
}

class ExchangeFrameTest : public FrameTest {
protected:
    // Triggers `action`, answers the field window with `choose`, then OK.
    void runWithChooser(const char* action, const char* window,
                        const std::function<void(ui::FieldChooserWindow*)>& choose)
    {
        WhenModalOpens(
            [choose](QWidget* w) {
                auto* chooser = static_cast<ui::FieldChooserWindow*>(w);
                choose(chooser);
                chooser->accept();
            },
            QString::fromUtf8(window));
        frame->findChild<QAction*>(QString::fromUtf8(action))->trigger();
    }
};

TEST_F(ExchangeFrameTest, FileExportAndImportRunFromTheMenusAndKeepTheLayout)
{
    addTask(1, MakeDate(3, 2, 2027), MakeTime(9, 0), "first");
    addTask(2, MakeDate(3, 3, 2027), MakeTime(10, 0), "second");
    {
        data::Table<data::CategoryRecord> c(db);
        c.rec.category = "Work";
        ASSERT_EQ(c.add(), data::kOk);
    }
    const QString file = QString::fromStdString(dir.file("out.csv"));
    std::vector<ui::FileRequest> asked;
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest& r) {
        asked.push_back(r);
        return file;
    });

    runWithChooser("actionExportSchedule", "EXPORTSCHEDULE$FIELDWINDOW", [](ui::FieldChooserWindow* w) {
        while (!w->layout().fields.empty()) {
            w->findChild<QTableWidget*>(QStringLiteral("chosenTable"))->setCurrentCell(0, 0);
            w->removeSelected();
        }
        for (const char* f : {"Description", "Date", "Time", "Category"}) {
            auto* available = w->findChild<QListWidget*>(QStringLiteral("availableList"));
            available->setCurrentItem(available->findItems(QString::fromUtf8(f), Qt::MatchExactly).front());
            w->addSelected();
        }
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ui::FileRequest::Kind::Save);
    EXPECT_EQ(asked[0].title, QStringLiteral("Export Schedule"));
    EXPECT_EQ(ReadFile(file.toStdString()),
              "\"Description\",\"Date\",\"Time\",\"Category\"\r\n"
              "\"first\",\"2027-03-02\",\"09:00:00\",\"Work\"\r\n"
              "\"second\",\"2027-03-03\",\"10:00:00\",\"Work\"\r\n");
    EXPECT_TRUE(prompter.shown.empty());

    // The import offers the layout the export kept, and adds the tasks anew.
    std::vector<std::string> offered;
    runWithChooser("actionImportSchedule", "IMPORTSCHEDULE$FIELDWINDOW",
                   [&](ui::FieldChooserWindow* w) { offered = Fields(w->layout()); });
    EXPECT_EQ(offered, (std::vector<std::string>{"Description", "Date", "Time", "Category"}));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, "Import Schedule");
    EXPECT_NE(prompter.shown[0].text.find("2 records added, 0 skipped."), std::string::npos);
    data::Table<data::ScheduleRecord> t(db);
    EXPECT_EQ(t.count(), 4);

    // No field chosen: refused, and no file written.
    std::filesystem::remove(file.toStdString());
    runWithChooser("actionExportTodo", "EXPORTTODO$FIELDWINDOW", [](ui::FieldChooserWindow* w) {
        while (!w->layout().fields.empty()) {
            w->findChild<QTableWidget*>(QStringLiteral("chosenTable"))->setCurrentCell(0, 0);
            w->removeSelected();
        }
    });
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text, "No Fields Selected for Export!");
    EXPECT_FALSE(std::filesystem::exists(file.toStdString()));
    ui::SetFileChooser(nullptr);
}

// The plain calendar export leaves history out and says so; its own command
// writes it as past events.
TEST_F(ExchangeFrameTest, HistoryGoesIntoACalendarOnlyThroughItsOwnCommand)
{
    addTask(1, MakeDate(3, 2, 2027), MakeTime(9, 0), "coming");
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(2, MakeDate(2, 27, 2027), MakeTime(9, 0), "was done");
        t.rec.disabled = t.rec.completed = 1;
        ASSERT_EQ(t.add(), data::kOk);
    }
    const QString file = QString::fromStdString(dir.file("out.ics"));
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest&) { return file; });
    frame->findChild<QAction*>(QStringLiteral("actionExportScheduleIcal"))->trigger();
    EXPECT_EQ(ReadFile(file.toStdString()).find("was done"), std::string::npos);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "1 record written. Not written: 1 history entry.");
    frame->findChild<QAction*>(QStringLiteral("actionExportScheduleHistoryIcal"))->trigger();
    ui::SetFileChooser(nullptr);
    EXPECT_NE(ReadFile(file.toStdString()).find("SUMMARY:was done"), std::string::npos);
    EXPECT_EQ(prompter.shown.size(), 1u);  // everything written, every rule said exactly: nothing to tell
}

TEST_F(ExchangeFrameTest, CalendarsAndCardsRunFromTheSameMenus)
{
    addTask(1, MakeDate(3, 2, 2027), MakeTime(9, 0), "first");
    addTask(2, MakeDate(3, 3, 2027), MakeTime(10, 0), "second");
    {
        data::Table<data::ContactRecord> c(db);
        c.rec.clientId = 1;
        c.rec.lastName = "Doe";
        c.rec.firstName = "Jane";
        ASSERT_EQ(c.add(), data::kOk);
    }
    QString file = QString::fromStdString(dir.file("out.ics"));
    std::vector<ui::FileRequest> asked;
    ui::SetFileChooser([&](QWidget*, const ui::FileRequest& r) {
        asked.push_back(r);
        return file;
    });
    frame->findChild<QAction*>(QStringLiteral("actionExportScheduleIcal"))->trigger();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].suggested, QStringLiteral("schedule.ics"));
    EXPECT_TRUE(ReadFile(file.toStdString()).starts_with("BEGIN:VCALENDAR\r\n"));
    EXPECT_TRUE(prompter.shown.empty());  // every rule said exactly: nothing to tell
    frame->findChild<QAction*>(QStringLiteral("actionImportScheduleIcal"))->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    // The file's events are the tasks it was written from: read back, they change them, and add none.
    EXPECT_NE(prompter.shown[0].text.find("0 records added, 2 updated, 0 skipped."), std::string::npos)
        << prompter.shown[0].text;
    EXPECT_EQ(data::Table<data::ScheduleRecord>(db).count(), 2);

    file = QString::fromStdString(dir.file("people.vcf"));
    frame->findChild<QAction*>(QStringLiteral("actionExportContactsVcard3"))->trigger();
    EXPECT_NE(ReadFile(file.toStdString()).find("VERSION:3.0"), std::string::npos);
    frame->findChild<QAction*>(QStringLiteral("actionImportContactsVcard"))->trigger();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, "Import Contacts");
    EXPECT_EQ(data::Table<data::ContactRecord>(db).count(), 2);
    ui::SetFileChooser(nullptr);

    // Every command of the Import and Export menus has a key of its own.
    for (const char* menu : {"menuImport", "menuExport"}) {
        std::set<QChar> keys;
        for (QAction* a : frame->findChild<QMenu*>(QString::fromUtf8(menu))->actions()) {
            if (a->isSeparator())
                continue;
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            ASSERT_GE(amp, 0) << a->text().toStdString();
            EXPECT_TRUE(keys.insert(a->text().at(amp + 1).toLower()).second) << a->text().toStdString();
        }
    }
}

}  // namespace
}  // namespace hrln::test
