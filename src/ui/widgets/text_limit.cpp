#include "ui/widgets/text_limit.h"

#include "pim/contacts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>

namespace hrln::ui {
namespace {

// How long a note stays when nothing else hides it.
constexpr int kNoteMilliseconds = 5000;

QString CleanOneLine(const QString& text)
{
    return QString::fromStdString(pim::OneLineText(text.toStdString()));
}

// Removes `excess` characters ending at `pos` (the end of what was just typed
// or pasted), then from the end if the start was reached first; `pos` follows.
void CutBefore(QString& text, int& pos, int excess)
{
    int from = pos;
    while (excess > 0 && from > 0) {
        --from;
        if (from > 0 && text.at(from).isLowSurrogate() && text.at(from - 1).isHighSurrogate())
            --from;
        --excess;
    }
    text.remove(from, pos - from);
    pos = from;
    int end = static_cast<int>(text.size());
    while (excess > 0 && end > 0) {
        --end;
        if (end > 0 && text.at(end).isLowSurrogate() && text.at(end - 1).isHighSurrogate())
            --end;
        --excess;
    }
    text.truncate(end);
    pos = std::min(pos, end);
}

// The text of the label that names `field`, without its mnemonic and colon.
QString LabelOf(const QWidget* field)
{
    const QWidget* window = field->window();
    const auto labels = window->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        const QWidget* buddy = label->buddy();
        // An editable combo box's entry is named by the box's label.
        if (buddy != nullptr && (buddy == field || buddy->isAncestorOf(field))) {
            QString name = label->text();
            name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
            while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' ')))
                name.chop(1);
            return name;
        }
    }
    return {};
}

void ShowNote(QWidget* field, const QString& text)
{
    QWidget* window = field->window();
    auto* note = window->findChild<QLabel*>(QStringLiteral("fieldNoteLabel"), Qt::FindDirectChildrenOnly);
    if (note == nullptr) {
        note = new QLabel(window);
        note->setObjectName(QStringLiteral("fieldNoteLabel"));
        note->setForegroundRole(QPalette::ToolTipText);
        note->setBackgroundRole(QPalette::ToolTipBase);
        note->setAutoFillBackground(true);
        note->setFrameShape(QFrame::Box);
        note->setMargin(2);
        auto* timer = new QTimer(note);
        timer->setObjectName(QStringLiteral("fieldNoteTimer"));
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, note, &QWidget::hide);
    }
    note->setText(text);
    note->adjustSize();
    // Under the field, inside the window.
    QPoint at = field->mapTo(window, QPoint(0, field->height()));
    at.setX(std::clamp(at.x(), 0, std::max(0, window->width() - note->width())));
    if (at.y() + note->height() > window->height())
        at.setY(std::max(0, field->mapTo(window, QPoint(0, 0)).y() - note->height()));
    note->move(at);
    note->raise();
    note->show();
    note->findChild<QTimer*>(QStringLiteral("fieldNoteTimer"))->start(kNoteMilliseconds);
}

}  // namespace

int CharacterCount(const QString& text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++n;
    }
    return n;
}

CharacterLimit::CharacterLimit(int width, bool oneLine, QObject* parent)
    : QValidator(parent), width_(width), oneLine_(oneLine)
{
}

QValidator::State CharacterLimit::validate(QString& input, int& pos) const
{
    if (oneLine_) {
        const QString before = CleanOneLine(input.left(pos));
        const QString after = CleanOneLine(input.mid(pos));
        if (before.size() + after.size() != input.size() || before + after != input) {
            input = before + after;
            pos = static_cast<int>(before.size());
        }
    }
    const int excess = CharacterCount(input) - width_;
    if (excess > 0) {
        CutBefore(input, pos, excess);
        Q_EMIT cut();
    }
    return Acceptable;
}

QString CutNoteText(const QWidget* field, const QString& fieldName, int width)
{
    const QString name = fieldName.isEmpty() ? LabelOf(field) : fieldName;
    return QCoreApplication::translate("hrln::ui::TextLimit", "%1: up to %2 characters.")
        .arg(name.isEmpty() ? QCoreApplication::translate("hrln::ui::TextLimit", "This field") : name)
        .arg(width);
}

void LimitCharacters(QLineEdit* edit, int width, const QString& fieldName, bool oneLine)
{
    auto* limit = new CharacterLimit(width, oneLine, edit);
    edit->setValidator(limit);
    QObject::connect(limit, &CharacterLimit::cut, edit,
                     [edit, width, fieldName] { ShowNote(edit, CutNoteText(edit, fieldName, width)); });
}

void LimitCharacters(QPlainTextEdit* memo, int width, const QString& fieldName)
{
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, width, fieldName] {
        QString text = memo->toPlainText();
        const int excess = CharacterCount(text) - width;
        if (excess <= 0)
            return;
        QTextCursor cursor = memo->textCursor();
        const int typedEnd = cursor.position();
        int pos = typedEnd;
        const QString whole = text;
        CutBefore(text, pos, excess);
        if (whole.left(pos) + whole.mid(typedEnd) == text) {
            // Only what was just typed or pasted goes: removed through the
            // cursor, so the memo keeps its scroll and its undo.
            cursor.setPosition(pos);
            cursor.setPosition(typedEnd, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        } else {
            memo->setPlainText(text);
            memo->moveCursor(QTextCursor::End);
        }
        ShowNote(memo, CutNoteText(memo, fieldName, width));
    });
}

}  // namespace hrln::ui
