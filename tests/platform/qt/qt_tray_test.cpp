#include "platform/qt/qt_tray.h"
#include "platform/qt/tray_icons.h"
#include "e2e/qt_desktop.h"

#include <QCoreApplication>

namespace hrln::test {
namespace {

TEST(QtTrayTest, AddIsRefusedWithoutATrayHostAndWorksWithOne)
{
    HRLN_NEEDS_QT_DESKTOP();
    platform::qt::QtTray tray;
    EXPECT_FALSE(tray.add("tray_ico", "Double-click here to restore"));
    EXPECT_FALSE(tray.modify("trayb_ico", "x"));
    EXPECT_FALSE(tray.remove());

    ASSERT_EQ(QtTestDesktop()->startTrayHost(), "");
    // Qt learns of the new host through events.
    ASSERT_TRUE(WaitUntil([] {
        QCoreApplication::processEvents();
        return QSystemTrayIcon::isSystemTrayAvailable();
    }));
    ASSERT_TRUE(tray.add("tray_ico", "Double-click here to restore"));
    EXPECT_TRUE(tray.icon().isVisible());
    EXPECT_EQ(tray.icon().toolTip(), "Double-click here to restore");
    EXPECT_FALSE(tray.add("tray_ico", "twice"));  // already shown

    EXPECT_TRUE(tray.modify("traybr_ico", "\"Send Keys\" in progress"));
    EXPECT_EQ(tray.iconName(), "traybr_ico");
    EXPECT_EQ(tray.icon().toolTip(), "\"Send Keys\" in progress");

    EXPECT_TRUE(tray.remove());
    EXPECT_FALSE(tray.icon().isVisible());
    EXPECT_FALSE(tray.remove());
    QtTestDesktop()->stopTrayHost();
}

TEST(QtTrayTest, EveryIconNameDrawsItsOwnIcon)
{
    const char* names[] = {"tray_ico", "trayb_ico", "trayc_ico", "trayd_ico", "traybr_ico", "traydr_ico"};
    std::vector<QImage> images;
    for (const char* name : names) {
        const QImage image = platform::qt::TrayIconNamed(name).pixmap(32, 32).toImage();
        ASSERT_FALSE(image.isNull()) << name;
        for (const QImage& other : images)
            EXPECT_NE(image, other) << name;
        images.push_back(image);
    }
    EXPECT_EQ(platform::qt::TrayIconNamed("unknown").pixmap(32, 32).toImage(), images.front());
}

}  // namespace
}  // namespace hrln::test
