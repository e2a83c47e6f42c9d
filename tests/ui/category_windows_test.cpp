#include "ui/pim/category_windows.h"
#include "ui/widgets/progress_window.h"

#include "data/settings.h"
#include "store_fixture.h"
#include "modal.h"
#include "support/fake_prompter.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace hrln::test {
namespace {

using data::CategoryRecord;

// Types `name` into an open category form and presses OK.
void FillCategoryForm(const QString& name, QString* title = nullptr)
{
    WhenModalOpens([name, title](QWidget* form) {
        EXPECT_EQ(form->objectName(), QStringLiteral("UPDATECATEGORIES$QUICKWINDOW"));
        if (title != nullptr)
            *title = form->windowTitle();
        // The title shows whole: the form leaves the desktop room for it.
        EXPECT_GE(form->width(), form->fontMetrics().horizontalAdvance(form->windowTitle()) + 120);
        auto* edit = form->findChild<QLineEdit*>(QStringLiteral("categoryEdit"));
        edit->selectAll();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        // A refused write leaves the form open: close it so the test goes on.
        QTimer::singleShot(20, form, [form] {
            if (form->isVisible())
                QTest::keyClick(form, Qt::Key_Escape);
        });
    });
}

class CategoryWindowsTest : public StoreTest {
protected:
    ui::WindowServices services() { return {db, positions, prompter}; }

    void addCategory(std::string_view name)
    {
        data::Table<CategoryRecord> t(db);
        t.rec.category = name;
        ASSERT_EQ(t.add(), data::kOk);
    }
    void addTask(data::Long id, std::string_view category)
    {
        data::Table<data::ScheduleRecord> t(db);
        t.rec = Task(id, MakeDate(3, 1, 2027), MakeTime(9, 0), "task", category);
        ASSERT_EQ(t.add(), data::kOk);
    }
    std::vector<std::string> categories()
    {
        return walk<CategoryRecord>(CategoryRecord::KeyCategory, [](const CategoryRecord& r) { return r.category.str(); });
    }
    QString listText(ui::BrowseList* list, int row)
    {
        return list->model()->data(list->model()->index(row, 0)).toString();
    }
    QPushButton* button(QWidget* w, const char* name) { return w->findChild<QPushButton*>(QString::fromLatin1(name)); }

    FakePrompter prompter;
    data::ProfileFile positions{dir.file(data::kPositionsFile)};
};

TEST_F(CategoryWindowsTest, AddThroughTheFormAndRefuseTheSameNameInAnotherCase)
{
    ui::BrowseCategoriesWindow browser(services());
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Categories"));
    browser.show();

    QString title;
    FillCategoryForm(QStringLiteral("Garden"), &title);
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Adding a Categories Record"));
    EXPECT_EQ(categories(), (std::vector<std::string>{"Garden"}));
    EXPECT_EQ(listText(browser.list(), 0), QStringLiteral("Garden"));
    EXPECT_EQ(browser.list()->selectedRow(), 0);

    // "GARDEN" clashes with "Garden" in the key: reported, nothing added, the form stays until closed.
    FillCategoryForm(QStringLiteral("GARDEN"));
    QTest::keyClick(browser.list()->view(), Qt::Key_Insert);
    EXPECT_EQ(categories(), (std::vector<std::string>{"Garden"}));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.back().text.find("By Category"), std::string::npos) << prompter.shown.back().text;

    // A blank name would stand outside the key, where no list shows it.
    const std::size_t before = prompter.shown.size();
    FillCategoryForm(QString());
    QTest::mouseClick(button(&browser, "insertButton"), Qt::LeftButton);
    EXPECT_EQ(categories(), (std::vector<std::string>{"Garden"}));
    EXPECT_GT(prompter.shown.size(), before);
    EXPECT_EQ(data::Table<CategoryRecord>(db).count(), 1);
}

TEST_F(CategoryWindowsTest, RenameAndDeleteAreRefusedWhileATaskUsesTheCategory)
{
    addCategory("Work");
    addCategory("Chores");
    addTask(1, "Work");
    {
        data::Table<data::TodoRecord> todo(db);
        todo.rec.toDo = "sweep";
        todo.rec.category = "Chores";
        ASSERT_EQ(todo.add(), data::kOk);
    }
    ui::BrowseCategoriesWindow browser(services());
    browser.show();
    ui::BrowseList* list = browser.list();
    ASSERT_EQ(listText(list, 1), QStringLiteral("Work"));

    // Renaming "Work" is refused by the task that uses it; the name returns.
    list->selectRow(1);
    QString title;
    FillCategoryForm(QStringLiteral("Office"), &title);
    QTest::keyClick(list->view(), Qt::Key_Return);
    EXPECT_EQ(title, QStringLiteral("Changing a Categories Record"));
    EXPECT_EQ(categories(), (std::vector<std::string>{"Chores", "Work"}));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown.back().caption, "Referential Integrity Update Error");

    // Deleting it is refused too, after the confirmation.
    prompter.answer(platform::MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(prompter.shown.back().caption, "Referential Integrity Delete Error");
    EXPECT_EQ(categories(), (std::vector<std::string>{"Chores", "Work"}));

    // "Chores" is used only by a to-do item: renamed, then deleted; the item keeps its text.
    list->selectRow(0);
    FillCategoryForm(QStringLiteral("Housework"));
    QTest::mouseClick(button(&browser, "changeButton"), Qt::LeftButton);
    EXPECT_EQ(categories(), (std::vector<std::string>{"Housework", "Work"}));
    EXPECT_EQ(listText(list, list->selectedRow()), QStringLiteral("Housework"));
    prompter.answer(platform::MessageButton::Ok);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(categories(), (std::vector<std::string>{"Work"}));
    EXPECT_EQ(prompter.shown.back().caption, "Confirm Delete");
    data::Table<data::TodoRecord> todo(db);
    todo.set(data::TodoRecord::KeyToDo);
    ASSERT_EQ(todo.next(), data::kOk);
    EXPECT_EQ(todo.rec.category.str(), "Chores");

    // Cancelling the confirmation deletes nothing.
    prompter.answer(platform::MessageButton::Cancel);
    QTest::mouseClick(button(&browser, "deleteButton"), Qt::LeftButton);
    EXPECT_EQ(categories(), (std::vector<std::string>{"Work"}));
}

TEST_F(CategoryWindowsTest, AnEmptyListOffersOnlyAddAndTheSelectorCloses)
{
    ui::BrowseCategoriesWindow browser(services());
    browser.show();
    QMenu* menu = browser.list()->popupMenu();
    ASSERT_EQ(menu->actions().size(), 3);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    EXPECT_FALSE(menu->actions()[2]->isEnabled());
    EXPECT_FALSE(button(&browser, "changeButton")->isEnabled());
    EXPECT_FALSE(button(&browser, "deleteButton")->isEnabled());
    // Nothing to edit or delete: the keys do nothing and no message is shown.
    QTest::keyClick(browser.list()->view(), Qt::Key_Delete);
    QTest::keyClick(browser.list()->view(), Qt::Key_Return);
    EXPECT_TRUE(prompter.shown.empty());

    CategoryRecord chosen;
    chosen.category = "unchanged";
    WhenModalOpens([](QWidget* selector) {
        EXPECT_EQ(selector->objectName(), QStringLiteral("SELECTCATEGORIES$QUICKWINDOW"));
        EXPECT_EQ(selector->windowTitle(), QStringLiteral("Select a Category"));
        EXPECT_FALSE(selector->findChild<QPushButton*>(QStringLiteral("selectButton"))->isEnabled());
        QTest::mouseClick(selector->findChild<QPushButton*>(QStringLiteral("closeButton")), Qt::LeftButton);
    });
    EXPECT_EQ(ui::SelectCategoriesWindow::Select(services(), chosen, nullptr), pim::Response::Cancelled);
    EXPECT_EQ(chosen.category.str(), "unchanged");

    // The menu follows the list once a record exists.
    addCategory("Home");
    addCategory("Errands");
    browser.list()->refresh();
    EXPECT_TRUE(menu->actions()[1]->isEnabled());
    WhenModalOpens([](QWidget* selector) {
        auto* list = selector->findChild<QTableView*>(QStringLiteral("browseList"));
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(ui::SelectCategoriesWindow::Select(services(), chosen, nullptr), pim::Response::Completed);
    EXPECT_EQ(chosen.category.str(), "Home");
}

// A job of `total` records that the test can watch.
class SlowJob : public BatchJob {
public:
    explicit SlowJob(int total) : total_(total) {}
    std::string description() const override { return "Deleting Script"; }
    bool step(int count) override
    {
        done_ = std::min(total_, done_ + count);
        return done_ < total_;
    }
    int percent() const override { return PercentDone(done_, total_); }
    int done() const { return done_; }

private:
    int total_;
    int done_ = 0;
};

TEST_F(CategoryWindowsTest, ProgressWindowRunsToTheEndOrStopsOnCancel)
{
    SlowJob whole(50);
    EXPECT_TRUE(ui::ProgressWindow::Run(whole, 10, QStringLiteral("DELETESCRIPT$PROGRESSWINDOW"), nullptr));
    EXPECT_EQ(whole.done(), 50);

    SlowJob cancelled(1000000);
    QString title, line;
    WhenModalOpens([&](QWidget* w) {
        title = w->windowTitle();
        line = w->findChild<QLabel*>(QStringLiteral("jobLine"))->text();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
    });
    EXPECT_FALSE(ui::ProgressWindow::Run(cancelled, 1, QStringLiteral("DELETESCRIPT$PROGRESSWINDOW"), nullptr));
    EXPECT_EQ(title, QStringLiteral("Processing Records"));
    EXPECT_EQ(line, QStringLiteral("Deleting Script"));
    EXPECT_GT(cancelled.done(), 0);
    EXPECT_LT(cancelled.done(), 1000000);
}

}  // namespace
}  // namespace hrln::test
