#include "ui/frame/icons.h"

#include "platform/qt/tray_icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace hrln::ui {
namespace {

const QColor kFace(0xF7, 0xF4, 0xEA);
const QColor kRim(0x2E, 0x5E, 0x8C);
const QColor kHand(0x1F, 0x2A, 0x36);
const QColor kAccent(0xD9, 0x4F, 0x30);

// The program's clock face, its minute hand at ten past.
void DrawClock(QPainter& p, double size)
{
    const double angle = 60;
    const double r = size * 0.44;
    const QPointF c(size / 2, size / 2);
    p.setPen(QPen(kRim, size * 0.08));
    p.setBrush(kFace);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kHand, size * 0.07, Qt::SolidLine, Qt::RoundCap));
    const double rad = angle * M_PI / 180.0;
    p.drawLine(c, c + QPointF(std::sin(rad) * r * 0.75, -std::cos(rad) * r * 0.75));
    p.drawLine(c, c + QPointF(r * 0.45 * std::sin(rad + 2.1), -r * 0.45 * std::cos(rad + 2.1)));
}

void DrawGlyph(QPainter& p, double s, const QString& name)
{
    p.setPen(QPen(kRim, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kFace);
    if (name == QLatin1String("snooze")) {
        QFont f = p.font();
        f.setPixelSize(static_cast<int>(s * 0.5));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("Zz"));
    } else if (name == QLatin1String("exit")) {
        p.drawRect(QRectF(s * 0.15, s * 0.15, s * 0.5, s * 0.7));
        p.drawLine(QPointF(s * 0.45, s * 0.5), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.75, s * 0.35), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.75, s * 0.65), QPointF(s * 0.9, s * 0.5));
    } else if (name == QLatin1String("nextpage") || name == QLatin1String("todo")) {
        p.drawRect(QRectF(s * 0.2, s * 0.12, s * 0.6, s * 0.76));
        for (int i = 0; i < 3; ++i) {
            const double y = s * (0.32 + 0.2 * i);
            p.drawLine(QPointF(s * 0.32, y), QPointF(s * 0.68, y));
        }
    } else if (name == QLatin1String("message")) {
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(s * 0.1, s * 0.15, s * 0.8, s * 0.55), s * 0.12, s * 0.12);
        bubble.moveTo(s * 0.3, s * 0.7);
        bubble.lineTo(s * 0.25, s * 0.9);
        bubble.lineTo(s * 0.5, s * 0.7);
        p.drawPath(bubble.simplified());
    } else if (name == QLatin1String("reminder")) {
        // A bell: the reminder that comes up by itself.
        QPainterPath bell;
        bell.moveTo(s * 0.2, s * 0.72);
        bell.cubicTo(s * 0.3, s * 0.6, s * 0.25, s * 0.18, s * 0.5, s * 0.18);
        bell.cubicTo(s * 0.75, s * 0.18, s * 0.7, s * 0.6, s * 0.8, s * 0.72);
        bell.closeSubpath();
        p.drawPath(bell);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(s * 0.5, s * 0.8), s * 0.08, s * 0.08);
    } else if (name == QLatin1String("program")) {
        p.drawRect(QRectF(s * 0.1, s * 0.2, s * 0.8, s * 0.6));
        p.setBrush(kAccent);
        QPolygonF play;
        play << QPointF(s * 0.42, s * 0.35) << QPointF(s * 0.65, s * 0.5) << QPointF(s * 0.42, s * 0.65);
        p.drawPolygon(play);
    } else if (name == QLatin1String("schedule")) {
        p.drawRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.7));
        p.drawLine(QPointF(s * 0.12, s * 0.36), QPointF(s * 0.88, s * 0.36));
        for (int i = 1; i < 3; ++i)
            p.drawLine(QPointF(s * (0.12 + 0.253 * i), s * 0.36), QPointF(s * (0.12 + 0.253 * i), s * 0.88));
    } else if (name == QLatin1String("done")) {
        p.setPen(QPen(QColor(0x2E, 0x8B, 0x3A), s * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPolygonF tick;
        tick << QPointF(s * 0.2, s * 0.52) << QPointF(s * 0.42, s * 0.74) << QPointF(s * 0.82, s * 0.28);
        p.drawPolyline(tick);
    } else if (name == QLatin1String("notdone")) {
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6), s * 0.1, s * 0.1);
    } else if (name == QLatin1String("skip")) {
        p.setPen(QPen(QColor(0, 0, 255), s * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (const double x : {0.18, 0.48}) {
            QPolygonF chevron;
            chevron << QPointF(s * x, s * 0.25) << QPointF(s * (x + 0.25), s * 0.5) << QPointF(s * x, s * 0.75);
            p.drawPolyline(chevron);
        }
    } else if (name == QLatin1String("disabled")) {
        p.setPen(QPen(QColor(128, 128, 128), s * 0.1, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(s / 2, s / 2), s * 0.32, s * 0.32);
        p.drawLine(QPointF(s * 0.28, s * 0.72), QPointF(s * 0.72, s * 0.28));
    } else if (name == QLatin1String("stop")) {
        p.setBrush(kAccent);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6), s * 0.08, s * 0.08);
    }
}

// The glyph with a thin light rim around its strokes, so that its dark lines
// and marks stay visible on a dark palette as on a light one.
QPixmap WithHalo(const QPixmap& glyph)
{
    QPixmap rim(glyph.size());
    rim.fill(Qt::transparent);
    {
        QPainter p(&rim);
        p.drawPixmap(0, 0, glyph);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(rim.rect(), kFace);
    }
    QPixmap out(glyph.size());
    out.fill(Qt::transparent);
    QPainter p(&out);
    const int r = std::max(1, glyph.width() / 16);
    for (int dx = -r; dx <= r; ++dx)
        for (int dy = -r; dy <= r; ++dy)
            if (dx != 0 || dy != 0)
                p.drawPixmap(dx, dy, rim);
    p.drawPixmap(0, 0, glyph);
    return out;
}

QPixmap Draw(const QString& name, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (name == QLatin1String("clock"))
            DrawClock(p, size);
        else
            DrawGlyph(p, size, name);
    }
    return name == QLatin1String("clock") ? pixmap : WithHalo(pixmap);
}

QString ThemeName(const QString& name)
{
    // The clock is the program's own icon: the one installed in the icon theme
    // when there is one, so that the windows match the menus and the tray.
    static const QHash<QString, QString> kTheme = {{QStringLiteral("clock"), QStringLiteral("horalyn")},
                                                   {QStringLiteral("exit"), QStringLiteral("application-exit")},
                                                   {QStringLiteral("stop"), QStringLiteral("process-stop")},
                                                   {QStringLiteral("nextpage"), QStringLiteral("go-next")}};
    return kTheme.value(name);
}

}  // namespace

QIcon ProgramIcon(const QString& name)
{
    if (name.startsWith(QLatin1String("tray")))
        return platform::qt::TrayIconNamed(name.toStdString());
    static QHash<QString, QIcon> cache;
    const auto found = cache.find(name);
    if (found != cache.end())
        return *found;
    QIcon drawn;
    for (int size : {16, 22, 32, 48, 64})
        drawn.addPixmap(Draw(name, size));
    const QString theme = ThemeName(name);
    const QIcon icon = theme.isEmpty() ? drawn : QIcon::fromTheme(theme, drawn);
    cache.insert(name, icon);
    return icon;
}

}  // namespace hrln::ui
