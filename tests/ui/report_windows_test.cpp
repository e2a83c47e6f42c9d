#include "ui/report/report_windows.h"

#include "modal.h"
#include "pdf_text.h"
#include "ui_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

namespace hrln::test {
namespace {

using scheduler::ReportKind;

// The menu item opens the report's options, and "&Preview" its preview with
// the report's pages in it.
TEST_F(FrameTest, AReportOpensFromTheMenuThroughItsOptionsIntoThePreview)
{
    for (int i = 0; i < 120; ++i)
        addTask(i + 1, MakeDate(3, 1, 2027) + i % 5, MakeTime(9, i % 60), "Report task " + std::to_string(i));
    auto* action = frame->findChild<QAction*>(QStringLiteral("actionReportDateOrder"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    for (const char* name : {"actionReportCategoryOrder", "actionReportBriefSchedule", "actionReportSpecificCategory",
                             "actionReportContacts", "actionReportCategories", "actionReportToDoPriority",
                             "actionReportToDoCategory", "actionPrintSetup"}) {
        auto* other = frame->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(other, nullptr) << name;
        EXPECT_TRUE(other->isEnabled()) << name;
    }

    int previewPages = 0;
    bool sawOptions = false;
    WhenModalOpens(
        [&](QWidget* options) {
            sawOptions = true;
            EXPECT_NE(options->findChild<QCheckBox*>(QStringLiteral("historyCheck")), nullptr);
            EXPECT_NE(options->findChild<QCheckBox*>(QStringLiteral("disabledCheck")), nullptr);
            EXPECT_EQ(options->findChild<QCheckBox*>(QStringLiteral("doneCheck")), nullptr);
            WhenModalOpens(
                [&](QWidget* preview) {
                    auto* pages = preview->findChild<QPrintPreviewWidget*>();
                    if (pages != nullptr) {
                        pages->updatePreview();
                        previewPages = pages->pageCount();
                    }
                    preview->close();
                },
                QStringLiteral("REPORT$PREVIEWWINDOW"));
            options->findChild<QPushButton*>(QStringLiteral("previewButton"))->click();
        },
        QStringLiteral("REPORT$OPTIONSWINDOW"));
    action->trigger();
    EXPECT_TRUE(sawOptions);
    EXPECT_GE(previewPages, 2);
}

class ReportWindowTest : public StoreTest {
protected:
    FakePrompter prompter;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
    ui::WindowServices services{db, positions, prompter};
};

TEST_F(ReportWindowTest, OptionsShowOnlyTheChoicesOfTheReportAndRefuseWhatCannotBePrinted)
{
    data::Table<data::CategoryRecord> categories(db);
    categories.rec.category = "Work";
    ASSERT_EQ(categories.add(), data::kOk);

    ui::ReportOptionsWindow todo(services, ReportKind::TodoByPriority, MakeDate(3, 1, 2027));
    EXPECT_EQ(todo.findChild<QDateEdit*>(QStringLiteral("fromDateEdit")), nullptr);
    EXPECT_EQ(todo.findChild<QCheckBox*>(QStringLiteral("historyCheck")), nullptr);
    todo.findChild<QCheckBox*>(QStringLiteral("doneCheck"))->setChecked(false);
    EXPECT_FALSE(todo.request().includeDone);
    EXPECT_TRUE(todo.request().category.empty());  // blank first: every category

    ui::ReportOptionsWindow one(services, ReportKind::ScheduleForCategory, MakeDate(3, 1, 2027));
    auto* category = one.findChild<QComboBox*>(QStringLiteral("categoryCombo"));
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->currentText(), QStringLiteral("Work"));
    category->setCurrentText(QString());
    one.accept();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Choose the category to print.");
    EXPECT_NE(one.result(), QDialog::Accepted);

    category->setCurrentText(QStringLiteral("Work"));
    one.findChild<QCheckBox*>(QStringLiteral("allDatesCheck"))->setChecked(false);
    one.findChild<QDateEdit*>(QStringLiteral("fromDateEdit"))->setDate(QDate(2027, 3, 10));
    one.findChild<QDateEdit*>(QStringLiteral("toDateEdit"))->setDate(QDate(2027, 3, 9));
    one.accept();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text, "The last day comes before the first day.");
    one.findChild<QDateEdit*>(QStringLiteral("toDateEdit"))->setDate(QDate(2027, 3, 31));
    one.accept();
    EXPECT_EQ(one.result(), QDialog::Accepted);
    const scheduler::ReportRequest r = one.request();
    EXPECT_EQ(r.from, MakeDate(3, 10, 2027));
    EXPECT_EQ(r.to, MakeDate(3, 31, 2027));
    EXPECT_EQ(r.category, "Work");
}

// Printing pages 2 to 3 gives those two pages, numbered as in the whole report.
TEST_F(ReportWindowTest, PrintingAPageRangeGivesOnlyThosePages)
{
    data::Table<data::ScheduleRecord> t(db);
    for (int i = 0; i < 200; ++i) {
        t.rec = Task(i + 1, MakeDate(3, 1, 2027) + i / 40, MakeTime(8, i % 60), "Ranged " + std::to_string(i));
        ASSERT_EQ(t.add(), data::kOk);
    }
    auto source = scheduler::MakeReport(db, ReportKind::BriefSchedule, {});
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = dir.file("range.pdf");
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    ASSERT_TRUE(ui::PrintReport(*source, {"Bea", "March 1, 2027 8:00 AM"}, printer));
    const auto pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(Words(pages[0].back()).at(1), "2");
    EXPECT_EQ(Words(pages[1].back()).at(1), "3");
    EXPECT_GE(std::stoi(Words(pages[1].back()).at(3)), 3);
}

}  // namespace
}  // namespace hrln::test
