#include "ui/schedule/quick_reminder_window.h"

#include "pim/record_warnings.h"
#include "scheduler/quick_reminder.h"
#include "scheduler/task_fields.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/schedule_notifier.h"
#include "ui/widgets/window_placement.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

const QString kPosition = QStringLiteral("QuickReminder");

std::string TypingLocale()
{
    return QLocale().name().toStdString();
}

}  // namespace

QuickReminderWindow::QuickReminderWindow(const ScheduleWindowServices& services, QWidget* parent)
    : QDialog(parent), s_(services)
{
    setObjectName(QStringLiteral("QUICKREMINDER$WINDOW"));
    setWindowTitle(tr("Quick Reminder"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("&Remind me of:"), this);
    line_ = new QLineEdit(this);
    line_->setObjectName(QStringLiteral("reminderEdit"));
    line_->setPlaceholderText(tr("Call Bob in 10 minutes"));
    line_->setToolTip(
        tr("What to remind you of, then when: in 10 minutes, in 2 h, at 14:30, tomorrow 9:00"));
    // The text goes into the message; a longer one could not be shown whole.
    line_->setMaxLength(static_cast<int>(data::ScheduleRecord{}.message.kWidth));
    prompt->setBuddy(line_);
    understood_ = new QLabel(this);
    understood_->setObjectName(QStringLiteral("understoodLabel"));
    understood_->setWordWrap(true);
    layout->addWidget(prompt);
    layout->addWidget(line_);
    layout->addWidget(understood_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* add = buttons->addButton(tr("&Add"), QDialogButtonBox::AcceptRole);
    add->setObjectName(QStringLiteral("addButton"));
    add->setDefault(true);
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QuickReminderWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QuickReminderWindow::reject);
    layout->addWidget(buttons);

    connect(line_, &QLineEdit::textChanged, this, &QuickReminderWindow::showUnderstood);
    showUnderstood();
    // Room for a sentence and its reading below, whatever the help says.
    ResizeWithin(this, sizeHint().expandedTo(QSize(fontMetrics().horizontalAdvance(understood_->text()) + 40, 0)));
    RestoreWindowPosition(this, s_.window.positions, kPosition);
}

void QuickReminderWindow::showUnderstood()
{
    const auto reminder = scheduler::ParseQuickReminder(line_->text().toStdString(), s_.clock.now(), TypingLocale());
    understood_->setText(Text(reminder ? scheduler::DescribeReminder(*reminder) : scheduler::QuickReminderHelp()));
}

void QuickReminderWindow::accept()
{
    const platform::DateTime now = s_.clock.now();
    const auto reminder = scheduler::ParseQuickReminder(line_->text().toStdString(), now, TypingLocale());
    if (!reminder) {
        s_.window.prompter.ask({tr("When should it remind you?").toStdString() + "  " + scheduler::QuickReminderHelp(),
                                tr("Quick Reminder").toStdString(), platform::MessageIcon::Exclamation});
        line_->setFocus(Qt::OtherFocusReason);
        return;
    }
    data::ScheduleRecord task = scheduler::QuickReminderTask(*reminder);
    // "today 9:00" said at ten: the user says whether it is to come up at once.
    if (!scheduler::ConfirmOnceInThePast(task, now, s_.window.prompter)) {
        line_->setFocus(Qt::OtherFocusReason);
        return;
    }
    pim::RecordWarnings warnings(s_.window.prompter);
    const auto askRetry = [&warnings] { return warnings.retry("Schedule", data::kDuplicateKey); };
    const int err = scheduler::AddQuickReminder(s_.window.db, task, askRetry);
    if (err != data::kOk) {
        warnings.addError("Schedule", err);
        line_->setFocus(Qt::OtherFocusReason);
        return;
    }
    added_ = task;
    // An open schedule list shares this connection, which tells it nothing by itself.
    NotifyScheduleBrowsers();
    QDialog::accept();
}

void QuickReminderWindow::done(int result)
{
    SaveWindowPosition(this, s_.window.positions, kPosition);
    QDialog::done(result);
}

}  // namespace hrln::ui
