#include "platform/qt/qt_sound.h"

#include <QApplication>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#ifdef HRLN_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace hrln::platform::qt {

namespace {

// Without an audio device an effect may never report its end; an alarm is
// never this long.
constexpr int kLongestSoundMs = 5 * 60 * 1000;

}  // namespace

QtSound::QtSound()
{
    // Qt's GStreamer backend crashes on a machine without GStreamer's base
    // plugins, and an alarm must not end the program; the FFmpeg backend
    // ships with Qt Multimedia itself. Chosen before the first sound, unless
    // the user chose otherwise.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
#ifdef HRLN_HAVE_CANBERRA
    ca_context* context = nullptr;
    if (ca_context_create(&context) == CA_SUCCESS)
        theme_ = context;
#endif
}

QtSound::~QtSound()
{
#ifdef HRLN_HAVE_CANBERRA
    if (theme_ != nullptr)
        ca_context_destroy(static_cast<ca_context*>(theme_));
#endif
}

void QtSound::beep()
{
    QApplication::beep();
}

void QtSound::playEvent(const std::string& eventId)
{
#ifdef HRLN_HAVE_CANBERRA
    // Played without waiting; no sound server or no such sound in the theme
    // is an error at once, and the beep stands in.
    if (theme_ != nullptr &&
        ca_context_play(static_cast<ca_context*>(theme_), 0, CA_PROP_EVENT_ID, eventId.c_str(),
                        CA_PROP_EVENT_DESCRIPTION, "Alarm", nullptr) == CA_SUCCESS)
        return;
#else
    (void)eventId;
#endif
    beep();
}

void QtSound::play(const std::string& file)
{
    const QFileInfo info(QString::fromStdString(file));
    if (!info.isFile() || !info.isReadable())
        return;
    if (info.suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) != 0) {
        // Compressed files need a decoder, which a sound effect lacks.
        auto* player = new QMediaPlayer(&owner_);
        auto* output = new QAudioOutput(player);
        player->setAudioOutput(output);
        QObject::connect(player, &QMediaPlayer::errorOccurred, player, &QObject::deleteLater);
        QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player, [player](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
                player->deleteLater();
        });
        QTimer::singleShot(kLongestSoundMs, player, &QObject::deleteLater);
        player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
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
    effect->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    // Played as soon as it is loaded.
    effect->play();
}

int QtSound::activeSounds() const
{
    return static_cast<int>(owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly).size() +
                            owner_.findChildren<QMediaPlayer*>(Qt::FindDirectChildrenOnly).size());
}

int QtSound::loadingSounds() const
{
    int loading = 0;
    for (const QSoundEffect* effect : owner_.findChildren<QSoundEffect*>(Qt::FindDirectChildrenOnly))
        loading += effect->status() == QSoundEffect::Loading || effect->status() == QSoundEffect::Null ? 1 : 0;
    return loading;
}

}  // namespace hrln::platform::qt
