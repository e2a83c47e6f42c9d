#include "qt_desktop.h"

#include <QApplication>

#include <memory>

namespace hrln::test {

namespace {
std::unique_ptr<DesktopSession> g_desktop;
}

DesktopSession* QtTestDesktop()
{
    return g_desktop.get();
}

}  // namespace hrln::test

// Starts the display before the application, unless the tests are only being
// listed; without Xvfb every test skips itself.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests) && hrln::test::DesktopSession::XvfbInstalled()) {
        hrln::test::g_desktop = std::make_unique<hrln::test::DesktopSession>();
        const std::string error = hrln::test::g_desktop->startDisplay();
        if (!error.empty()) {
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
    hrln::test::g_desktop.reset();
    return result;
}
