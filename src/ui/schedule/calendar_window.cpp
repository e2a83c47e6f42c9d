#include "ui/schedule/calendar_window.h"

#include "common/translate.h"
#include "platform/clock.h"
#include "ui/widgets/nested_windows.h"
#include "ui/widgets/window_placement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hrln::ui {
namespace {

const QString kPosition = QStringLiteral("Calendar");

QPushButton* SmallButton(const QString& text, const QString& name, const QString& tip, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    b->setFixedWidth(32);
    return b;
}

}  // namespace

CalendarWindow::CalendarWindow(const WindowServices& services, const platform::Clock& clock, const QString& title,
                               Date start, const QString& mode, const data::ScheduleRecord& task, QWidget* parent)
    : QDialog(parent), s_(services), grid_(start, clock.today(), mode.toStdString(), task)
{
    setObjectName(QStringLiteral("CALENDAR$WINDOW"));
    setWindowTitle(QString::fromStdString(scheduler::CalendarCaption(title.toStdString())));
    auto* layout = new QVBoxLayout(this);

    auto* grid = new QGridLayout;
    for (int c = 0; c < 7; ++c) {
        auto* heading = new QLabel(QString::fromStdString(CurrentDateNames().shortWeekdays[c]), this);
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, c);
    }
    for (int i = 0; i < scheduler::kCalendarCells; ++i) {
        auto* day = new QPushButton(this);
        day->setObjectName(QStringLiteral("dayButton%1").arg(i));
        day->setAutoDefault(false);
        day->setFixedSize(36, 28);
        day->installEventFilter(this);
        connect(day, &QPushButton::clicked, this, [this, i] { pick(i); });
        days_[static_cast<std::size_t>(i)] = day;
        grid->addWidget(day, 1 + i / 7, i % 7);
    }
    layout->addLayout(grid);

    auto* navigation = new QHBoxLayout;
    auto* monthLabel = new QLabel(tr("&Month:"), this);
    month_ = new QLineEdit(this);
    month_->setObjectName(QStringLiteral("monthEdit"));
    month_->setMaxLength(2);
    month_->setValidator(new QIntValidator(0, 99, month_));
    month_->setFixedWidth(36);
    monthLabel->setBuddy(month_);
    QPushButton* previousMonth = SmallButton(QStringLiteral("<"), QStringLiteral("previousMonthButton"),
                                             tr("Previous month"), this);
    QPushButton* nextMonth =
        SmallButton(QStringLiteral(">"), QStringLiteral("nextMonthButton"), tr("Next month"), this);
    auto* yearLabel = new QLabel(tr("&Year:"), this);
    year_ = new QLineEdit(this);
    year_->setObjectName(QStringLiteral("yearEdit"));
    year_->setMaxLength(4);
    year_->setValidator(new QIntValidator(0, 9999, year_));
    year_->setFixedWidth(52);
    yearLabel->setBuddy(year_);
    QPushButton* previousYear = SmallButton(QStringLiteral("<<"), QStringLiteral("previousYearButton"),
                                            tr("Previous year"), this);
    QPushButton* nextYear =
        SmallButton(QStringLiteral(">>"), QStringLiteral("nextYearButton"), tr("Next year"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{monthLabel, previousMonth, month_, nextMonth, yearLabel,
                                                      previousYear, year_, nextYear})
        navigation->addWidget(w);
    layout->addLayout(navigation);

    auto* close = new QPushButton(tr("Cl&ose"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close, 0, Qt::AlignRight);

    connect(previousMonth, &QPushButton::clicked, this, [this] { grid_.previousMonth(); refill(); });
    connect(nextMonth, &QPushButton::clicked, this, [this] { grid_.nextMonth(); refill(); });
    connect(previousYear, &QPushButton::clicked, this, [this] { grid_.previousYear(); refill(); });
    connect(nextYear, &QPushButton::clicked, this, [this] { grid_.nextYear(); refill(); });
    connect(month_, &QLineEdit::editingFinished, this, &CalendarWindow::acceptMonth);
    connect(year_, &QLineEdit::editingFinished, this, &CalendarWindow::acceptYear);

    refill();
    RestoreWindowPosition(this, s_.positions, kPosition);
}

CalendarWindow::~CalendarWindow()
{
    DetachChildren(this);
}

Date CalendarWindow::PickDate(QWidget* parent, const WindowServices& services, const platform::Clock& clock,
                              const QString& title, Date start, const QString& mode, const data::ScheduleRecord& task)
{
    CalendarWindow window(services, clock, title, start, mode, task, parent);
    window.exec();
    return window.result();
}

void CalendarWindow::refill()
{
    const auto& cells = grid_.cells();
    for (int i = 0; i < scheduler::kCalendarCells; ++i) {
        const scheduler::CalendarCell& cell = cells[static_cast<std::size_t>(i)];
        QPushButton* day = days_[static_cast<std::size_t>(i)];
        day->setText(cell.day != 0 ? QString::number(cell.day) : QString());
        day->setEnabled(cell.enabled);
        // A blank cell only keeps the weeks in their columns: nothing to reach or name.
        day->setFocusPolicy(cell.day != 0 ? Qt::StrongFocus : Qt::NoFocus);
        // A hidden day keeps its place in the grid, so the weeks stay in their columns.
        QSizePolicy policy = day->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        day->setSizePolicy(policy);
        day->setVisible(cell.visible);
    }
    // The start day stands out in bold wherever the focus is.
    const int start = grid_.startCell();
    for (int i = 0; i < scheduler::kCalendarCells; ++i) {
        QPushButton* day = days_[static_cast<std::size_t>(i)];
        QFont font = day->font();
        font.setBold(i == start);
        day->setFont(font);
    }
    month_->setText(QString::number(grid_.month()));
    year_->setText(QString::number(grid_.year()));
}

void CalendarWindow::focusDay(int cell)
{
    // The calendar is worked by keyboard: its focus frame shows from the
    // start, not only after a first Tab.
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (cell >= 0)
        days_[static_cast<std::size_t>(cell)]->setFocus(Qt::TabFocusReason);
    else
        month_->setFocus(Qt::TabFocusReason);  // a month without a usable day
}

void CalendarWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const int cell = grid_.focusCell(); cell >= 0)
        focusDay(cell);
}

void CalendarWindow::pick(int cell)
{
    if (grid_.pick(cell, s_.prompter))
        accept();
}

void CalendarWindow::acceptMonth()
{
    if (asking_ || month_->text() == QString::number(grid_.month()))
        return;
    asking_ = true;
    const bool taken = grid_.setMonth(month_->text().toLongLong(), s_.prompter);
    asking_ = false;
    if (taken) {
        refill();
        return;
    }
    month_->setFocus(Qt::OtherFocusReason);
    month_->selectAll();
}

void CalendarWindow::acceptYear()
{
    if (asking_ || year_->text() == QString::number(grid_.year()))
        return;
    asking_ = true;
    const bool taken = grid_.setYear(year_->text().toLongLong(), s_.prompter);
    asking_ = false;
    if (taken) {
        refill();
        return;
    }
    year_->setFocus(Qt::OtherFocusReason);
    year_->selectAll();
}

bool CalendarWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto found = std::find(days_.begin(), days_.end(), watched);
    if (found == days_.end())
        return QDialog::eventFilter(watched, event);
    const int cell = static_cast<int>(found - days_.begin());
    const int month = grid_.month();
    const int year = grid_.year();
    int next = cell;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Left: next = grid_.step(cell, -1); break;
    case Qt::Key_Right: next = grid_.step(cell, 1); break;
    case Qt::Key_Up: next = grid_.step(cell, -7); break;
    case Qt::Key_Down: next = grid_.step(cell, 7); break;
    case Qt::Key_PageUp: next = grid_.turnMonth(cell, -1); break;
    case Qt::Key_PageDown: next = grid_.turnMonth(cell, 1); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pick(cell);
        return true;
    default: return QDialog::eventFilter(watched, event);
    }
    if (grid_.month() != month || grid_.year() != year)
        refill();
    focusDay(next);
    return true;
}

void CalendarWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, kPosition);
    QDialog::done(result);
}

}  // namespace hrln::ui
