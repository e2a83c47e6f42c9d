#pragma once

#include "platform/sound.h"

#include <memory>
#include <string>

class QLibrary;

namespace hrln::platform::qt {

class MediaPlayback;

// Sound files through the media module (media_playback.h), loaded at the
// first file played, each playing alongside the others; the desktop's theme
// sounds through libcanberra where the program was built with it; the beep
// through the display, also for a file when the module cannot be loaded.
// Needs a QApplication.
class QtSound : public Sound {
public:
    // `mediaModule`: the media module's path.
    explicit QtSound(std::string mediaModule);
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
    // The module's playback, loaded the first time; null when it cannot be.
    MediaPlayback* media();

    std::string mediaModule_;
    bool mediaTried_ = false;
    std::unique_ptr<QLibrary> library_;  // never unloaded: the media libraries do not expect it
    std::unique_ptr<MediaPlayback> media_;
    void* theme_ = nullptr;  // the libcanberra context, when there is one
};

}  // namespace hrln::platform::qt
