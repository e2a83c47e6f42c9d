#pragma once

#include <QLocale>
#include <QString>

namespace hrln::ui {

// Shows the program in the language of `locale`: our catalogue from
// `folder`, Qt's own for the standard dialogs and buttons, the core's texts
// through the same catalogue, and the date pictures' names in that language.
// English and the C locale have no catalogue, and nothing changes. Returns
// whether our catalogue was found. A later call replaces the earlier one.
bool InstallLanguage(const QLocale& locale, const QString& folder);
// Back to the English the sources are written in.
void RemoveLanguage();

}  // namespace hrln::ui
