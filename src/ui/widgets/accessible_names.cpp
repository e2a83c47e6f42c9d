#include "ui/widgets/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace hrln::ui {

namespace {

QString LabelText(const QLabel* label)
{
    const QString text = label->text();
    if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text)))
        return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
    return SpokenText(text).trimmed();
}

// Whether `layout` holds `w`, directly or in a layout within it.
bool Holds(QLayout* layout, const QWidget* w)
{
    if (layout == nullptr)
        return false;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w || Holds(item->layout(), w))
            return true;
    }
    return false;
}

QString BuddyText(const QWidget* window, const QWidget* w)
{
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == w)
            return LabelText(label);
    return {};
}

// The label of the form row `w` stands in, alone or with others.
QString FormRowText(const QWidget* window, const QWidget* w)
{
    for (QFormLayout* form : window->findChildren<QFormLayout*>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
            if (field == nullptr || label == nullptr || qobject_cast<QLabel*>(label->widget()) == nullptr)
                continue;
            if (field->widget() == w || Holds(field->layout(), w))
                return LabelText(static_cast<QLabel*>(label->widget()));
        }
    }
    return {};
}

// A label without a buddy right before `w` in the row that holds them both ("Time:").
QString LeadingLabelText(const QWidget* window, const QWidget* w)
{
    for (QBoxLayout* box : window->findChildren<QBoxLayout*>()) {
        for (int i = 1; i < box->count(); ++i) {
            if (box->itemAt(i)->widget() != w)
                continue;
            auto* label = qobject_cast<QLabel*>(box->itemAt(i - 1)->widget());
            return label != nullptr && label->buddy() == nullptr ? LabelText(label) : QString();
        }
    }
    return {};
}

// The title of the tab `w` fills.
QString TabText(const QWidget* w)
{
    auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
    auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    const int at = tabs != nullptr ? tabs->indexOf(const_cast<QWidget*>(w)) : -1;
    return at >= 0 ? SpokenText(tabs->tabText(at)) : QString();
}

bool IsControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) != nullptr || qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr || qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(w) != nullptr || qobject_cast<const QTextEdit*>(w) != nullptr ||
           qobject_cast<const QAbstractItemView*>(w) != nullptr;
}

// The name Qt gives `w` by itself: its text, a sibling buddy, a group's title.
QString OwnName(QWidget* w)
{
    QAccessibleInterface* at = QAccessible::queryAccessibleInterface(w);
    return at != nullptr ? at->text(QAccessible::Name) : QString();
}

QString FoundName(QWidget* window, QWidget* w)
{
    // An editable list's entry is the list to its user.
    if (auto* choice = qobject_cast<QComboBox*>(w->parentWidget()); choice != nullptr && choice->lineEdit() == w) {
        if (!choice->accessibleName().isEmpty())
            return choice->accessibleName();
        return FoundName(window, choice);
    }
    // The nearest text first: a label of its own, then one just before it in
    // its row, before the label of a whole row it shares with other fields.
    for (const QString& text : {BuddyText(window, w), LeadingLabelText(window, w), TabText(w), FormRowText(window, w)})
        if (!text.isEmpty())
            return text;
    return {};
}

}  // namespace

QString SpokenText(const QString& shown)
{
    QString out;
    out.reserve(shown.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] == QLatin1Char('&')) {
            if (i + 1 < shown.size() && shown[i + 1] == QLatin1Char('&'))
                out += shown[++i];
            continue;
        }
        out += shown[i];
    }
    return out;
}

void NameControls(QWidget* window)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!IsControl(w) || !w->accessibleName().isEmpty())
            continue;
        // A list says what it holds now, so its label is its name only while
        // it shows nothing; an editable one names its entry.
        const bool choice = qobject_cast<QComboBox*>(w) != nullptr;
        const bool entryOfChoice = qobject_cast<QComboBox*>(w->parentWidget()) != nullptr;
        if (!choice && !entryOfChoice && !OwnName(w).isEmpty())
            continue;
        if (const QString name = FoundName(window, w); !name.isEmpty())
            w->setAccessibleName(name);
    }
}

}  // namespace hrln::ui
