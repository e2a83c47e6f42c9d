#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace hrln::test {

// Points Qt's runtime and configuration folders into `home`, a folder of the
// test's own, so that no test reads or writes the user's and Qt stays quiet.
inline void UseOffscreenHome(const QTemporaryDir& home)
{
    // A run may give the offscreen screen options of its own (its size).
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", (home.path() + QStringLiteral("/runtime")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
}

}  // namespace hrln::test
