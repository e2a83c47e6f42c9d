#pragma once

#include "platform/sound.h"

#include <QObject>

namespace hrln::platform::qt {

// WAV files through QtMultimedia sound effects, other files (OGG, FLAC, MP3)
// through a media player, each playing alongside the others and going away
// when it has finished or failed; the desktop's theme sounds through
// libcanberra where the program was built with it; the beep through the
// display. Needs a QApplication.
class QtSound : public Sound {
public:
    QtSound();
    ~QtSound() override;
    QtSound(const QtSound&) = delete;
    QtSound& operator=(const QtSound&) = delete;

    void beep() override;
    void play(const std::string& file) override;
    void playEvent(const std::string& eventId) override;

    // Sounds loading or playing now.
    int activeSounds() const;
    // Sounds whose file is still being read.
    int loadingSounds() const;
    // Theme sounds can be played here (built with libcanberra and a context made).
    bool themeSounds() const { return theme_ != nullptr; }

private:
    QObject owner_;  // parent of the effects and players, so they end with us
    void* theme_ = nullptr;  // the libcanberra context, when there is one
};

}  // namespace hrln::platform::qt
