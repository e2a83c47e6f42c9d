// Report pages are drawn without a display, as the program's command line does.
#include "support/offscreen_home.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    hrln::test::UseOffscreenHome(home);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
