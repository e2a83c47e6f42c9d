#pragma once

#include <string>

namespace hrln::platform {

class Sound {
public:
    virtual ~Sound() = default;
    // The desktop's standard alert sound.
    virtual void beep() = 0;
    // Starts playing a sound file and returns at once; a file that cannot be
    // played is silently ignored.
    virtual void play(const std::string& file) = 0;
};

}  // namespace hrln::platform
