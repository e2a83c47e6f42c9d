#include "platform/qt/qt_sound.h"

#include "platform/qt/media_playback.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibrary>

#ifdef HRLN_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace hrln::platform::qt {

QtSound::QtSound(std::string mediaModule) : mediaModule_(std::move(mediaModule))
{
#ifdef HRLN_HAVE_CANBERRA
    ca_context* context = nullptr;
    if (ca_context_create(&context) == CA_SUCCESS)
        theme_ = context;
#endif
}

QtSound::~QtSound()
{
    media_.reset();
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

MediaPlayback* QtSound::media()
{
    if (mediaTried_)
        return media_.get();
    mediaTried_ = true;
    library_ = std::make_unique<QLibrary>(QString::fromStdString(mediaModule_));
    const auto make = reinterpret_cast<MakeMediaPlaybackFn>(library_->resolve(kMakeMediaPlayback));
    if (make == nullptr) {
        qWarning("sound files cannot be played: %s", qUtf8Printable(library_->errorString()));
        return nullptr;
    }
    media_.reset(make());
    return media_.get();
}

void QtSound::play(const std::string& file)
{
    const QFileInfo info(QString::fromStdString(file));
    if (!info.isFile() || !info.isReadable())
        return;
    if (MediaPlayback* playback = media())
        playback->play(info.absoluteFilePath());
    else
        beep();  // the alarm is heard all the same
}

int QtSound::activeSounds() const
{
    return media_ ? media_->active() : 0;
}

int QtSound::loadingSounds() const
{
    return media_ ? media_->loading() : 0;
}

}  // namespace hrln::platform::qt
