#pragma once

#include "platform/sound.h"

#include <string_view>

namespace hrln::scheduler {

// The desktop's own sound for an alarm whose task names no file.
inline constexpr const char* kAlarmSoundEvent = "alarm-clock-elapsed";

// Sounds a task's alarm: "BEEP" in any case is the standard beep, anything
// else a sound file played without waiting; a blank name, the desktop's
// alarm sound, so an alarm ticked without a file is still heard.
void SoundAlarm(platform::Sound& sound, std::string_view alarmFile);

}  // namespace hrln::scheduler
