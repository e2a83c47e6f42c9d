// The media module: sound files through Qt Multimedia, loaded by QtSound
// only when a file is first played.
#include "platform/qt/media_playback.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace hrln::platform::qt {
namespace {

// Without an audio device an effect may never report its end; an alarm is
// never this long.
constexpr int kLongestSoundMs = 5 * 60 * 1000;

// WAV files through sound effects, other files (OGG, FLAC, MP3) through a
// media player, each playing alongside the others and going away when it has
// finished or failed.
class QtMediaPlayback : public MediaPlayback {
public:
    void play(const QString& file) override
    {
        if (!file.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive)) {
            // Compressed files need a decoder, which a sound effect lacks.
            auto* player = new QMediaPlayer(&owner_);
            auto* output = new QAudioOutput(player);
            player->setAudioOutput(output);
            QObject::connect(player, &QMediaPlayer::errorOccurred, player, &QObject::deleteLater);
            QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player,
                             [player](QMediaPlayer::MediaStatus status) {
                                 if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
                                     player->deleteLater();
                             });
            QTimer::singleShot(kLongestSoundMs, player, &QObject::deleteLater);
            player->setSource(QUrl::fromLocalFile(file));
            player->play();
            return;
        }
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
        effect->setSource(QUrl::fromLocalFile(file));
        // Played as soon as it is loaded.
        effect->play();
    }

    int active() const override
    {
        return static_cast<int>(owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly).size() +
                                owner_.findChildren<QMediaPlayer*>(Qt::FindDirectChildrenOnly).size());
    }

    int loading() const override
    {
        int n = 0;
        for (const QSoundEffect* effect : owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly))
            n += effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null ? 1 : 0;
        return n;
    }

private:
    QObject owner_;  // parent of the effects and players, so they end with us
};

}  // namespace
}  // namespace hrln::platform::qt

extern "C" Q_DECL_EXPORT hrln::platform::qt::MediaPlayback* hrln_make_media_playback()
{
    // Qt's GStreamer backend crashes on a machine without GStreamer's base
    // plugins, and an alarm must not end the program; the FFmpeg backend
    // ships with Qt Multimedia itself. Chosen before the first sound, unless
    // the user chose otherwise.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    return new hrln::platform::qt::QtMediaPlayback;
}
