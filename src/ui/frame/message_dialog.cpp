#include "ui/frame/message_dialog.h"

#include <QApplication>
#include <algorithm>

#include "ui/frame/icons.h"
#include "ui/widgets/schedule_notifier.h"
#include "ui/widgets/qt_prompter.h"
#include "ui/widgets/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace hrln::ui {

MessageDialog::MessageDialog(std::unique_ptr<scheduler::MessageWindow> model, bool modal,
                             data::ProfileFile& positions, QWidget* parent)
    : QDialog(parent), model_(std::move(model)), positions_(positions),
      section_(modal ? QStringLiteral("ShowModalMessage") : QStringLiteral("ShowMessage"))
{
    setObjectName(modal ? QStringLiteral("SHOWMODALMESSAGE$WINDOW") : QStringLiteral("SHOWMESSAGE$WINDOW"));
    setWindowTitle(tr("Message"));
    setWindowIcon(ProgramIcon(QStringLiteral("clock")));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(420, 260);

    auto* title = new QLabel(QString::fromStdString(model_->messageSlots().title), this);
    title->setObjectName(QStringLiteral("messageTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    title->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = new QPushButton(ProgramIcon(QStringLiteral("exit")), tr("Cl&ose"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    // No default button: an Enter typed for another program must not close an
    // unread message. The text takes the focus, where keys do nothing.
    close->setAutoDefault(false);
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("messageText"));
    text->setReadOnly(true);
    text->setPlainText(DisplayText(model_->messageSlots().text));
    text->setToolTip(tr("Message to display"));
    text->setAccessibleName(windowTitle());
    auto* snooze = new QPushButton(ProgramIcon(QStringLiteral("snooze")), tr("&Snooze"), this);
    snooze->setObjectName(QStringLiteral("snoozeButton"));
    snooze->setToolTip(tr("Show this message again in ten minutes"));
    // The other lengths sit beside the button, in a menu its mnemonic opens.
    auto* snoozeFor = new QPushButton(tr("Snooze &for"), this);
    snoozeFor->setObjectName(QStringLiteral("snoozeForButton"));
    snoozeFor->setToolTip(tr("Show this message again after a time you choose"));
    auto* lengths = new QMenu(snoozeFor);
    lengths->setObjectName(QStringLiteral("snoozeLengthsMenu"));
    for (const scheduler::SnoozeLength& length : scheduler::kSnoozeLengths) {
        const int minutes = length.minutes;
        connect(lengths->addAction(QString::fromLatin1(length.label)), &QAction::triggered, this, [this, minutes] {
            if (model_->snooze(minutes) == data::kOk)
                accept();
        });
    }
    snoozeFor->setMenu(lengths);
    snoozeFor->setAutoDefault(false);
    auto* todo = new QPushButton(ProgramIcon(QStringLiteral("nextpage")), tr("&Add to To Do List"), this);
    todo->setObjectName(QStringLiteral("todoButton"));
    snooze->setAutoDefault(false);
    todo->setAutoDefault(false);
    // Shown on top, but the keyboard stays with the window the user is typing
    // in; the launcher lets it take the keys when nobody else has them.
    setAttribute(Qt::WA_ShowWithoutActivating);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // A snooze that could not be stored keeps the window: closed, the message would be lost.
    connect(snooze, &QPushButton::clicked, this, [this] {
        if (model_->snooze() == data::kOk)
            accept();
    });
    connect(todo, &QPushButton::clicked, this, [this] {
        if (model_->addToTodo() == data::kOk)
            NotifyToDoLists();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(snooze);
    buttons->addWidget(snoozeFor);
    buttons->addWidget(todo);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(text, 1);
    layout->addLayout(buttons);

    timer_ = new QTimer(this);
    // Precise: a coarse timer may fire early and put the repeat a whole step late.
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(scheduler::MessageWindow::kTimerStep * 10);
    connect(timer_, &QTimer::timeout, this, [this] { model_->onTimer(); });
    timer_->start();
    // Designed to open in the middle of the screen, where a message is seen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        setGeometry(frame);
    }
    RestoreWindowPosition(this, positions_, section_);
}

MessageDialog::~MessageDialog() = default;

void MessageDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The text takes the focus, where a stray Enter or Space does nothing.
    findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->setFocus();
}

void MessageDialog::done(int result)
{
    timer_->stop();
    SaveWindowPosition(this, positions_, section_);
    QDialog::done(result);
}

namespace {

constexpr int kCascadeStep = 28;  // pixels right and down from the window before

}  // namespace

void Cascade(QWidget* window)
{
    // Each message opened while others are open sits below and right of the
    // last one, so none hides another; past the screen's edge the steps start over.
    int others = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window && qobject_cast<MessageDialog*>(w) != nullptr && w->isVisible())
            ++others;
    if (others == 0)
        return;
    const QScreen* screen = window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int stepsDown = std::max(1, (room.bottom() - window->y() - window->height()) / kCascadeStep);
    const int stepsRight = std::max(1, (room.right() - window->x() - window->width()) / kCascadeStep);
    const int steps = std::max(1, std::min(stepsDown, stepsRight) + 1);
    const int step = others % steps;
    window->move(window->pos() + QPoint(step, step) * kCascadeStep);
}

QtMessageLauncher::QtMessageLauncher(scheduler::MessageServices services, data::ProfileFile& positions,
                                     QWidget* parent)
    : services_(std::move(services)), positions_(positions), parent_(parent)
{
}

void QtMessageLauncher::startMessage(const scheduler::MessageSlots& slots)
{
    const scheduler::MessageServices& s = services_;
    // A message that may go to a notification asks through the launcher's own
    // boxes, which outlive it wherever it is shown.
    const bool notice = s.settings.useExternalMessage && notices_ != nullptr;
    std::unique_ptr<QtPrompter> boxes = ownBoxes_ && !notice ? std::make_unique<QtPrompter>() : nullptr;
    platform::Prompter& asks = boxes ? *boxes : notice && ownBoxes_ ? *noticeBoxes_ : s.prompter;
    auto model = std::make_unique<scheduler::MessageWindow>(
        scheduler::MessageServices{s.db, s.settings, s.log, s.clock, asks, s.sound, s.launcher, s.counter,
                                   s.externalProgram, s.notifications},
        slots);
    const scheduler::MessageWindow::Mode mode = model->open();
    if (mode == scheduler::MessageWindow::Mode::External)
        return;
    if (mode == scheduler::MessageWindow::Mode::Notice && notices_ != nullptr) {
        notices_->post(std::move(model));
        if (notices_->outstanding() > 0 && !noticeTimer_->isActive())
            noticeTimer_->start();
        return;
    }
    showWindow(std::move(model), mode == scheduler::MessageWindow::Mode::Modal, std::move(boxes));
}

QtMessageLauncher::~QtMessageLauncher() = default;

void QtMessageLauncher::useNotifications(platform::Notifications& notifications)
{
    noticeBoxes_ = std::make_unique<QtPrompter>();
    notices_ = std::make_unique<scheduler::MessageNotices>(
        notifications, [this](std::unique_ptr<scheduler::MessageWindow> model) {
            // Its questions stay with the prompter it was made with.
            showWindow(std::move(model), services_.settings.useModalMessage, nullptr);
        });
    notices_->whenToDoAdded = [] { NotifyToDoLists(); };
    noticeTimer_ = std::make_unique<QTimer>();
    noticeTimer_->setTimerType(Qt::PreciseTimer);
    noticeTimer_->setInterval(scheduler::MessageWindow::kTimerStep * 10);
    QObject::connect(noticeTimer_.get(), &QTimer::timeout, noticeTimer_.get(), [this] {
        notices_->onTimer();
        if (notices_->outstanding() == 0)
            noticeTimer_->stop();
    });
}

void QtMessageLauncher::closeNotices()
{
    if (notices_ != nullptr)
        notices_->closeAll();
}

void QtMessageLauncher::showWindow(std::unique_ptr<scheduler::MessageWindow> model, bool modal,
                                   std::unique_ptr<QtPrompter> boxes)
{
    // A window of its own (no parent), so it shows even while the frame sits in the tray.
    auto* dialog = new MessageDialog(std::move(model), modal, positions_);
    if (boxes) {
        boxes->setParent(dialog);
        dialog->takeBoxes(std::move(boxes));
    }
    Cascade(dialog);
    // Modal to itself only: the scheduler's ticks, other messages and programs go on.
    const bool takeKeys = userElsewhere_ && !userElsewhere_();
    dialog->setAttribute(Qt::WA_ShowWithoutActivating, !takeKeys);
    dialog->show();
    dialog->raise();
    // Carried out once the window is mapped, after a frame shown beside it.
    if (takeKeys)
        dialog->activateWindow();
}

}  // namespace hrln::ui
