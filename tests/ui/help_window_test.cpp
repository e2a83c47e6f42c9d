// The help window: the guide's index and text search, the Help menu's places,
// F1 in the program's windows, and the window kept within the screen.
#include "data/window_position.h"
#include "ui/frame/guide_topics.h"
#include "ui/frame/help_window.h"
#include "ui_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTest>
#include <QTextBrowser>

#include <set>

namespace hrln::test {
namespace {

QString ReadText(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

QString RealGuide()
{
    return ReadText(QStringLiteral(GUIDE_SOURCE));
}

QStringList Titles(const QList<ui::GuideTopic>& topics)
{
    QStringList out;
    for (const ui::GuideTopic& t : topics)
        out << t.title;
    return out;
}

TEST(GuideTopicsTest, HeadingsAndKeywordsMakeTheIndex)
{
    const QString html = QStringLiteral(
        "<h1 id=\"top\">Program</h1>"
        "<h2 id=\"due\" data-index=\"alarm; Snooze&amp;later ;;\">When a <b>task</b>\n comes due</h2>"
        "<h2>No place of its own</h2>"
        "<h3 id=\"sub\">a small part</h3>"
        "<p id=\"para\" data-index=\"Alarm\">text</p>"
        "<p data-index=\"nowhere\">a keyword without a place is no topic</p>"
        "<h2 id=\"due\">When a task comes due</h2>");
    const QList<ui::GuideTopic> topics = ui::ReadGuideTopics(html);
    // Sorted whatever the case; tags, line breaks and entities read as a reader sees them;
    // the same title for the same place once, for another place again.
    EXPECT_EQ(Titles(topics), (QStringList{"a small part", "alarm", "Alarm", "Snooze&later", "When a task comes due"}));
    EXPECT_EQ(topics[1].anchor, QStringLiteral("due"));
    EXPECT_EQ(topics[2].anchor, QStringLiteral("para"));
    EXPECT_EQ(topics[4].anchor, QStringLiteral("due"));

    // Every word typed, in any order and case, anywhere in the title.
    EXPECT_EQ(Titles(ui::MatchingTopics(topics, QStringLiteral("DUE wh"))), (QStringList{"When a task comes due"}));
    EXPECT_EQ(ui::MatchingTopics(topics, QStringLiteral("  ")).size(), topics.size());
    EXPECT_TRUE(ui::MatchingTopics(topics, QStringLiteral("alarm ferret")).isEmpty());
}

// Every place the program opens the guide at is in the guide, and so is
// every place its own links lead to.
TEST(GuideTopicsTest, TheGuideHasEveryPlaceItIsOpenedAt)
{
    const QString html = RealGuide();
    std::set<QString> ids;
    static const QRegularExpression id(QStringLiteral("\\sid=\"([^\"]+)\""));
    for (auto it = id.globalMatch(html); it.hasNext();)
        EXPECT_TRUE(ids.insert(it.next().captured(1)).second) << "two elements share an id";
    const QStringList windows = ui::GuideWindowNames();
    EXPECT_GE(windows.size(), 20);
    for (const QString& window : windows)
        EXPECT_EQ(ids.count(ui::GuideAnchorFor(window)), 1u) << window.toStdString();
    EXPECT_EQ(ids.count(QString::fromLatin1(ui::kGuideContents)), 1u);
    EXPECT_EQ(ids.count(QString::fromLatin1(ui::kGuideUsingHelp)), 1u);
    EXPECT_EQ(ui::GuideAnchorFor(QStringLiteral("BROWSECATEGORIES$QUICKWINDOW")),
              QString::fromLatin1(ui::kGuideContents));
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    int links = 0;
    for (auto it = link.globalMatch(html); it.hasNext(); ++links) {
        const QString target = it.next().captured(1);
        EXPECT_EQ(ids.count(target), 1u) << "a link to #" << target.toStdString();
    }
    EXPECT_GE(links, 15);
    const QStringList titles = Titles(ui::ReadGuideTopics(html));
    for (const char* topic : {"Quick Reminder", "Using Help", "Contents", "agenda", "Snooze for", "backup"})
        EXPECT_TRUE(titles.contains(QString::fromLatin1(topic))) << topic;
}

class HelpWindowTest : public FrameTest {
protected:
    QTextBrowser* text(QWidget* help) { return help->findChild<QTextBrowser*>(QStringLiteral("helpText")); }
    QLineEdit* field(QWidget* help) { return help->findChild<QLineEdit*>(QStringLiteral("topicEdit")); }
    QListWidget* list(QWidget* help, const char* name)
    {
        return help->findChild<QListWidget*>(QString::fromLatin1(name));
    }

    void useRealGuide() { WriteFile(dir.file("guide.html"), RealGuide().toStdString()); }

    void trigger(const char* action)
    {
        QAction* a = frame->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    // The one help window open, or none.
    QWidget* help()
    {
        QWidget* found = nullptr;
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("HELP$WINDOW") && w->isVisible()) {
                found = w;
                ++open;
            }
        EXPECT_LE(open, 1);
        return found;
    }

    QString place(QWidget* window) { return text(window)->source().fragment(); }

    // The heading of the block at the top of the text's view.
    QString headingInView(QWidget* window)
    {
        QTextBlock block = text(window)->cursorForPosition(QPoint(4, 4)).block();
        for (; block.isValid(); block = block.previous())
            if (block.blockFormat().headingLevel() > 0)
                return block.text();
        return {};
    }
};

TEST_F(HelpWindowTest, EachHelpCommandOpensItsPlace)
{
    useRealGuide();
    frame->show();
    trigger("actionHelpHowTo");
    QWidget* window = help();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(place(window), QStringLiteral("using-help"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Horalyn Help - Using Help"));

    trigger("actionHelpContents");
    ASSERT_EQ(help(), window);  // the same window, moved
    EXPECT_EQ(place(window), QStringLiteral("contents"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Horalyn Help - Contents"));
    EXPECT_EQ(headingInView(window), QStringLiteral("Contents"));

    // The index opens beside the page being read, the keyboard in its field.
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    trigger("actionHelpSearch");
    ASSERT_EQ(help(), window);
    EXPECT_EQ(place(window), QStringLiteral("contents"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field(window)));
    window->close();

    // Opened fresh, the index shows the contents beside it.
    trigger("actionHelpSearch");
    ASSERT_NE(help(), nullptr);
    EXPECT_EQ(place(help()), QStringLiteral("contents"));
    help()->close();
}

TEST_F(HelpWindowTest, TheIndexNarrowsAsYouTypeAndShowsThePlace)
{
    useRealGuide();
    frame->show();
    trigger("actionHelpSearch");
    QWidget* window = help();
    ASSERT_NE(window, nullptr);
    QListWidget* topics = list(window, "topicList");
    const int all = topics->count();
    EXPECT_GE(all, 40);

    QTest::keyClicks(field(window), QStringLiteral("snooze"));
    ASSERT_GE(topics->count(), 2);
    EXPECT_LT(topics->count(), all);
    for (int i = 0; i < topics->count(); ++i)
        EXPECT_TRUE(topics->item(i)->text().contains(QStringLiteral("snooze"), Qt::CaseInsensitive));
    // The arrows in the field move through the list, Enter shows the topic.
    QTest::keyClick(field(window), Qt::Key_Down);
    EXPECT_EQ(topics->currentRow(), 1);
    const QString anchor = topics->currentItem()->data(Qt::UserRole).toString();
    QTest::keyClick(field(window), Qt::Key_Return);
    EXPECT_EQ(place(window), anchor);

    // A double-click on a topic shows it too, at the top of the view.
    field(window)->clear();
    QTest::keyClicks(field(window), QStringLiteral("printing rep"));
    ASSERT_EQ(topics->count(), 1);
    const QRect row = topics->visualItemRect(topics->item(0));
    QTest::mouseClick(topics->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(topics->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(place(window), QStringLiteral("reports"));
    EXPECT_EQ(headingInView(window), QStringLiteral("Printing reports"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Horalyn Help - Printing reports"));
    window->close();
}

// A word no topic holds is looked for in the text: found by section, the first place shown.
TEST_F(HelpWindowTest, TheTextSearchListsThePlacesBySection)
{
    WriteFile(dir.file("guide.html"),
              "<html><body><h1>Guide</h1><h2 id=\"pets\">Pets</h2><p>A ferret sleeps. Another ferret eats.</p>"
              "<h2 id=\"food\">Food</h2><p>Bread only.</p>"
              "<h2 id=\"toys\">Toys</h2>" + [] {
                  std::string filler;
                  for (int i = 0; i < 80; ++i)
                      filler += "<p>A ball and a rope.</p>";
                  return filler;
              }() + "<p>The FERRET's own tunnel.</p></body></html>");
    ui::HelpWindow window(QString::fromStdString(dir.file("guide.html")), positions);
    window.show();
    QTest::keyClicks(field(&window), QStringLiteral("ferret"));
    EXPECT_EQ(list(&window, "topicList")->count(), 0);
    QTest::keyClick(field(&window), Qt::Key_Return);

    QListWidget* places = list(&window, "matchList");
    ASSERT_EQ(places->count(), 2);
    EXPECT_EQ(places->item(0)->text(), QStringLiteral("Pets (2)"));
    EXPECT_EQ(places->item(1)->text(), QStringLiteral("Toys"));
    EXPECT_EQ(text(&window)->extraSelections().size(), 3);
    QTextCursor shown = text(&window)->textCursor();
    EXPECT_EQ(shown.selectedText(), QStringLiteral("ferret"));
    EXPECT_EQ(shown.block().text(), QStringLiteral("A ferret sleeps. Another ferret eats."));
    EXPECT_EQ(shown.selectionStart() - shown.block().position(), 2);  // the first of the two

    // The last section's place, far down the page, is brought into view.
    const int top = text(&window)->verticalScrollBar()->value();
    places->setCurrentRow(1);
    QTest::keyClick(places, Qt::Key_Return);
    shown = text(&window)->textCursor();
    EXPECT_EQ(shown.selectedText(), QStringLiteral("FERRET"));
    EXPECT_GT(text(&window)->verticalScrollBar()->value(), top);

    // Nothing found: said so, and nothing left highlighted.
    EXPECT_EQ(window.searchText(QStringLiteral("giraffe")), 0);
    ASSERT_EQ(places->count(), 1);
    EXPECT_EQ(places->item(0)->flags(), Qt::NoItemFlags);
    EXPECT_TRUE(text(&window)->extraSelections().isEmpty());
}

TEST_F(HelpWindowTest, F1OpensTheSectionOfTheWindowItIsPressedIn)
{
    useRealGuide();
    frame->show();
    frame->activateWindow();
    QTRY_VERIFY(frame->isActiveWindow());
    QTest::keyClick(frame.get(), Qt::Key_F1);
    ASSERT_NE(help(), nullptr);
    EXPECT_EQ(place(help()), QStringLiteral("main-window"));
    help()->close();

    // A browser inside the frame: its own section, from whichever of its widgets has the keyboard.
    trigger("actionToDoList");
    QMdiSubWindow* todo = frame->clientArea()->activeSubWindow();
    ASSERT_NE(todo, nullptr);
    ASSERT_EQ(todo->widget()->objectName(), QStringLiteral("VIEWTODO$QUICKWINDOW"));
    QWidget* inside = todo->widget()->focusWidget() != nullptr ? todo->widget()->focusWidget() : todo->widget();
    QTest::keyClick(inside, Qt::Key_F1);
    ASSERT_NE(help(), nullptr);
    EXPECT_EQ(place(help()), QStringLiteral("todo"));

    // A browser the guide has no section for: the contents.
    trigger("actionBrowseCategories");
    QMdiSubWindow* categories = frame->clientArea()->activeSubWindow();
    ASSERT_EQ(categories->widget()->objectName(), QStringLiteral("BROWSECATEGORIES$QUICKWINDOW"));
    QTest::keyClick(categories->widget(), Qt::Key_F1);
    EXPECT_EQ(place(help()), QStringLiteral("contents"));

    // F1 in the help window itself: how to use it. Shift+F1 is not help.
    QTest::keyClick(help(), Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(place(help()), QStringLiteral("contents"));
    QTest::keyClick(field(help()), Qt::Key_F1);
    EXPECT_EQ(place(help()), QStringLiteral("using-help"));
    help()->close();
}

// A window that waits for an answer blocks every other window: the help it
// asks for must be its own to take the keyboard.
TEST_F(HelpWindowTest, HelpFromAWindowThatWaitsBelongsToIt)
{
    useRealGuide();
    frame->show();
    trigger("actionHelpContents");
    QWidget* window = help();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), frame.get());

    QDialog setup(frame.get());
    setup.setObjectName(QStringLiteral("SETUP$WINDOW"));
    setup.setWindowModality(Qt::ApplicationModal);
    setup.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(&setup));
    QTest::keyClick(&setup, Qt::Key_F1);
    ASSERT_EQ(help(), window);  // the same window, handed over
    EXPECT_EQ(window->parentWidget(), &setup);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(place(window), QStringLiteral("setup"));
    // Once that window is answered, the guide stays open, the frame's again.
    QPointer<QWidget> guard(window);
    setup.close();
    ASSERT_FALSE(guard.isNull());
    EXPECT_EQ(window->parentWidget(), frame.get());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(place(window), QStringLiteral("setup"));
    window->close();
}

// The help window opens whole on the screen, however large it was saved
// (here: on the screen by its middle, over its edges by its size).
TEST_F(HelpWindowTest, ASavedPlaceOffTheScreenIsBroughtBack)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    data::SaveWindowPosition(positions, "Help",
                             {area.left() + 100, area.top() + 50, area.width() + 400, area.height() + 300, false, false,
                              true});
    frame->show();
    trigger("actionHelpContents");
    QWidget* window = help();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(area.contains(window->frameGeometry())) << window->frameGeometry().x() << ","
                                                        << window->frameGeometry().y() << " "
                                                        << window->frameGeometry().width() << "x"
                                                        << window->frameGeometry().height();
    EXPECT_GE(window->width(), 400);
    window->close();
}

}  // namespace
}  // namespace hrln::test
