#include "ui/frame/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace hrln::ui {

QString AutostartPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/horalyn.desktop");
}

bool AutostartEnabled()
{
    return QFileInfo::exists(AutostartPath());
}

bool SetAutostart(bool enabled, const QString& program)
{
    const QString path = AutostartPath();
    if (!enabled)
        return !QFileInfo::exists(path) || QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Exec takes the path quoted, as desktop entries require for paths with blanks.
    QString exec = program;
    exec.replace(QStringLiteral("\\"), QStringLiteral("\\\\")).replace(QStringLiteral("\""), QStringLiteral("\\\""));
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Horalyn\n"
                                         "Comment=Task scheduler and automation\nExec=\"%1\" %2\nIcon=horalyn\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(exec, QString::fromLatin1(kAutostartOption));
    return file.write(entry.toUtf8()) == entry.toUtf8().size();
}

}  // namespace hrln::ui
