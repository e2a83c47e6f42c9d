// Widget tests run without a display, in folders of their own.
#include "support/offscreen_home.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    hrln::test::UseOffscreenHome(home);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
