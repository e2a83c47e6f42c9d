// Widget tests run without a display, in folders of their own.
#include "support/offscreen_home.h"
#include "ui/widgets/language.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    hrln::test::UseOffscreenHome(home);
    QApplication app(argc, argv);
    // The whole run in the user's language, as the program starts, when asked
    // for: the tests read English unless a variant sets this.
    if (std::getenv("HRLN_TEST_IN_SYSTEM_LANGUAGE") != nullptr &&
        !hrln::ui::InstallLanguage(QLocale::system(), QStringLiteral(HRLN_TRANSLATIONS_DIR))) {
        std::fprintf(stderr, "no catalogue for %s\n", qPrintable(QLocale::system().name()));
        return 1;
    }
    return RUN_ALL_TESTS();
}
