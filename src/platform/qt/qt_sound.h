#pragma once

#include "platform/sound.h"

#include <QObject>

namespace hrln::platform::qt {

// WAV files through QtMultimedia, each in a sound effect of its own that
// plays alongside the others and goes away when it has finished or failed;
// the beep through the display. Needs a QApplication.
class QtSound : public Sound {
public:
    void beep() override;
    void play(const std::string& file) override;

    // Sounds loading or playing now.
    int activeSounds() const;
    // Sounds whose file is still being read.
    int loadingSounds() const;

private:
    QObject owner_;  // parent of the effects, so they end with us
};

}  // namespace hrln::platform::qt
