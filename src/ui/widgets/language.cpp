#include "ui/widgets/language.h"

#include "common/translate.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace hrln::ui {
namespace {

std::unique_ptr<QTranslator>& Ours()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& Qts()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::string CoreLookup(const char* context, const char* english)
{
    return QCoreApplication::translate(context, english).toStdString();
}

}  // namespace

bool InstallLanguage(const QLocale& locale, const QString& folder)
{
    RemoveLanguage();
    auto ours = std::make_unique<QTranslator>();
    if (!ours->load(locale, QStringLiteral("horalyn"), QStringLiteral("_"), folder))
        return false;
    QCoreApplication::installTranslator(ours.get());
    Ours() = std::move(ours);
    // Qt's buttons and standard dialogs only follow where ours does, so that a
    // window never mixes two languages.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        Qts() = std::move(qt);
    }
    SetTextLookup(&CoreLookup);
    UseDateNamesOf(locale.name().toStdString());
    return true;
}

void RemoveLanguage()
{
    for (auto* t : {&Ours(), &Qts()}) {
        if (*t) {
            QCoreApplication::removeTranslator(t->get());
            t->reset();
        }
    }
    SetTextLookup(nullptr);
    UseEnglishDateNames();
}

}  // namespace hrln::ui
