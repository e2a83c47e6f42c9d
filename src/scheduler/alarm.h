#pragma once

#include "platform/sound.h"

#include <string_view>

namespace hrln::scheduler {

// Sounds a task's alarm: "BEEP" in any case is the standard beep, anything
// else a sound file played without waiting; a blank name sounds nothing.
void SoundAlarm(platform::Sound& sound, std::string_view alarmFile);

}  // namespace hrln::scheduler
