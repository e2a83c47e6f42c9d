#include "platform/qt/qt_sound.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace hrln::platform::qt {

namespace {

// Without an audio device an effect may never report its end; an alarm is
// never this long.
constexpr int kLongestSoundMs = 5 * 60 * 1000;

}  // namespace

void QtSound::beep()
{
    QApplication::beep();
}

void QtSound::play(const std::string& file)
{
    const QFileInfo info(QString::fromStdString(file));
    if (!info.isFile() || !info.isReadable())
        return;
    auto* effect = new QSoundEffect(&owner_);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    QTimer::singleShot(kLongestSoundMs, effect, &QObject::deleteLater);
    effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    // Played as soon as it is loaded.
    effect->play();
}

int QtSound::activeSounds() const
{
    return static_cast<int>(owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly).size());
}

int QtSound::loadingSounds() const
{
    int loading = 0;
    for (const QSoundEffect* effect : owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly))
        loading += effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null ? 1 : 0;
    return loading;
}

}  // namespace hrln::platform::qt
