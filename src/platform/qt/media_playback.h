#pragma once

#include <QString>

namespace hrln::platform::qt {

// Sound files through Qt Multimedia, in a module of its own (kMediaModule)
// that QtSound loads when it plays its first file: the resident program
// starts without the media libraries, the audio server's client and the
// network library they bring.
class MediaPlayback {
public:
    virtual ~MediaPlayback() = default;
    // Starts playing a readable file, given with its whole path; returns at once.
    virtual void play(const QString& file) = 0;
    // Sounds loading or playing now, and those whose file is still being read.
    virtual int active() const = 0;
    virtual int loading() const = 0;
};

inline constexpr const char* kMediaModule = "libhrln-media.so";
// The module's one entry point: a new MediaPlayback for the caller to own.
inline constexpr const char* kMakeMediaPlayback = "hrln_make_media_playback";
using MakeMediaPlaybackFn = MediaPlayback* (*)();

}  // namespace hrln::platform::qt
