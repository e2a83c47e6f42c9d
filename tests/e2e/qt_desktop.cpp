#include "e2e/qt_desktop.h"

#include <QApplication>

#include <cstdio>
#include <memory>

namespace hrln::test {
namespace {

std::unique_ptr<DesktopSession> g_desktop;

}  // namespace

DesktopSession* QtTestDesktop()
{
    return g_desktop.get();
}

int RunQtDesktopTests(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests) && DesktopSession::XvfbInstalled()) {
        g_desktop = std::make_unique<DesktopSession>();
        if (const std::string error = g_desktop->startDisplay(); !error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int result = 0;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    g_desktop.reset();
    return result;
}

}  // namespace hrln::test
