#include "platform/qt/tray_icons.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace hrln::platform::qt {

namespace {

constexpr int kSize = 32;

struct IconLook {
    const char* name;
    int handQuarter;  // where the hand points: 0 up, 1 right, 2 down, 3 left
    QColor face;
};

const IconLook kLooks[] = {
    {"tray_ico", 0, QColor(0x2e, 0x6d, 0xb4)},   {"trayb_ico", 1, QColor(0x2e, 0x6d, 0xb4)},
    {"trayc_ico", 2, QColor(0x2e, 0x6d, 0xb4)},  {"trayd_ico", 3, QColor(0x2e, 0x6d, 0xb4)},
    {"traybr_ico", 1, QColor(0xc0, 0x39, 0x2b)}, {"traydr_ico", 3, QColor(0xc0, 0x39, 0x2b)},
};

QIcon Draw(const IconLook& look)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(look.face);
    p.drawEllipse(2, 2, kSize - 4, kSize - 4);
    const double angle = look.handQuarter * std::numbers::pi / 2;
    const QPointF centre(kSize / 2.0, kSize / 2.0);
    const double length = kSize / 2.0 - 7;
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(length * std::sin(angle), -length * std::cos(angle)));
    return QIcon(pixmap);
}

}  // namespace

QIcon TrayIconNamed(const std::string& name)
{
    // At rest the tray shows the program's icon from the icon theme when it
    // has one; the frames of the animation are always drawn.
    for (const IconLook& look : kLooks)
        if (name == look.name)
            return &look == &kLooks[0] ? QIcon::fromTheme(QStringLiteral("horalyn"), Draw(look)) : Draw(look);
    return QIcon::fromTheme(QStringLiteral("horalyn"), Draw(kLooks[0]));
}

}  // namespace hrln::platform::qt
