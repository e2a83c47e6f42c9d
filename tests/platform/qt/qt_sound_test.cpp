#include "platform/qt/qt_sound.h"
#include "e2e/qt_desktop.h"
#include "support/temp_dir.h"

#include <QCoreApplication>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace hrln::test {
namespace {

// A tenth of a second of silence, 8 kHz, 8-bit mono.
std::string SilentWav()
{
    const std::uint32_t samples = 800;
    std::string wav;
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const auto put16 = [&](std::uint16_t v) {
        wav += static_cast<char>(v & 0xFF);
        wav += static_cast<char>(v >> 8);
    };
    wav += "RIFF";
    put32(36 + samples);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);      // PCM
    put16(1);      // mono
    put32(8000);   // sample rate
    put32(8000);   // bytes per second
    put16(1);      // block align
    put16(8);      // bits per sample
    wav += "data";
    put32(samples);
    wav.append(samples, static_cast<char>(0x80));
    return wav;
}

TEST(QtSoundTest, FilesThatCannotBePlayedAreIgnoredAndPlayableOnesStart)
{
    HRLN_NEEDS_QT_DESKTOP();
    TempDir dir;
    platform::qt::QtSound sound(HRLN_MEDIA_MODULE);
    sound.play(dir.file("missing.wav"));
    EXPECT_EQ(sound.activeSounds(), 0);

    WriteFile(dir.file("broken.wav"), "RIFF nonsense, not a sound");
    sound.play(dir.file("broken.wav"));
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return sound.activeSounds() == 0;
    }));

    WriteFile(dir.file("silence.wav"), SilentWav());
    sound.play(dir.file("silence.wav"));
    EXPECT_EQ(sound.activeSounds(), 1);  // playing goes on after the call returns
    // Its file read before the test ends: the toolkit's sample cache reads on
    // a thread of its own, and a sound destroyed mid-read leaves the cache's
    // request behind at exit.
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return sound.loadingSounds() == 0;
    }));
}

// A compressed file goes to a player of its own, which goes away when the
// file turns out unplayable; the theme's alarm sounds, or beeps, without a
// sound server and without waiting.
TEST(QtSoundTest, CompressedFilesAndTheThemesAlarmNeedNoSoundServer)
{
    HRLN_NEEDS_QT_DESKTOP();
    TempDir dir;
    platform::qt::QtSound sound(HRLN_MEDIA_MODULE);
    WriteFile(dir.file("broken.ogg"), "OggS but not really a sound");
    sound.play(dir.file("broken.ogg"));
    EXPECT_EQ(sound.activeSounds(), 1);
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return sound.activeSounds() == 0;
    })) << "the player of an unplayable file stayed";

    sound.playEvent("alarm-clock-elapsed");
    sound.playEvent("no-such-sound-in-any-theme");
    EXPECT_EQ(sound.activeSounds(), 0) << "theme sounds are the desktop's, not players of ours";
}

// The media module is loaded at the first file played, not before; without
// it a file's alarm is still heard, as the beep.
TEST(QtSoundTest, TheMediaModuleComesWithTheFirstFileAndItsLackIsNoFailure)
{
    HRLN_NEEDS_QT_DESKTOP();
    TempDir dir;
    WriteFile(dir.file("silence.wav"), SilentWav());
    const auto loaded = [] {
        std::ifstream maps("/proc/self/maps");
        const std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
        return text.find("libhrln-media.so") != std::string::npos;
    };
    {
        platform::qt::QtSound missing(dir.file("no-such-module.so"));
        missing.play(dir.file("silence.wav"));
        EXPECT_EQ(missing.activeSounds(), 0);
    }
    // Other tests of this program may have loaded it already; then only the play is checked.
    const bool before = loaded();
    platform::qt::QtSound sound(HRLN_MEDIA_MODULE);
    sound.playEvent("alarm-clock-elapsed");
    EXPECT_EQ(loaded(), before) << "a theme sound needs no media module";
    sound.play(dir.file("silence.wav"));
    EXPECT_TRUE(loaded());
    EXPECT_EQ(sound.activeSounds(), 1);
    EXPECT_TRUE(WaitUntil([&] {
        QCoreApplication::processEvents();
        return sound.loadingSounds() == 0;
    }));
}

}  // namespace
}  // namespace hrln::test
