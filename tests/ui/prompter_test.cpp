// The Qt prompter's boxes belong to the window that asks: who owns a box,
// where the focus goes once it is answered, which keys answer it, and that
// one key asks once.
#include "modal.h"
#include "ui/widgets/nested_windows.h"
#include "ui/widgets/qt_prompter.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace hrln::test {
namespace {

using platform::MessageButton;
using platform::MessageButtons;

// A top-level window with two entries and a default button that counts its presses.
struct AskingWindow {
    AskingWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        ok = new QPushButton(QStringLiteral("&OK"), &window);
        ok->setDefault(true);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okPressed; });
    }

    void activate()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QDialog window;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    QPushButton* ok = nullptr;
    int okPressed = 0;
};

// What the next box showed: its owner and whether it was modal to it alone.
struct Seen {
    QPointer<QWidget> owner;
    Qt::WindowModality modality = Qt::NonModal;
    int boxes = 0;
};

// Answers the next box with `key` typed into it.
void AnswerWith(Qt::Key key, Seen& seen)
{
    WhenModalOpens(
        [key, &seen](QWidget* box) {
            ++seen.boxes;
            seen.owner = box->parentWidget();
            seen.modality = box->windowModality();
            // Into the box's focus, as a key typed reaches it.
            QTest::keyClick(box->focusWidget() != nullptr ? box->focusWidget() : box, key);
        },
        QStringLiteral("MESSAGEBOX"));
}

platform::MessageBox Question()
{
    return {"Run it now?", "Confirm Task", platform::MessageIcon::Exclamation, MessageButtons::YesNo,
            MessageButton::Yes};
}

TEST(PrompterTest, ABoxBelongsToTheActiveWindowOrToTheOwnerGiven)
{
    QWidget frame;
    AskingWindow asking;
    asking.activate();
    ui::QtPrompter prompter;
    prompter.setFallbackOwner(&frame);

    Seen seen;
    AnswerWith(Qt::Key_Escape, seen);
    EXPECT_EQ(prompter.ask(Question()), MessageButton::No);
    EXPECT_EQ(seen.owner, &asking.window);
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    QTRY_COMPARE(QApplication::activeWindow(), &asking.window);

    // The frame's tick asks for the frame, whichever window is active.
    {
        const ui::QtPrompter::OwnerScope tick(&frame);
        EXPECT_EQ(prompter.owner(), &frame);
    }
    EXPECT_EQ(prompter.owner(), &asking.window);

    // A prompter of one window's own asks over that window alone.
    QWidget message;
    ui::QtPrompter own(&message);
    const ui::QtPrompter::OwnerScope tick(&frame);
    EXPECT_EQ(own.owner(), &message);
}

TEST(PrompterTest, ReturnSpaceAndEscapeAnswerAndTheFocusGoesBack)
{
    AskingWindow asking;
    asking.activate();
    asking.second->setFocus();
    ui::QtPrompter prompter;

    const std::pair<Qt::Key, MessageButton> answers[] = {
        {Qt::Key_Return, MessageButton::Yes}, {Qt::Key_Space, MessageButton::Yes}, {Qt::Key_Escape, MessageButton::No}};
    for (const auto& [key, expected] : answers) {
        Seen seen;
        AnswerWith(key, seen);
        EXPECT_EQ(prompter.ask(Question()), expected) << key;
        EXPECT_EQ(seen.boxes, 1);
        QTRY_COMPARE(QApplication::focusWidget(), asking.second);
    }
    // A box with one button answers Escape with it.
    Seen seen;
    AnswerWith(Qt::Key_Escape, seen);
    EXPECT_EQ(prompter.ask({"Saved", "Note"}), MessageButton::Ok);
    const platform::MessageBox retry{"Try again?", "Error", platform::MessageIcon::Stop, MessageButtons::RetryCancel,
                                     MessageButton::Retry};
    AnswerWith(Qt::Key_Escape, seen);
    EXPECT_EQ(prompter.ask(retry), MessageButton::Cancel);
}

// An entry that reports on finishing passes Return on to its window: the box
// it raised spends it, so the default button's check does not ask again.
TEST(PrompterTest, TheReturnThatRaisedABoxGoesNoFurther)
{
    AskingWindow asking;
    asking.activate();
    ui::QtPrompter prompter;
    bool report = false;
    QObject::connect(asking.first, &QLineEdit::returnPressed, [&] {
        if (report)
            prompter.ask({"\"2027-02-31\" is not a date.", "Invalid Entry"});
    });
    asking.first->setFocus();

    // Nothing to say: Return goes on to the default button.
    QTest::keyClick(asking.first, Qt::Key_Return);
    EXPECT_EQ(asking.okPressed, 1);

    report = true;
    Seen seen;
    AnswerWith(Qt::Key_Return, seen);
    QTest::keyClick(asking.first, Qt::Key_Return);
    EXPECT_EQ(seen.boxes, 1);
    EXPECT_EQ(asking.okPressed, 1);

    // The next Return is a key of its own.
    report = false;
    QTest::keyClick(asking.first, Qt::Key_Return);
    EXPECT_EQ(asking.okPressed, 2);
}

// An entry finished again by the focus its own box takes away says the same
// again underneath: a message already open over the window is not opened twice.
TEST(PrompterTest, AMessageOpenOverItsWindowIsNotOpenedAgain)
{
    AskingWindow asking;
    asking.activate();
    ui::QtPrompter prompter;
    const platform::MessageBox warning{"Advanced Warning cannot be after scheduled task.", "Warning",
                                       platform::MessageIcon::Exclamation};
    int boxes = 0;
    MessageButton nested = MessageButton::Cancel;
    WhenModalOpens(
        [&](QWidget* box) {
            ++boxes;
            nested = prompter.ask(warning);
            QTest::keyClick(box, Qt::Key_Return);
        },
        QStringLiteral("MESSAGEBOX"));
    EXPECT_EQ(prompter.ask(warning), MessageButton::Ok);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(nested, MessageButton::Ok);
}

// A box whose owner is deleted while it is open goes with it; the asker gets
// the Escape answer and nothing is deleted twice.
TEST(PrompterTest, ABoxWhoseOwnerGoesAnswersAsEscape)
{
    auto asking = std::make_unique<AskingWindow>();
    asking->activate();
    ui::QtPrompter prompter;
    WhenModalOpens([&](QWidget*) { asking.reset(); }, QStringLiteral("MESSAGEBOX"));
    EXPECT_EQ(prompter.ask(Question()), MessageButton::No);
}

// A window whose forms run on its stack stays open while one is open.
TEST(PrompterTest, AWindowStaysOpenWhileAWindowOfItsOwnIsOpen)
{
    QWidget frame;
    auto* browser = new QWidget(&frame);
    browser->setAttribute(Qt::WA_DeleteOnClose);
    ui::KeepOpenWhileNested(browser);
    QPointer<QWidget> watched = browser;
    frame.show();
    QDialog form(browser);
    QDialog nested(&form);
    nested.show();
    EXPECT_EQ(ui::OpenNestedWindow(browser), &nested);
    EXPECT_FALSE(browser->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(watched.isNull());
    nested.hide();
    EXPECT_EQ(ui::OpenNestedWindow(browser), nullptr);

    // A question over the frame may have been asked by the browser.
    QDialog box(&frame);
    box.setWindowModality(Qt::WindowModal);
    box.show();
    EXPECT_EQ(ui::OpenNestedWindow(browser), &box);
    box.hide();

    form.setParent(nullptr);
    EXPECT_TRUE(browser->close());
}

}  // namespace
}  // namespace hrln::test
