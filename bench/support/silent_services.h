#pragma once

// The user and the desktop as the window benchmarks need them: every question
// answered with its default, no sound, and a clock standing at 9:00 on the
// benchmarks' day.
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/sound.h"
#include "support/bench_schedule.h"

namespace hrln::bench {

class SilentPrompter : public platform::Prompter {
public:
    platform::MessageButton ask(const platform::MessageBox& box) override { return box.defaultButton; }
    void endProgram(const std::string&) override {}
};

class SilentSound : public platform::Sound {
public:
    void beep() override {}
    void play(const std::string&) override {}
    void playEvent(const std::string&) override {}
};

class StillClock : public platform::Clock {
public:
    platform::DateTime now() const override { return {BenchToday(), MakeTime(9, 0)}; }
};

}  // namespace hrln::bench
