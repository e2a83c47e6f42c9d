#pragma once

#include <string>

namespace hrln::platform {

class Sound {
public:
    virtual ~Sound() = default;
    // The desktop's standard alert sound.
    virtual void beep() = 0;
    // Starts playing a sound file (WAV, OGG, FLAC, MP3) and returns at once;
    // a file that cannot be played is silently ignored.
    virtual void play(const std::string& file) = 0;
    // Plays the desktop sound theme's sound for `eventId` ("alarm-clock-elapsed");
    // where the desktop has none, the standard alert sound.
    virtual void playEvent(const std::string& eventId) = 0;
};

}  // namespace hrln::platform
