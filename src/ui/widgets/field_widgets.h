#pragma once

#include "ui/widgets/text_limit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QTextCursor>

#include <string_view>

namespace hrln::ui {

// A record's UTF-8 text for a widget.
inline QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// An entry for a text field of `width` characters, counted as the record
// counts them; a cut is noted at the field.
inline QLineEdit* Entry(QWidget* parent, const QString& objectName, int width, const QString& tip = {})
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    LimitCharacters(edit, width);
    edit->setToolTip(tip);
    return edit;
}

// A memo for a text field of `width` characters: what is typed or pasted
// beyond them is cut at once, where the user sees it and with a note naming
// `fieldName`, not later on saving. The field's name is the memo's name for
// assistive technology too, as a memo often stands without a label.
inline QPlainTextEdit* MemoEdit(QWidget* parent, const QString& objectName, int width, const QString& tip = {},
                                const QString& fieldName = {})
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setToolTip(tip);
    memo->setAccessibleName(fieldName);
    memo->setTabChangesFocus(true);
    LimitCharacters(memo, width, fieldName);
    return memo;
}

// Shows the page or tab that holds `field`, then gives it the focus: a field
// refused on a page not shown would otherwise take the focus unseen.
inline void RevealAndFocus(QWidget* field)
{
    for (QWidget* w = field; w != nullptr && w->parentWidget() != nullptr; w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (stack == nullptr || stack->indexOf(w) < 0)
            continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()); tabs != nullptr && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
    field->setFocus(Qt::OtherFocusReason);
}

// A box for a flag.
inline QCheckBox* Check(QWidget* parent, const QString& text, const QString& objectName, const QString& tip = {})
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(objectName);
    box->setToolTip(tip);
    return box;
}

// The texts of a list of choices, in their order.
template <class List>
QStringList Names(const List& values)
{
    QStringList out;
    for (const char* v : values)
        out << QString::fromLatin1(v);
    return out;
}

}  // namespace hrln::ui
