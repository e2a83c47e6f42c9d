#pragma once

// The small makers of the task fields' widgets that the schedule windows share.
#include <QCheckBox>
#include <QLineEdit>
#include <QString>
#include <QStringList>

#include <string_view>

namespace hrln::ui::fields {

inline QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

template <class List>
QStringList Names(const List& values)
{
    QStringList out;
    for (const char* v : values)
        out << QString::fromLatin1(v);
    return out;
}

inline QLineEdit* Entry(QWidget* parent, const QString& objectName, int width, const QString& tip = {})
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(width);
    edit->setToolTip(tip);
    return edit;
}

inline QCheckBox* Check(QWidget* parent, const QString& text, const QString& objectName, const QString& tip = {})
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(objectName);
    box->setToolTip(tip);
    return box;
}

}  // namespace hrln::ui::fields
