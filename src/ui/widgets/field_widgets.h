#pragma once

#include <QLineEdit>
#include <QString>

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

}  // namespace hrln::ui
