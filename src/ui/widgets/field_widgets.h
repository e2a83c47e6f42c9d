#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <string_view>

namespace hrln::ui {

// A record's UTF-8 text for a widget.
inline QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// An entry for a text field of `width` characters.
inline QLineEdit* Entry(QWidget* parent, const QString& objectName, int width, const QString& tip = {})
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(width);
    edit->setToolTip(tip);
    return edit;
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
