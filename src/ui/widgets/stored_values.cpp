#include "ui/widgets/stored_values.h"

#include <QCoreApplication>

namespace hrln::ui {

QString ShownValue(const std::string& stored)
{
    return ShownText("StoredValue", stored);
}

QString ShownText(const char* context, const std::string& english)
{
    return QCoreApplication::translate(context, english.c_str());
}

}  // namespace hrln::ui
